#include "formats/formatstore.h"

#include "core/database.h"
#include "platform/db/dberror.h"
#include "platform/runtime.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cmath>

namespace pv {

namespace {

// The columns of a format in record order (Width included), and the same
// list as SQL.
const char* const kColumns =
    "Category, printer, Label, Code, Description, Width, Height, nOri, nVer, TopMargin, bottommarg, "
    "LeftMargin, rightmargin, vertipitch, horizpitch, sheetwidth, sheetdepth, Type";
constexpr int kColumnCount = 18;
// The row of a code: trimmed on both sides, in any letter case.
const char* const kCodeMatch = "trim(Code) = trim(?) COLLATE NOCASE";

QSqlDatabase Db() {
  if (!cnDatabase.IsOpen()) throw DbError(DbErrClosed, QStringLiteral("Il database non è aperto."));
  return QSqlDatabase::database(cnDatabase.ConnectionName, false);
}

QSqlQuery Run(const QString& sql, const std::vector<QVariant>& values) {
  return RunProgramQuery(sql, QVariantList(values.begin(), values.end()));
}

// Lets the shared recordset's other readers see a change.
void Reread() {
  if (rsFormat.IsOpen()) rsFormat.Requery();
}

QString TextOf(const QVariant& v) { return v.isNull() ? QString() : FormatText(v.toString()); }
double NumberOf(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }
std::int16_t IntegerOf(const QVariant& v) { return v.isNull() ? std::int16_t{0} : CInt(Val(v.toString())); }

PrintFormat ReadRow(const QSqlQuery& q) {
  PrintFormat f;
  f.Category = TextOf(q.value(0));
  f.printer = TextOf(q.value(1));
  f.Label = IntegerOf(q.value(2));
  f.Code = TextOf(q.value(3));
  f.Description = TextOf(q.value(4));
  double* numbers[12] = {&f.Width,      &f.Height,      &f.nOri,       &f.nVer,       &f.TopMargin,  &f.bottommarg,
                         &f.LeftMargin, &f.rightmargin, &f.vertipitch, &f.horizpitch, &f.sheetwidth, &f.sheetdepth};
  for (int i = 0; i < 12; ++i) *numbers[i] = NumberOf(q.value(5 + i));
  f.Type = IntegerOf(q.value(17));
  return f;
}

std::vector<PrintFormat> Select(const QString& where, const std::vector<QVariant>& values) {
  QSqlQuery q = Run(
      QStringLiteral("SELECT %1 FROM rst_format %2 ORDER BY rowid").arg(QString::fromLatin1(kColumns), where), values);
  std::vector<PrintFormat> out;
  while (q.next()) out.push_back(ReadRow(q));
  return out;
}

// The rowid of the first row of that code, if any.
std::optional<qint64> RowOf(const QString& code) {
  QSqlQuery q = Run(QStringLiteral("SELECT rowid FROM rst_format WHERE %1 ORDER BY rowid LIMIT 1")
                        .arg(QString::fromLatin1(kCodeMatch)),
                    {Trim(code)});
  if (!q.next()) return std::nullopt;
  return q.value(0).toLongLong();
}

QString Stored(const QString& text) { return FormatText(Trim(text)); }

// The record's values in column order, as they are written.
std::vector<QVariant> WrittenValues(const PrintFormat& f) {
  return {Stored(f.Category),
          Stored(f.printer),
          QString::number(f.Label),
          Stored(f.Code),
          Stored(f.Description),
          f.Width,
          f.Height,
          f.nOri,
          f.nVer,
          f.TopMargin,
          f.bottommarg,
          f.LeftMargin,
          f.rightmargin,
          f.vertipitch,
          f.horizpitch,
          f.sheetwidth,
          f.sheetdepth,
          static_cast<int>(f.Type)};
}

QString Placeholders() {
  QStringList marks;
  for (int i = 0; i < kColumnCount; ++i) marks << QStringLiteral("?");
  return marks.join(QStringLiteral(", "));
}

}  // namespace

std::vector<PrintFormat> AllFormats() { return Select({}, {}); }

std::optional<PrintFormat> FindFormat(const QString& code) {
  std::vector<PrintFormat> found =
      Select(QStringLiteral("WHERE %1").arg(QString::fromLatin1(kCodeMatch)), {Trim(code)});
  if (found.empty()) return std::nullopt;
  return found.front();
}

bool SameLabelSize(double width, double height, double otherWidth, double otherHeight) {
  // Strictly less than 0.2 mm; the margin keeps a difference of exactly
  // 0.2 mm out whatever the binary rounding of the two sizes.
  constexpr double kTolerance = 0.2 - 1e-9;
  return std::fabs(width - otherWidth) < kTolerance && std::fabs(height - otherHeight) < kTolerance;
}

std::vector<PrintFormat> FormatsOfSize(double width, double height) {
  std::vector<PrintFormat> out;
  for (PrintFormat& f : AllFormats()) {
    if (SameLabelSize(width, height, f.Width, f.Height)) out.push_back(std::move(f));
  }
  return out;
}

void StoreFormat(const PrintFormat& format) {
  const std::vector<QVariant> values = WrittenValues(format);
  if (const std::optional<qint64> row = RowOf(format.Code)) {
    std::vector<QVariant> bound = values;
    bound.push_back(*row);
    QStringList sets;
    for (const QString& column : QString::fromLatin1(kColumns).split(QStringLiteral(", ")))
      sets << column + QStringLiteral(" = ?");
    Run(QStringLiteral("UPDATE rst_format SET %1 WHERE rowid = ?").arg(sets.join(QStringLiteral(", "))), bound);
  } else {
    Run(QStringLiteral("INSERT INTO rst_format (%1) VALUES (%2)").arg(QString::fromLatin1(kColumns), Placeholders()),
        values);
  }
  Reread();
}

bool DeleteFormat(const QString& code) {
  const std::optional<qint64> row = RowOf(code);
  if (!row) return false;
  Run(QStringLiteral("DELETE FROM rst_format WHERE rowid = ?"), {*row});
  Reread();
  return true;
}

bool FormatLastUsed(const QString& code) {
  QSqlQuery q = Run(QStringLiteral("SELECT LastUsed FROM rst_format WHERE %1 ORDER BY rowid LIMIT 1")
                        .arg(QString::fromLatin1(kCodeMatch)),
                    {Trim(code)});
  return q.next() && q.value(0).toInt() != 0;
}

void SetFormatLastUsed(const QString& code, bool used) {
  const std::optional<qint64> row = RowOf(code);
  if (!row) return;
  Run(QStringLiteral("UPDATE rst_format SET LastUsed = ? WHERE rowid = ?"), {used ? 1 : 0, *row});
  Reread();
}

void ClearLastUsedOfSize(double width, double height) {
  QSqlDatabase db = Db();
  QSqlQuery q = Run(QStringLiteral("SELECT rowid, Width, Height FROM rst_format WHERE LastUsed <> 0"), {});
  std::vector<qint64> rows;
  while (q.next()) {
    if (SameLabelSize(width, height, NumberOf(q.value(1)), NumberOf(q.value(2))))
      rows.push_back(q.value(0).toLongLong());
  }
  if (rows.empty()) return;
  if (!db.transaction()) throw DbError(DbErrProvider, db.lastError().text());
  try {
    for (qint64 row : rows) Run(QStringLiteral("UPDATE rst_format SET LastUsed = 0 WHERE rowid = ?"), {row});
  } catch (...) {
    db.rollback();
    throw;
  }
  if (!db.commit()) {
    const QString error = db.lastError().text();
    db.rollback();
    throw DbError(DbErrProvider, error);
  }
  Reread();
}

void AddFormatRows(const std::vector<std::vector<QVariant>>& rows, std::int32_t& added) {
  added = 0;
  QSqlDatabase db = Db();
  if (!db.transaction()) throw DbError(DbErrProvider, db.lastError().text());
  std::optional<DbError> refused;
  try {
    const QString insert =
        QStringLiteral("INSERT INTO rst_format (%1) VALUES (%2)").arg(QString::fromLatin1(kColumns), Placeholders());
    for (const std::vector<QVariant>& values : rows) {
      if (values.size() != kColumnCount) throw DbError(DbErrArguments, QStringLiteral("Numero di valori errato."));
      Run(insert, values);
      ++added;
    }
  } catch (const DbError& e) {
    refused = e;  // the refused row was not added; the ones before it stay
  }
  if (!db.commit()) {
    const QString error = db.lastError().text();
    db.rollback();
    added = 0;
    Reread();
    throw DbError(DbErrProvider, error);
  }
  Reread();
  if (refused) throw *refused;
}

}  // namespace pv
