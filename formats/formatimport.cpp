#include "formats/formatimport.h"

#include "platform/commondialogs.h"
#include "formats/formatstore.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <cstdint>

namespace pv {

namespace {

// The columns of label01 in record order.
const char* const kOldColumns[] = {"Category",    "printer",    "Label",      "Code",       "Description", "Witdh",
                                   "Height",      "nOri",       "nVer",       "TopMargin",  "bottommarg",  "LeftMargin",
                                   "rightmargin", "vertipitch", "horizpitch", "sheetwidth", "sheetdepth",  "Type"};

int ColumnIndex(const SourceTable& table, const QString& name) {
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (table.columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  }
  return -1;
}

bool IsUserType(const QVariant& v) {
  if (v.isNull()) return false;
  bool ok = false;
  const double d = v.toDouble(&ok);
  return ok && d == 0;
}

}  // namespace

bool ImportOldFormats(const SourceReaderOpener& open) {
  QString fileName = QStringLiteral("labeldata.mdb");
  if (ShowOpenDialog(QStringLiteral("mdb"), QStringLiteral("*.mdb|*.mdb"), fileName, LoadResString(31000)) < 0 ||
      fileName.isEmpty()) {
    return false;
  }

  // Open the archive and pick its user formats.
  SourceTable table;
  std::vector<const std::vector<QVariant>*> rows;
  int typeColumn = -1;
  try {
    std::unique_ptr<SourceReader> reader = open(SourceLocation{SourceKind::Access, fileName, {}, {}});
    table = reader->ReadTable(QStringLiteral("label01"));
    typeColumn = ColumnIndex(table, QStringLiteral("Type"));
    if (typeColumn < 0) throw DbError(DbErrItemNotFound, QStringLiteral("Type"));
  } catch (const DbError&) {
    MsgBoxRes(31030, MsgIcon::Information);
    return false;
  }
  for (const std::vector<QVariant>& row : table.rows) {
    if (IsUserType(row[static_cast<size_t>(typeColumn)])) rows.push_back(&row);
  }
  if (rows.empty()) {
    MsgBoxRes(31031, MsgIcon::Information);
    return false;
  }

  std::int32_t count = 0;
  try {
    std::vector<int> columns;
    for (const char* name : kOldColumns) {
      const int c = ColumnIndex(table, QString::fromLatin1(name));
      if (c < 0) throw DbError(DbErrItemNotFound, QString::fromLatin1(name));
      columns.push_back(c);
    }
    std::vector<std::vector<QVariant>> copies;
    copies.reserve(rows.size());
    for (const std::vector<QVariant>* row : rows) {
      std::vector<QVariant>& values = copies.emplace_back();
      for (int c : columns) values.push_back((*row)[static_cast<size_t>(c)]);
    }
    AddFormatRows(copies, count);
  } catch (const DbError&) {
    MsgBoxRes(31032, MsgIcon::Information);
    return true;
  }
  MsgBox(LoadResString(31029) + QStringLiteral(" ") + QString::number(count), MsgIcon::Information);
  return true;
}

}  // namespace pv
