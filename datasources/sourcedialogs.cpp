#include "datasources/sourcedialogs.h"

namespace pv {

QString SourceDialogs::ShowSortDialog(const QStringList& fields, const QString& sort) {
  (void)fields;
  (void)sort;
  return {};
}

FilterDialogAnswer SourceDialogs::ShowFilterDialog(const QStringList& fields, const QString& filter,
                                                   SourceRecordset* recordset) {
  (void)fields;
  (void)filter;
  (void)recordset;
  return {};
}

PV_DEFINE_HOST_SLOT(SourceDialogs, Wired)
PV_DEFINE_HOST_ACCESSORS(SourceDialogs, SourceDialogSet, SetSourceDialogs)

}  // namespace pv
