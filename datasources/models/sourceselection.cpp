#include "datasources/models/sourceselection.h"

#include "datasources/connectionstring.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

namespace pv {

namespace {

bool IsDBase(int code) { return code >= 1 && code <= 3; }
bool IsParadox(int code) { return code >= 4 && code <= 6; }
bool ListsTables(int code) { return code == 0 || (code >= 7 && code <= 11); }

// The open dialog's filter for a type; empty for 7 and 8 (the previous one
// stays).
QString BrowseFilterOf(int code) {
  switch (code) {
    case 0: return QStringLiteral("Database Access (*.mdb)|*.mdb");
    case 1: return QStringLiteral("dBase III (*.dbf)|*.dbf");
    case 2: return QStringLiteral("dBase IV (*.dbf)|*.dbf");
    case 3: return QStringLiteral("dBase 5.0 (*.dbf)|*.dbf");
    case 4: return QStringLiteral("Paradox 3.0 (*.dbf)|*.db");
    case 5: return QStringLiteral("Paradox 4.0 (*.dbf)|*.db");
    case 6: return QStringLiteral("Paradox 5.0 (*.dbf)|*.db");
    case 9: return QStringLiteral("Excel 5.0/95 (*.xls)|*.xls");
    case 10: return QStringLiteral("Excel 97 (*.xls)|*.xls");
    case 11: return QStringLiteral("Excel 2000 (*.xls)|*.xls");
    case kSourceOdbc: return LoadResString(31014);
    default: return QString();
  }
}

}  // namespace

const std::vector<OLEDBSourceSelectionModel::TypeEntry>& OLEDBSourceSelectionModel::Types() {
  static const std::vector<TypeEntry> types{
      {QStringLiteral("Database Access (*.mdb)"), 0}, {QStringLiteral("dBase III (*.dbf)"), 1},
      {QStringLiteral("dBase IV (*.dbf)"), 2},        {QStringLiteral("dBase 5.0 (*.dbf)"), 3},
      {QStringLiteral("Paradox 3.0 (*.dbf)"), 4},     {QStringLiteral("Paradox 4.0 (*.dbf)"), 5},
      {QStringLiteral("Paradox 5.0 (*.dbf)"), 6},     {QStringLiteral("Excel 5.0/95 (*.xls)"), 9},
      {QStringLiteral("Excel 97 (*.xls)"), 10},       {QStringLiteral("Excel 2000 (*.xls)"), 11},
      {QStringLiteral("Origine ODBC"), kSourceOdbc}};
  return types;
}

OLEDBSourceSelectionModel::OLEDBSourceSelectionModel(ReaderFactory factory) : m_factory(std::move(factory)) {
  if (!m_factory) m_factory = [](const SourceLocation& l) { return OpenSourceReader(l); };
  ResetInputData();
  user.clear();
  password.clear();
  SelectType(0);
}

int OLEDBSourceSelectionModel::GetDataBaseType() const {
  if (typeIndex < 0 || typeIndex >= static_cast<int>(Types().size())) return 0;
  return Types()[static_cast<size_t>(typeIndex)].code;
}

void OLEDBSourceSelectionModel::ResetInputData() {
  fileText.clear();
  queryText.clear();
  tableOption.enabled = false;
  queryOption.enabled = false;
  tableListEnabled = false;
  queryEnabled = false;
  ChooseOption(1);
}

void OLEDBSourceSelectionModel::SelectType(int index) {
  typeIndex = index;
  ResetInputData();
  TypeReaction();
}

void OLEDBSourceSelectionModel::ClickTableList() { TypeReaction(); }

void OLEDBSourceSelectionModel::TypeReaction() {
  fileEnabled = true;
  if (GetDataBaseType() == kSourceOdbc) {
    fileLocked = false;
    tableOption.checked = false;
    ChooseOption(1);
    queryEnabled = true;
  } else {
    fileLocked = true;
  }
}

void OLEDBSourceSelectionModel::ChooseOption(int index) {
  tableOption.checked = index == 0;
  queryOption.checked = index != 0;
  tableListVisible = index == 0;
  queryVisible = index != 0;
  if (index == 0) LoadAccessTable();
}

void OLEDBSourceSelectionModel::LoadTabledata(bool bMode) {
  const int code = GetDataBaseType();
  const QString filter = BrowseFilterOf(code);
  if (!filter.isEmpty()) browseFilter = filter;
  if (bMode) {
    ShowOpenDialog(QString(), browseFilter, dialogFileName, QString(), FileKind::DataFiles);
    fileText = dialogFileName;
    SplitFileName();
  }
  if (ListsTables(code)) {
    LoadAccessTable();
    tableOption.enabled = true;
    queryOption.enabled = true;
    tableListEnabled = true;
    queryEnabled = true;
  } else {
    tableOption.enabled = false;
    tableListEnabled = false;
    queryOption.enabled = true;
    queryEnabled = true;
  }
  tableOption.checked = false;
  ChooseOption(1);
}

void OLEDBSourceSelectionModel::LoadAccessTable() {
  if (fileText.isEmpty()) {
    MsgBoxRes(31016, MsgIcon::Information);
    return;
  }
  const int code = GetDataBaseType();
  if (!ListsTables(code)) return;
  tables.clear();
  tableIndex = -1;
  try {
    SourceLocation where;
    where.kind = code == kSourceAccess ? SourceKind::Access : SourceKind::Excel;
    where.path = fileText;
    const std::unique_ptr<SourceReader> reader = m_factory(where);
    tables = reader->Tables();
  } catch (const DbError&) {
    MsgBoxRes(31016, MsgIcon::Information);
  }
}

QString OLEDBSourceSelectionModel::SetDataBase(const QString& sDatabase) {
  fileText = sDatabase;
  return QString();
}

QString OLEDBSourceSelectionModel::GetRecordset() const {
  if (tableOption.checked) return tableIndex >= 0 && tableIndex < tables.size() ? tables[tableIndex] : QString();
  if (queryOption.checked) return queryText;
  return QString();
}

int OLEDBSourceSelectionModel::GetRecordsetType() const { return queryOption.checked && !tableOption.checked ? 1 : 0; }

QString OLEDBSourceSelectionModel::GetConnectionString() const {
  return BuildConnectionString(GetDataBaseType(), fileText, usePassword, user, password);
}

void OLEDBSourceSelectionModel::SetValue(const QString& sDatabase, int iDataBaseFormat, const QString& sRecordset,
                                         int iRecordsetType) {
  const std::vector<TypeEntry>& types = Types();
  for (size_t i = 0; i < types.size(); ++i) {
    if (types[i].code == iDataBaseFormat) {
      SelectType(static_cast<int>(i));
      break;
    }
  }
  fileText = sDatabase;
  LoadTabledata(false);
  auto asQuery = [&] {
    ChooseOption(1);
    queryOption.enabled = true;
    queryText = sRecordset;
  };
  if (iRecordsetType != 0) {
    asQuery();
    return;
  }
  ChooseOption(0);
  tableIndex = -1;
  const qsizetype found = tables.indexOf(sRecordset);
  if (found >= 0) {
    tableIndex = static_cast<int>(found);
    tableListEnabled = true;
    tableOption.enabled = true;
    return;
  }
  asQuery();
}

void OLEDBSourceSelectionModel::SplitFileName() {
  const int code = GetDataBaseType();
  if (!IsDBase(code) && !IsParadox(code)) return;
  const qsizetype slash = fileText.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return;
  const QString name = fileText.mid(slash + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  queryText = dot > 0 ? name.left(dot) : name;
  fileText = fileText.left(slash);
}

}  // namespace pv
