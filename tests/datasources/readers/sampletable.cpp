#include "sampletable.h"

#include "platform/exactdecimal.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

namespace pv::testing {

SourceTable SampleTable() {
  SourceTable table;
  table.columns = {{QStringLiteral("NOME"), ColumnType::Text},
                   {QStringLiteral("NUMERO"), ColumnType::Integer},
                   {QStringLiteral("IMPORTO"), ColumnType::Double},
                   {QStringLiteral("DATA"), ColumnType::Date},
                   {QStringLiteral("ATTIVO"), ColumnType::Boolean}};
  table.rows = {
      {QString::fromUtf8("Niccolò Ferrè"), QVariant(qint64{42}), QVariant(12.5), QVariant(QDate(1980, 2, 29)),
       QVariant(true)},
      {QString::fromUtf8("Perché più € l'anno"), QVariant(qint64{-7}), QVariant(0.25), QVariant(QDate(2024, 12, 31)),
       QVariant(false)},
      {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
  };
  return table;
}

namespace {

bool HasColumnType(const QVariant& value, ColumnType type) {
  switch (type) {
    case ColumnType::Integer: return value.typeId() == QMetaType::LongLong;
    case ColumnType::Double: return value.typeId() == QMetaType::Double;
    case ColumnType::Text: return value.typeId() == QMetaType::QString;
    case ColumnType::Date: return value.typeId() == QMetaType::QDate;
    case ColumnType::DateTime: return value.typeId() == QMetaType::QDateTime;
    case ColumnType::Boolean: return value.typeId() == QMetaType::Bool;
    case ColumnType::Decimal: return IsExactDecimal(value);
  }
  return false;
}

}  // namespace

QString Describe(const QVariant& value) {
  if (!value.isValid()) return QStringLiteral("Null");
  return QStringLiteral("%1(%2)").arg(QString::fromLatin1(value.typeName()), value.toString());
}

void ExpectSameTable(const SourceTable& actual, const SourceTable& expected) {
  ASSERT_EQ(actual.columns.size(), expected.columns.size());
  for (size_t c = 0; c < expected.columns.size(); ++c) {
    EXPECT_EQ(actual.columns[c].name, expected.columns[c].name) << "column " << c;
    EXPECT_EQ(actual.columns[c].type, expected.columns[c].type) << "column " << c;
  }
  ASSERT_EQ(actual.rows.size(), expected.rows.size());
  for (size_t r = 0; r < expected.rows.size(); ++r) {
    ASSERT_EQ(actual.rows[r].size(), expected.columns.size()) << "row " << r;
    for (size_t c = 0; c < expected.columns.size(); ++c) {
      const QVariant& got = actual.rows[r][c];
      const QVariant& want = expected.rows[r][c];
      const QString where = QStringLiteral("row %1 column %2").arg(r).arg(expected.columns[c].name);
      if (got.isValid()) {
        EXPECT_TRUE(HasColumnType(got, actual.columns[c].type))
            << where.toStdString() << ": " << Describe(got).toStdString();
      }
      EXPECT_TRUE(got.isValid() == want.isValid() && (!want.isValid() || got == want))
          << where.toStdString() << ": got " << Describe(got).toStdString() << ", want "
          << Describe(want).toStdString();
    }
  }
}

QVariant ExactValue(const char* text) {
  return QVariant::fromValue(*ExactDecimal::FromText(QString::fromLatin1(text)));
}

}  // namespace pv::testing
