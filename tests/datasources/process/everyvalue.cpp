#include "everyvalue.h"

#include "platform/exactdecimal.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace pv::testing {

namespace {

QDateTime Utc(int y, int m, int d, int h, int min, int s, int ms) {
  return QDateTime(QDate(y, m, d), QTime(h, min, s, ms), Qt::UTC);
}

}  // namespace

SourceTable EveryValueKind() {
  SourceTable table;
  table.columns = {{QStringLiteral("Intero"), ColumnType::Integer}, {QStringLiteral("Decimale"), ColumnType::Double},
                   {QStringLiteral("Testo àé"), ColumnType::Text},  {QStringLiteral("Data"), ColumnType::Date},
                   {QStringLiteral("Ora"), ColumnType::DateTime},   {QStringLiteral("Vero"), ColumnType::Boolean}};
  const QVariant null;
  const qint64 min = std::numeric_limits<qint64>::min();
  const qint64 max = std::numeric_limits<qint64>::max();
  const double inf = std::numeric_limits<double>::infinity();
  const QString nul = QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b");
  table.rows = {
      {null, null, null, null, null, null},
      {QVariant(min), QVariant(-0.0), QVariant(QString()), QVariant(QDate(1899, 12, 30)),
       QVariant(Utc(1899, 12, 30, 0, 0, 0, 0)), QVariant(false)},
      {QVariant(max), QVariant(std::numeric_limits<double>::quiet_NaN()), QVariant(QStringLiteral("àèìòù € Forlì")),
       QVariant(QDate(9999, 12, 31)), QVariant(Utc(9999, 12, 31, 23, 59, 59, 999)), QVariant(true)},
      {QVariant(qint64{0}), QVariant(inf), QVariant(QStringLiteral("😀 ") + nul), QVariant(QDate(-44, 3, 15)),
       QVariant(Utc(1601, 1, 1, 12, 34, 56, 789)), QVariant(true)},
      {QVariant(qint64{-1}), QVariant(-inf), QVariant(QString(300000, QChar(u'z'))), QVariant(QDate(2024, 2, 29)),
       QVariant(Utc(1970, 1, 1, 0, 0, 0, 1)), null},
      {QVariant(qint64{2}), QVariant(0.1), QVariant(QStringLiteral("")), QVariant(QDate(1, 1, 1)),
       QVariant(Utc(2038, 1, 19, 3, 14, 8, 0)), QVariant(true)},
      {QVariant(qint64{1}), QVariant(std::numeric_limits<double>::denorm_min()), QVariant(QString(1, QChar(u'\0'))),
       null, QVariant(Utc(1969, 12, 31, 23, 59, 59, 999)), QVariant(false)},
  };
  // Enough rows for the answer to come in many frames.
  for (int r = 0; r < 20000; ++r) {
    table.rows.push_back({QVariant(qint64{r} * 1000003), QVariant(r / 7.0), QVariant(QStringLiteral("riga %1").arg(r)),
                          QVariant(QDate(2000, 1, 1).addDays(r)), QVariant(Utc(2000, 1, 1, 0, 0, 0, 0).addMSecs(r)),
                          r % 3 == 0 ? null : QVariant(r % 2 == 0)});
  }
  // Exact decimals: wider than 64 bits, scaled, negative, and Null.
  table.columns.push_back({QStringLiteral("Esatto"), ColumnType::Decimal});
  const char* const decimals[] = {"-9223372036854775809", "0.001", "123456789012345678901234567890.123456789", "0",
                                  "-0.5"};
  for (size_t r = 0; r < table.rows.size(); ++r) {
    table.rows[r].push_back(
        r % 6 == 5 ? null : QVariant::fromValue(*ExactDecimal::FromText(QString::fromLatin1(decimals[r % 6]))));
  }
  return table;
}

}  // namespace pv::testing
