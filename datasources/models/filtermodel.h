#pragma once
// The filter dialog dlgFilter without its widgets: the expression box with
// its caret and selection, the field list ("[" + NAME + "]"), the thirteen
// operators and their help, the stored expressions, and the syntax check
// that tries the expression on the caller's own recordset.
//
// The check leaves the recordset filtered by the expression tried; closing
// the dialog without OK puts back the filter the recordset had when it was
// given (SetRecordset). Store and delete failures are reported.

#include "datasources/models/storedfilters.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pv {

class SourceRecordset;

class dlgFilterModel {
 public:
  dlgFilterModel();

  // The expression box: text, caret and selection (selStart, selLength).
  QString text;
  int selStart = 0;
  int selLength = 0;
  void SetText(const QString& t);

  // Public values read by the caller after the dialog closed.
  QString sFilter;
  std::int16_t RetCode = 0;

  void AddField(const QString& sFieldName);
  const QStringList& Fields() const { return m_fields; }
  static QStringList Operators();
  // The explanation under the lists.
  QString help;
  // Every text `help` can hold: before a click, then each operator's.
  static QStringList Helps();
  void ClickOperator(int index);
  // Double-click on a field or an operator: its text and a blank replace the
  // selection (at the caret when nothing is selected); the caret follows.
  void InsertEntry(const QString& entry);
  void Clear() { SetText(QString()); }

  void SetRecordset(SourceRecordset* recordset);
  // Tries the expression on the recordset; bMode reports a success too.
  bool CheckSintax(bool bMode);

  // The stored expressions; a failure to read them is reported.
  void LoadSQLStrings();
  const std::vector<StoredFilter>& Stored() const { return m_stored; }
  int storedSelection = -1;
  void UseStored(int index);
  void Store();
  void DeleteSelected();

  // OK: true when the expression passed the check (the dialog closes).
  bool Ok();
  // Cancel or the close box.
  void Cancel();

 private:
  QStringList m_fields;
  std::vector<StoredFilter> m_stored;
  SourceRecordset* m_recordset = nullptr;
  QString m_originalFilter;
  bool m_tried = false;
};

}  // namespace pv
