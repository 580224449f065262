// Date-times come back as they were read wherever the rows pass through the
// in-memory database (a query source, a filtered or sorted table): with
// their milliseconds, as wall-clock times (the UTC spec), and still
// date-times in the hour that the user's clocks skip (this program runs in
// Europe/Rome, where 2024-03-31 02:30 does not exist).
#include "clientvalues.h"
#include "testservers.h"

#include "datasources/sourcerecordset.h"

#include <map>

namespace pv::test {
namespace {

using DateTimesTest = ServerTest;

constexpr int kRegistered = 10;  // REGISTRATO, of indirizzi

TEST_F(DateTimesTest, TheyComeBackFromTheInMemoryDatabaseAsRead) {
  const struct {
    DbEngine engine;
    const char* dsn;
    const char* source;
    const char* filter;
  } kCases[] = {{DbEngine::PostgreSql, kPgDsn, "indirizzi", "[ID] > 0"},
                {DbEngine::PostgreSql, kPgDsn, "SELECT * FROM indirizzi", ""},
                {DbEngine::MariaDb, kMariaDsn, "SELECT * FROM indirizzi", ""}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.dsn) + ": " + c.source + " " + c.filter);
    std::map<QString, ClientValue> expected;
    for (const auto& row : Servers().Server(c.engine).Query(QStringLiteral("SELECT * FROM indirizzi")))
      expected[row.at(0).value_or(QString())] = row.at(kRegistered);
    SourceRecordset records;
    records.Open(TestServers::ConnectionOf(c.dsn, true), QString::fromLatin1(c.source));
    records.SetFilter(QString::fromLatin1(c.filter));
    ASSERT_EQ(records.RecordCount(), static_cast<int>(expected.size()));
    for (int r = 0; r < records.RecordCount(); ++r) {
      const QString id = records.ValueAt(r, 0).toString();
      EXPECT_TRUE(SameAsClient(records.ValueAt(r, kRegistered), expected[id])) << "record " << id.toStdString();
    }
  }
}

}  // namespace
}  // namespace pv::test
