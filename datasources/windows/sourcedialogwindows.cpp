#include "datasources/windows/sourcedialogwindows.h"

#include "datasources/windows/dlgfilter.h"
#include "datasources/windows/dlgsort.h"

#include <QApplication>

namespace pv {

QString SourceDialogWindows::ShowSortDialog(const QStringList& fields, const QString& sort) {
  dlgSort dialog(QApplication::activeWindow());
  for (const QString& f : fields) dialog.OLEDBFilter1()->AddField(f);
  if (!sort.isEmpty()) dialog.SetSortString(sort);
  dialog.exec();
  return dialog.sSort;
}

FilterDialogAnswer SourceDialogWindows::ShowFilterDialog(const QStringList& fields, const QString& filter,
                                                         SourceRecordset* recordset) {
  dlgFilter dialog(QApplication::activeWindow());
  dialog.SetExpression(filter);
  for (const QString& f : fields) dialog.AddField(f);
  dialog.SetRecordset(recordset);
  dialog.exec();
  return {dialog.Model().RetCode, dialog.Model().sFilter};
}

}  // namespace pv
