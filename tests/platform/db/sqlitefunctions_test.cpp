#include "platform/db/dberror.h"
#include "platform/db/sqlitefunctions.h"
#include "tests/support/coreapp.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A restricted connection itself, with no authorizer in the way (the text
// runs through Qt as any statement would): it attaches no database, loads
// no extension and writes no schema as data.
TEST(SqliteFunctions, ARestrictedConnectionReachesNothingBeyondItself) {
  pv::test::EnsureCoreApplication();
  QTemporaryDir dir;
  const QString name = QStringLiteral("restricted");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    ASSERT_TRUE(db.open());
    pv::RestrictSqliteConnection(db);
    const struct {
      QString sql;
      bool runs;
    } cases[] = {
        {QStringLiteral("CREATE TABLE t (a)"), true},
        {QStringLiteral("ATTACH DATABASE '%1' AS x").arg(dir.filePath(QStringLiteral("x.db"))), false},
        {QStringLiteral("SELECT load_extension('%1')").arg(dir.filePath(QStringLiteral("x.so"))), false},
        {QStringLiteral("PRAGMA writable_schema = ON"), true},  // accepted, but defensive mode ignores it
        {QStringLiteral("UPDATE sqlite_schema SET sql = 'x'"), false},
        {QStringLiteral("SELECT fts3_tokenizer('simple', x'0000000000000000')"), false},
    };
    for (const auto& c : cases) {
      QSqlQuery q(db);
      EXPECT_EQ(q.exec(c.sql), c.runs) << c.sql.toStdString() << ": " << q.lastError().text().toStdString();
    }
    EXPECT_EQ(pv::SqliteColumnLimit(db), 2000);
    EXPECT_GE(pv::SqliteArgumentLimit(db), 100);
  }
  QSqlDatabase::removeDatabase(name);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
