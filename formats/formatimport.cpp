#include "formats/formatimport.h"

#include "formats/formatstore.h"
#include "formats/validation.h"
#include "platform/commondialogs.h"
#include "platform/decimalreader.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace pv {

namespace {

// The columns of label01 in record order.
const char* const kOldColumns[] = {"Category",    "printer",    "Label",      "Code",       "Description", "Witdh",
                                   "Height",      "nOri",       "nVer",       "TopMargin",  "bottommarg",  "LeftMargin",
                                   "rightmargin", "vertipitch", "horizpitch", "sheetwidth", "sheetdepth",  "Type"};
constexpr size_t kOldColumnCount = std::size(kOldColumns);
// Where the fields of a row lie in that order.
constexpr size_t kLabelColumn = 2;
constexpr size_t kCodeColumn = 3;
constexpr size_t kFirstNumberColumn = 5;
constexpr size_t kTypeColumn = 17;
constexpr size_t kTextColumns[] = {0, 1, 3, 4};
// The twelve numbers in record order (label01's and rst_format's alike).
constexpr double PrintFormat::*kRecordNumbers[] = {
    &PrintFormat::Width,      &PrintFormat::Height,     &PrintFormat::nOri,       &PrintFormat::nVer,
    &PrintFormat::TopMargin,  &PrintFormat::bottommarg, &PrintFormat::LeftMargin, &PrintFormat::rightmargin,
    &PrintFormat::vertipitch, &PrintFormat::horizpitch, &PrintFormat::sheetwidth, &PrintFormat::sheetdepth};

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

// A value of a number column: a number as it is, a text read as the edit
// dialog reads what is typed; anything else (Null, a date, a logical) is no
// number, given as NaN.
double NumberOf(const QVariant& v) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  if (v.isNull()) return kNone;
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return v.toDouble();
    case QMetaType::QString: return ReadDecimal(v.toString()).value_or(kNone);
    default: return kNone;
  }
}

// Label is carried along uninterpreted, but it is a 16-bit whole number or
// Null; anything else marks a damaged row.
std::optional<QVariant> LabelOf(const QVariant& v) {
  if (v.isNull()) return QVariant();
  const double d = NumberOf(v);
  if (!(d >= std::numeric_limits<std::int16_t>::min() && d <= std::numeric_limits<std::int16_t>::max()) ||
      d != std::trunc(d)) {
    return std::nullopt;
  }
  return QVariant(static_cast<int>(d));
}

// The values of one user row of label01 (record order) as they are stored,
// or nothing when the edit dialog would refuse the format: a blank code, or
// numbers that fail its checks (not numbers, out of range, no label size,
// labels that do not fit the sheet). Texts come as they are, Null included,
// but cut to the 50 characters a format's text holds; the old archive may
// leave the other texts empty.
std::optional<std::vector<QVariant>> CheckedRow(const std::vector<QVariant>& values) {
  if (Trim(values[kCodeColumn].toString()).isEmpty()) return std::nullopt;
  PrintFormat f;
  for (size_t i = 0; i < std::size(kRecordNumbers); ++i)
    f.*kRecordNumbers[i] = NumberOf(values[kFirstNumberColumn + i]);
  if (!CheckFormatNumbers(f).ok()) return std::nullopt;
  const std::optional<QVariant> label = LabelOf(values[kLabelColumn]);
  if (!label) return std::nullopt;

  std::vector<QVariant> row = values;
  for (size_t c : kTextColumns) {
    if (!row[c].isNull()) row[c] = FormatText(row[c].toString());
  }
  row[kLabelColumn] = *label;
  for (size_t i = 0; i < std::size(kRecordNumbers); ++i) row[kFirstNumberColumn + i] = f.*kRecordNumbers[i];
  row[kTypeColumn] = static_cast<int>(kFormatUser);
  return row;
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

  // A row the edit dialog would refuse is left out; the others are copied.
  std::int32_t count = 0;
  std::int32_t refused = 0;
  try {
    std::vector<int> columns;
    for (const char* name : kOldColumns) {
      const int c = ColumnIndex(table, QString::fromLatin1(name));
      if (c < 0) throw DbError(DbErrItemNotFound, QString::fromLatin1(name));
      columns.push_back(c);
    }
    std::vector<std::vector<QVariant>> copies;
    copies.reserve(rows.size());
    std::vector<QVariant> values;
    values.reserve(kOldColumnCount);
    for (const std::vector<QVariant>* row : rows) {
      values.clear();
      for (int c : columns) values.push_back((*row)[static_cast<size_t>(c)]);
      if (std::optional<std::vector<QVariant>> checked = CheckedRow(values)) {
        copies.push_back(std::move(*checked));
      } else {
        ++refused;
      }
    }
    AddFormatRows(copies, count);
  } catch (const DbError&) {
    MsgBoxRes(31032, MsgIcon::Information);
    return true;
  }
  QString message = LoadResString(31029) + QStringLiteral(" ") + QString::number(count);
  if (refused > 0) message += QStringLiteral("\nFormati non validi, non importati: %1").arg(refused);
  MsgBox(message, MsgIcon::Information);
  return count > 0;
}

}  // namespace pv
