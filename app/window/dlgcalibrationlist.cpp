#include "app/window/dlgcalibrationlist.h"

#include "core/database.h"
#include "platform/db/recordset.h"
#include "platform/stringtable.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>

namespace pv {

bool CalibrationCellValue(const QString& text, std::int16_t& value) {
  bool ok = false;
  const int n = text.trimmed().toInt(&ok);
  if (!ok || n < std::numeric_limits<std::int16_t>::min() || n > std::numeric_limits<std::int16_t>::max()) return false;
  value = static_cast<std::int16_t>(n);
  return true;
}

dlgCalibrationList::dlgCalibrationList(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgCalibrationList"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setWindowTitle(LoadResString(32000));

  m_grid = new QTableWidget(this);
  m_grid->setObjectName(QStringLiteral("DataGrid1"));
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_grid->verticalHeader()->setVisible(false);
  m_grid->horizontalHeader()->setStretchLastSection(true);

  // Every row and column of the table, in its own order.
  if (cnDatabase.IsOpen()) {
    try {
      Recordset rs;
      rs.Open(QStringLiteral("rst_calibrationlist"), cnDatabase.ConnectionName);
      m_grid->setColumnCount(rs.FieldCount());
      m_grid->setHorizontalHeaderLabels(rs.FieldNames());
      int row = 0;
      for (bool more = rs.MoveFirst(); more; more = rs.MoveNext()) {
        m_grid->insertRow(row);
        for (int c = 0; c < rs.FieldCount(); ++c) {
          m_grid->setItem(row, c, new QTableWidgetItem(rs.Value(c).isNull() ? QString() : rs.Value(c).toString()));
        }
        ++row;
      }
    } catch (const DbError&) {
      // An unreadable list shows empty.
    }
  }
  if (m_grid->rowCount() > 0) m_grid->setCurrentCell(0, 0);
  m_grid->resizeColumnsToContents();
  connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this]() { OKButton_Click(); });

  auto* ok = new QPushButton(LoadResString(32001), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(LoadResString(32002), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(ok, &QPushButton::clicked, this, [this]() { OKButton_Click(); });
  connect(cancel, &QPushButton::clicked, this, &dlgCalibrationList::CancelButton_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* v = new QVBoxLayout(this);
  v->addWidget(m_grid, 1);
  v->addLayout(buttons);
  resize(460, 320);
}

bool dlgCalibrationList::OKButton_Click() {
  const int row = m_grid->currentRow();
  const QTableWidgetItem* x = row >= 0 && m_grid->columnCount() > 2 ? m_grid->item(row, 1) : nullptr;
  const QTableWidgetItem* y = row >= 0 && m_grid->columnCount() > 2 ? m_grid->item(row, 2) : nullptr;
  std::int16_t dx = 0;
  std::int16_t dy = 0;
  if (x == nullptr || y == nullptr || !CalibrationCellValue(x->text(), dx) || !CalibrationCellValue(y->text(), dy)) {
    QApplication::beep();
    return false;
  }
  Dx = dx;
  Dy = dy;
  ReturnCode = true;
  accept();
  return true;
}

void dlgCalibrationList::CancelButton_Click() {
  ReturnCode = false;
  reject();
}

}  // namespace pv
