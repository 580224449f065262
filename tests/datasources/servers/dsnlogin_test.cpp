// A registration "DSN=name" logs in with the user and password stored in the
// DSN, and the driver's own keys of the connection string (Database=) reach
// the driver.
#include "testservers.h"

#include "datasources/sourcerecordset.h"

namespace pv::test {
namespace {

using DsnLoginTest = ServerTest;

TEST_F(DsnLoginTest, TheDsnsOwnLoginIsUsed) {
  const struct {
    const char* dsn;
    const char* who;  // the SQL of the account logged in
    const char* wanted;
  } kCases[] = {{kPgDsn, "SELECT current_user", "plavik"}, {kMariaDsn, "SELECT CURRENT_USER()", "plavik@127.0.0.1"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.dsn);
    try {
      auto reader = OpenDsn(c.dsn);
      const SourceTable who = reader->RunQuery(QString::fromLatin1(c.who));
      ASSERT_EQ(who.rows.size(), 1u);
      EXPECT_EQ(who.rows[0][0].toString(), QString::fromLatin1(c.wanted));
    } catch (const DbError& e) {
      ADD_FAILURE() << e.Description().toStdString();
    }
    SourceRecordset records;
    try {
      records.Open(TestServers::ConnectionOf(c.dsn), QString::fromLatin1(c.who));
      EXPECT_EQ(records.ValueAt(0, 0).toString(), QString::fromLatin1(c.wanted));
    } catch (const DbError& e) {
      ADD_FAILURE() << e.Description().toStdString();
    }
  }
}

TEST_F(DsnLoginTest, TheDriversOwnKeysReachIt) {
  for (const char* dsn : {kPgDsn, kMariaDsn}) {
    SCOPED_TRACE(dsn);
    SourceRecordset records;
    const QString connection = TestServers::ConnectionOf(dsn, true) + QStringLiteral("Database=archivio;");
    try {
      records.Open(connection, QStringLiteral("scaffali"));
      EXPECT_EQ(records.RecordCount(), 3);
    } catch (const DbError& e) {
      ADD_FAILURE() << e.Description().toStdString();
    }
  }
}

}  // namespace
}  // namespace pv::test
