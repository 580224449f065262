#include "formats/windows/formatlist.h"

#include "formats/numbertext.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QHeaderView>
#include <QIcon>
#include <QTreeWidget>

#include <algorithm>

namespace pv {

namespace {

constexpr int kColumnWidths[8] = {100, 150, 80, 80, 80, 120, 100, 100};
// The widest a column of free text grows; its cells carry their text as a
// tooltip. Codes are never cut.
constexpr int kMostTextWidth = 320;
constexpr int kCodeColumn = 0;
constexpr int kTextColumns[2] = {1, 6};

QString Pair(double a, double b) { return GeneralNumber(a) + QStringLiteral("x") + GeneralNumber(b); }

}  // namespace

void SetupFormatColumns(QTreeWidget* list) {
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setColumnCount(8);
  QStringList headers;
  for (int i = 0; i < 8; ++i) headers << LoadResString(15008 + i);
  list->setHeaderLabels(headers);
  for (int i = 0; i < 8; ++i) list->setColumnWidth(i, kColumnWidths[i]);
}

QTreeWidgetItem* MakeFormatItem(const PrintFormat& f) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, Trim(f.Code));
  item->setText(1, Trim(f.Category));
  item->setText(2, GeneralNumber(f.Height));
  item->setText(3, GeneralNumber(f.Width));
  item->setText(4, Pair(f.nOri, f.nVer));
  item->setText(5, Pair(f.sheetwidth, f.sheetdepth));
  item->setText(6, Trim(f.printer));
  item->setText(7, FormatTypeName(f.Type));
  if (f.Type >= kFormatUser && f.Type <= kFormatGeneric) {
    item->setIcon(0, QIcon(QStringLiteral(":/plavik/images/format_type%1.svg").arg(f.Type)));
  }
  for (int column : kTextColumns) item->setToolTip(column, item->text(column));
  item->setData(0, Qt::UserRole, Trim(f.Code));
  return item;
}

void FitFormatColumns(QTreeWidget* list) {
  const QAbstractItemView* view = list;  // where the measure is public
  for (int i = 0; i < 8; ++i) {
    int wanted = std::max({kColumnWidths[i], view->sizeHintForColumn(i), list->header()->sectionSizeHint(i)});
    if (i != kCodeColumn) wanted = std::min(wanted, std::max(kColumnWidths[i], kMostTextWidth));
    list->setColumnWidth(i, wanted);
  }
}

QString FormatItemCode(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }

}  // namespace pv
