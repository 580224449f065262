#pragma once
// The eight columns in which the archive view and the chooser list formats:
// code (with the type's icon), category, height, width, labels across x
// down, sheet, printer, type name. A row carries its trimmed code.

#include "formats/printformat.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace pv {

void SetupFormatColumns(QTreeWidget* list);
QTreeWidgetItem* MakeFormatItem(const PrintFormat& format);
// The trimmed code a row stands for.
QString FormatItemCode(const QTreeWidgetItem* item);

}  // namespace pv
