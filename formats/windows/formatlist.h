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
// Widens the columns to the rows they hold, never below their first width:
// a code is always shown whole, a long category or printer up to a limit
// (the rest is in its tooltip).
void FitFormatColumns(QTreeWidget* list);
// The trimmed code a row stands for.
QString FormatItemCode(const QTreeWidgetItem* item);

}  // namespace pv
