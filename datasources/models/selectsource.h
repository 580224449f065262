#pragma once
// The registration dialog dlgSelectSource without its widgets: the name of a
// registration and its source (the selection control), proved on OK. OK
// refuses, in this order and with no icon: an empty name (31020), an empty
// file box (31019), a source whose file, folder or data source name does not
// open (31017), and, unless the type chosen is ODBC, a table or query that
// does not open (31018). A read the user cancels refuses OK with no message.
// sLabel "" means cancelled.

#include "datasources/models/sourceselection.h"

#include <QString>

namespace pv {

class dlgSelectSourceModel {
 public:
  explicit dlgSelectSourceModel(OLEDBSourceSelectionModel::ReaderFactory factory = {});

  // Public values read and written by the caller.
  QString sLabel;
  QString sConn;
  QString sDatabase;
  int iDataBaseType = 0;
  QString sRecordset;
  int iRecordsetType = 0;

  // The name box (Text1) and the selection control.
  QString nameText;
  OLEDBSourceSelectionModel& Selection() { return m_selection; }

  // Shows the public values (a registration being edited).
  void SetValue();
  // True when the dialog closes.
  bool Ok();
  // Cancel and the close box.
  void Cancel() { sLabel.clear(); }

 private:
  OLEDBSourceSelectionModel::ReaderFactory m_factory;
  OLEDBSourceSelectionModel m_selection;
};

}  // namespace pv
