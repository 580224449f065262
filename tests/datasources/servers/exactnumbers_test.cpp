// Numbers arrive exactly: an SSCC numeric(18,0), scaled and negative
// numeric(12,3) and BIGINT at both ends come back with all their digits,
// never as a double, through the reader, the recordset and the in-memory
// database a filter reads from.
#include "testservers.h"

#include "datasources/sourcerecordset.h"

namespace pv::test {
namespace {

struct Number {
  int id;
  int column;  // of codici: 2 SSCC numeric(18,0), 3 SALDO numeric(12,3), 4 GRANDE bigint
  const char* digits;
};

const Number kNumbers[] = {
    {1, 2, "376123450000000017"},
    {2, 2, "999999999999999999"},
    {3, 2, "100000000000000001"},
    {4, 2, "1"},
    {5, 2, "-376123450000000017"},
    {1, 3, "-1234.567"},
    {2, 3, "0.001"},
    {3, 3, "999999999.999"},
    {4, 3, "-0.125"},
    {5, 3, "-999999999.999"},
    {1, 4, "9223372036854775807"},
    {2, 4, "-9223372036854775808"},
    {3, 4, "9007199254740993"},
    {4, 4, "0"},
    {5, 4, "-9007199254740993"},
};

// The row of codici with `id` among rows whose first value is the ID.
template <typename Rows>
const auto* RowWithId(const Rows& rows, int id) {
  for (const auto& row : rows) {
    if (row.at(0).toLongLong() == id) return &row;
  }
  return static_cast<decltype(&rows.front())>(nullptr);
}

::testing::AssertionResult Exact(const QVariant& value, const Number& n) {
  if (!value.isValid()) return ::testing::AssertionFailure() << "Null instead of " << n.digits;
  if (value.metaType().id() == QMetaType::Double)
    return ::testing::AssertionFailure() << "a double " << value.toString().toStdString() << " instead of " << n.digits;
  if (value.toString() != QString::fromLatin1(n.digits))
    return ::testing::AssertionFailure() << value.typeName() << " \"" << value.toString().toStdString()
                                         << "\" instead of " << n.digits;
  return ::testing::AssertionSuccess();
}

struct Way {
  DbEngine engine;
  const char* dsn;
  bool withLogin;
  const char* source;  // a table by name, or a query
};
const Way kWays[] = {{DbEngine::PostgreSql, kPgDsn, false, "codici"},
                     {DbEngine::MariaDb, kMariaDsn, true, "SELECT * FROM codici"}};

using ExactNumbersTest = ServerTest;

TEST_F(ExactNumbersTest, TheReaderKeepsEveryDigit) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(Servers().Server(way.engine).Name().toStdString());
    auto reader = OpenDsn(way.dsn, way.withLogin);
    const QString source = QString::fromLatin1(way.source);
    const SourceTable table =
        source.startsWith(QLatin1String("SELECT")) ? reader->RunQuery(source) : reader->ReadTable(source);
    for (const Number& n : kNumbers) {
      const auto* row = RowWithId(table.rows, n.id);
      ASSERT_NE(row, nullptr);
      EXPECT_TRUE(Exact(row->at(static_cast<size_t>(n.column)), n))
          << "record " << n.id << ", " << table.columns.at(static_cast<size_t>(n.column)).name.toStdString();
    }
    const auto* empty = RowWithId(table.rows, 6);
    ASSERT_NE(empty, nullptr);
    for (int c : {2, 3, 4}) EXPECT_FALSE(empty->at(static_cast<size_t>(c)).isValid());
  }
}

TEST_F(ExactNumbersTest, TheRecordsetKeepsEveryDigitAlsoFilteredAndSorted) {
  for (const Way& way : kWays) {
    SCOPED_TRACE(Servers().Server(way.engine).Name().toStdString());
    SourceRecordset records;
    records.Open(TestServers::ConnectionOf(way.dsn, way.withLogin), QString::fromLatin1(way.source));
    for (const char* filter : {"", "[ID] < 6"}) {
      SCOPED_TRACE(filter);
      records.SetFilter(QString::fromLatin1(filter));
      records.SetSort(*filter != 0 ? QStringLiteral("[SSCC] DESC") : QString());
      for (const Number& n : kNumbers) {
        int found = -1;
        for (int r = 0; r < records.RecordCount(); ++r) {
          if (records.ValueAt(r, 0).toLongLong() == n.id) found = r;
        }
        ASSERT_GE(found, 0);
        EXPECT_TRUE(Exact(records.ValueAt(found, n.column), n))
            << "record " << n.id << ", " << records.FieldName(n.column).toStdString();
      }
    }
    // The sort is by the numbers themselves.
    records.SetFilter(QStringLiteral("[SSCC] > 0"));
    records.SetSort(QStringLiteral("[SSCC] ASC"));
    QStringList order;
    for (int r = 0; r < records.RecordCount(); ++r) order << records.ValueAt(r, 0).toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2")}));
    // An exact comparison: 100000000000000001 is not 100000000000000000.
    records.SetFilter(QStringLiteral("[SSCC] = 100000000000000001"));
    EXPECT_EQ(records.RecordCount(), 1);
    records.SetFilter(QStringLiteral("[SSCC] = 100000000000000000"));
    EXPECT_EQ(records.RecordCount(), 0);
  }
}

}  // namespace
}  // namespace pv::test
