#pragma once
// The sort and filter dialogs as other windows reach them: the print panel
// sorts and filters its merge source through these calls. The default
// answers each dialog with a cancel; the composition root installs the real
// windows.

#include "platform/hostslot.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace pv {

class SourceRecordset;

// dlgFilter's public values after it closed; RetCode 0 is a cancel.
struct FilterDialogAnswer {
  std::int16_t RetCode = 0;
  QString sFilter;
};

class SourceDialogs {
 public:
  virtual ~SourceDialogs() = default;
  // dlgSort over the fields (in field order) starting from `sort` ("" for
  // none); its sSort: the new sort string, "" when cancelled.
  virtual QString ShowSortDialog(const QStringList& fields, const QString& sort);
  // dlgFilter over the fields with `filter` in its expression box; a syntax
  // check tries expressions on `recordset`, which it leaves filtered as it
  // found it when the dialog is cancelled.
  virtual FilterDialogAnswer ShowFilterDialog(const QStringList& fields, const QString& filter,
                                              SourceRecordset* recordset);
};

PV_DECLARE_HOST_SLOT(SourceDialogs)
SourceDialogs& SourceDialogSet();
// Takes no ownership; returns the previous instance; nullptr = the default.
SourceDialogs* SetSourceDialogs(SourceDialogs* dialogs);

}  // namespace pv
