#include "formats/windows/dlgselformat.h"

#include "core/database.h"
#include "document/model.h"
#include "formats/formatstore.h"
#include "formats/windows/formatlist.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pv {

DlgSelFormat::DlgSelFormat(QWidget* parent) : QDialog(parent) {
  setWindowTitle(LoadResString(24000));
  setModal(true);
  m_list = new QTreeWidget(this);
  m_list->setObjectName(QStringLiteral("ListView1"));
  SetupFormatColumns(m_list);
  m_list->setSortingEnabled(true);
  m_list->sortByColumn(0, Qt::AscendingOrder);
  connect(m_list, &QTreeWidget::itemClicked, this, &DlgSelFormat::OnItemClicked);

  m_ok = new QPushButton(LoadResString(24001), this);
  m_ok->setObjectName(QStringLiteral("OKButton"));
  m_ok->setDefault(true);
  m_cancel = new QPushButton(LoadResString(24002), this);
  m_cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(m_ok, &QPushButton::clicked, this, [this] {
    m_retCode = true;
    accept();
  });
  connect(m_cancel, &QPushButton::clicked, this, [this] {
    m_retCode = false;
    reject();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_list);
  layout->addLayout(buttons);
  resize(900, 360);

  RefreshData();
}

void DlgSelFormat::RefreshData() {
  m_list->clear();
  try {
    for (const PrintFormat& f : FormatsOfSize(Header.LabelWidth, Header.LabelHeight)) {
      m_list->addTopLevelItem(MakeFormatItem(f));
    }
    FitFormatColumns(m_list);
    ClearLastUsedOfSize(Header.LabelWidth, Header.LabelHeight);
  } catch (const DbError& e) {
    MsgBox(DataAccessErrorText(e));
  }
}

void DlgSelFormat::OnItemClicked(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  m_formatCode = FormatItemCode(item);
  try {
    SetFormatLastUsed(m_formatCode, true);
  } catch (const DbError& e) {
    MsgBox(DataAccessErrorText(e));
  }
}

}  // namespace pv
