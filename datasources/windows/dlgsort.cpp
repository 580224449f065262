#include "datasources/windows/dlgsort.h"

#include "datasources/windows/okcancel.h"
#include "platform/stringtable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pv {

OLEDBFilter::OLEDBFilter(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int k = 0; k < OLEDBFilterModel::kLevels; ++k) {
    auto* caption = new QLabel(OLEDBFilterModel::Caption(k), this);
    auto* field = new QComboBox(this);
    auto* order = new QComboBox(this);
    field->setObjectName(QStringLiteral("cmbField%1").arg(k));
    order->setObjectName(QStringLiteral("cmdOrder%1").arg(k));
    field->setMinimumWidth(220);
    order->addItems(OLEDBFilterModel::Orders());
    grid->addWidget(caption, k * 2, 0, 1, 2);
    grid->addWidget(field, k * 2 + 1, 0);
    grid->addWidget(order, k * 2 + 1, 1);
    m_captions[static_cast<size_t>(k)] = caption;
    m_fields[static_cast<size_t>(k)] = field;
    m_orders[static_cast<size_t>(k)] = order;
    connect(field, &QComboBox::activated, this, [this, k](int index) {
      m_model.ClickField(k, index);
      Sync();
    });
    connect(order, &QComboBox::activated, this, [this, k](int index) {
      m_model.SelectOrder(k, index);
      Sync();
    });
  }
  Sync();
}

void OLEDBFilter::AddField(const QString& sFieldName) {
  m_model.AddField(sFieldName);
  Sync();
}

void OLEDBFilter::SetSortString(const QString& sFilter) {
  m_model.SetSortString(sFilter);
  Sync();
}

void OLEDBFilter::Sync() {
  for (int k = 0; k < OLEDBFilterModel::kLevels; ++k) {
    const OLEDBFilterModel::Level& level = m_model.level(k);
    QComboBox* field = m_fields[static_cast<size_t>(k)];
    QComboBox* order = m_orders[static_cast<size_t>(k)];
    const QSignalBlocker blockField(field);
    const QSignalBlocker blockOrder(order);
    if (field->count() != m_model.Fields().size()) {
      field->clear();
      field->addItems(m_model.Fields());
    }
    field->setCurrentIndex(level.field);
    field->setEnabled(level.fieldEnabled);
    order->setCurrentIndex(level.order);
    order->setEnabled(level.orderEnabled);
  }
}

dlgSort::dlgSort(QWidget* parent) : QDialog(parent), m_control(new OLEDBFilter(this)) {
  setWindowTitle(LoadResString(13700));
  m_control->setObjectName(QStringLiteral("OLEDBFilter1"));
  QDialogButtonBox* buttons = OkCancelButtons(this, 13701, 13702);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_control);
  layout->addWidget(buttons);
}

void dlgSort::done(int result) {
  sSort = result == QDialog::Accepted ? m_control->GetSortString() : QString();
  QDialog::done(result);
}

}  // namespace pv
