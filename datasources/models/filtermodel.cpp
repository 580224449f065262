#include "datasources/models/filtermodel.h"

#include "core/database.h"
#include "datasources/sourcerecordset.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <algorithm>

namespace pv {

namespace {

constexpr int kOperatorCount = 13;
constexpr int kFirstHelp = 13613;
constexpr int kNoOperatorHelp = 13607;

void ReportStoreFailure(const DbError& e) { MsgBox(DataAccessErrorText(e), MsgIcon::Exclamation); }

}  // namespace

dlgFilterModel::dlgFilterModel() {
  help = LoadResString(kNoOperatorHelp);
  SetText(sFilter);
  LoadSQLStrings();
}

void dlgFilterModel::SetText(const QString& t) {
  text = t;
  selStart = static_cast<int>(t.size());
  selLength = 0;
}

void dlgFilterModel::AddField(const QString& sFieldName) {
  m_fields << QLatin1Char('[') + sFieldName.toUpper() + QLatin1Char(']');
}

QStringList dlgFilterModel::Operators() {
  return {QStringLiteral("<"),  QStringLiteral("<="), QStringLiteral(">="),   QStringLiteral(">"),
          QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("LIKE"), QStringLiteral("AND"),
          QStringLiteral("OR"), QStringLiteral("()"), QStringLiteral("''"),   QStringLiteral("##"),
          QStringLiteral("*")};
}

QStringList dlgFilterModel::Helps() {
  QStringList out{LoadResString(kNoOperatorHelp)};
  for (int i = 0; i < kOperatorCount; ++i) out << LoadResString(kFirstHelp + i);
  return out;
}

void dlgFilterModel::ClickOperator(int index) {
  if (index >= 0 && index < kOperatorCount) help = LoadResString(kFirstHelp + index);
}

void dlgFilterModel::InsertEntry(const QString& entry) {
  const int start = std::clamp(selStart, 0, static_cast<int>(text.size()));
  const int length = std::clamp(selLength, 0, static_cast<int>(text.size()) - start);
  const QString inserted = entry + QLatin1Char(' ');
  text.replace(start, length, inserted);
  selStart = start + static_cast<int>(inserted.size());
  selLength = 0;
}

void dlgFilterModel::SetRecordset(SourceRecordset* recordset) {
  m_recordset = recordset;
  m_originalFilter = recordset != nullptr ? recordset->Filter() : QString();
  m_tried = false;
}

bool dlgFilterModel::CheckSintax(bool bMode) {
  try {
    if (m_recordset == nullptr) throw DbError(DbErrClosed, QString());
    m_tried = true;
    m_recordset->SetFilter(text);
    m_recordset->Requery();
  } catch (const DbError& e) {
    // A check the user cancelled says nothing of the expression.
    if (e.Number() != DbErrCancelled) MsgBox(LoadResString(13627) + text.toUpper(), MsgIcon::Exclamation);
    return false;
  }
  if (bMode) MsgBoxRes(13626, MsgIcon::Information);
  return true;
}

void dlgFilterModel::LoadSQLStrings() {
  m_stored.clear();
  storedSelection = -1;
  try {
    m_stored = LoadStoredFilters();
  } catch (const DbError& e) {
    ReportStoreFailure(e);
  }
}

void dlgFilterModel::UseStored(int index) {
  if (index < 0 || index >= static_cast<int>(m_stored.size())) return;
  SetText(m_stored[static_cast<size_t>(index)].text);
}

void dlgFilterModel::Store() {
  if (text.isEmpty()) return;
  try {
    StoreFilter(text);
  } catch (const DbError& e) {
    ReportStoreFailure(e);
  }
  LoadSQLStrings();
}

void dlgFilterModel::DeleteSelected() {
  if (storedSelection < 0 || storedSelection >= static_cast<int>(m_stored.size())) return;
  try {
    DeleteStoredFilter(m_stored[static_cast<size_t>(storedSelection)].id);
  } catch (const DbError& e) {
    ReportStoreFailure(e);
  }
  LoadSQLStrings();
}

bool dlgFilterModel::Ok() {
  if (!CheckSintax(false)) return false;
  sFilter = text;
  RetCode = -1;
  return true;
}

void dlgFilterModel::Cancel() {
  sFilter = text;
  RetCode = 0;
  if (m_recordset == nullptr || !m_tried || m_recordset->Filter() == m_originalFilter) return;
  try {
    m_recordset->SetFilter(m_originalFilter);
  } catch (const DbError&) {
    // The filter it had was in force before; it reads again unless the
    // source itself has gone, and then there is nothing left to put back.
  }
}

}  // namespace pv
