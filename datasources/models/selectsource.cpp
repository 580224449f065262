#include "datasources/models/selectsource.h"

#include "datasources/connectionstring.h"
#include "datasources/sourcerecordset.h"
#include "platform/msgbox.h"

namespace pv {

dlgSelectSourceModel::dlgSelectSourceModel(OLEDBSourceSelectionModel::ReaderFactory factory)
    : m_factory(std::move(factory)), m_selection(m_factory) {}

void dlgSelectSourceModel::SetValue() {
  nameText = sLabel;
  m_selection.SetValue(sDatabase, iDataBaseType, sRecordset, iRecordsetType);
}

bool dlgSelectSourceModel::Ok() {
  sLabel = nameText;
  if (sLabel.isEmpty()) {
    MsgBoxRes(31020);
    return false;
  }
  sDatabase = m_selection.GetDataBase();
  if (sDatabase.isEmpty()) {
    MsgBoxRes(31019);
    return false;
  }
  sConn = m_selection.GetConnectionString();
  try {
    const SourceLocation where = ParseConnectionString(sConn);
    m_factory ? m_factory(where) : OpenSourceReader(where);
  } catch (const DbError& e) {
    if (e.Number() != DbErrCancelled) MsgBoxRes(31017);
    return false;
  }
  sRecordset = m_selection.GetRecordset();
  if (m_selection.GetDataBaseType() != kSourceOdbc) {
    try {
      SourceRecordset test(m_factory);
      test.Open(sConn, sRecordset);
    } catch (const DbError& e) {
      if (e.Number() != DbErrCancelled) MsgBoxRes(31018);
      return false;
    }
  }
  iRecordsetType = m_selection.GetRecordsetType();
  iDataBaseType = m_selection.GetDataBaseType();
  return true;
}

}  // namespace pv
