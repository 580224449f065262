// A registration that gives its own user and password logs in with them, not
// with the DSN's: a wrong password is refused.
#include "testservers.h"

#include "datasources/sourcerecordset.h"

namespace pv::test {
namespace {

using OwnLoginTest = ServerTest;

TEST_F(OwnLoginTest, ARegistrationsOwnLoginIsUsed) {
  for (const char* dsn : {kPgDsn, kMariaDsn}) {
    SCOPED_TRACE(dsn);
    SourceRecordset records;
    EXPECT_THROW(records.Open(QStringLiteral("DSN=%1;UID=nessuno;PWD=sbagliata;").arg(Dsn(dsn)),
                              QStringLiteral("SELECT 1 AS uno")),
                 DbError);
    records.Open(TestServers::ConnectionOf(dsn, true), QStringLiteral("SELECT 1 AS uno"));
    EXPECT_EQ(records.ValueAt(0, 0), QVariant(qint64{1}));
  }
}

}  // namespace
}  // namespace pv::test
