#pragma once
// The sort and filter dialogs as other windows reach them (sourcedialogs.h):
// dlgSort and dlgFilter, shown modally.

#include "datasources/sourcedialogs.h"

namespace pv {

class SourceDialogWindows : public SourceDialogs {
 public:
  QString ShowSortDialog(const QStringList& fields, const QString& sort) override;
  FilterDialogAnswer ShowFilterDialog(const QStringList& fields, const QString& filter,
                                      SourceRecordset* recordset) override;
};

}  // namespace pv
