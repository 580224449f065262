#include "platform/db/dberror.h"
#include "platform/db/sqlitefunctions.h"
#include "tests/support/coreapp.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

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

// A query without an end (a recursive one that never stops) is stopped at
// the time limit with the program's message, and leaves no table behind.
TEST(SqliteFunctions, AQueryThatNeverEndsIsStoppedAtTheTimeLimit) {
  pv::test::EnsureCoreApplication();
  const QString name = QStringLiteral("endless");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    ASSERT_TRUE(db.open());
    pv::RestrictSqliteConnection(db);
    pv::SetUserQueryTimeLimit(std::chrono::milliseconds(300));
    try {
      pv::CreateTableFromQuery(db, QStringLiteral("risultato"),
                               QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                              "SELECT i FROM n"));
      ADD_FAILURE() << "the query ran to an end";
    } catch (const pv::DbError& e) {
      EXPECT_TRUE(e.Description().contains(QStringLiteral("tempo massimo"))) << e.Description().toStdString();
    }
    pv::SetUserQueryTimeLimit(std::chrono::seconds(60));
    QSqlQuery q(db);
    EXPECT_FALSE(q.exec(QStringLiteral("SELECT * FROM risultato")));
  }
  QSqlDatabase::removeDatabase(name);
}

// A date and time goes into the in-memory database and comes back as it was:
// wall-clock time with its milliseconds, also in the hour the Italian
// clocks skip, whatever the zone of the machine.
TEST(SqliteFunctions, ADateAndTimeComesBackAsItWent) {
  const QByteArray zone = qgetenv("TZ");
  qputenv("TZ", "Europe/Rome");
  tzset();
  const QDateTime cases[] = {
      QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::UTC),            // skipped in Rome
      QDateTime(QDate(2024, 10, 27), QTime(2, 30), Qt::UTC),           // twice in Rome
      QDateTime(QDate(2023, 6, 30), QTime(18, 45, 30, 123), Qt::UTC),  // milliseconds
      QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC),
      QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC),
  };
  for (const QDateTime& d : cases) {
    const QVariant back = pv::TypedValue(pv::StoredValue(QVariant(d)), QMetaType::QDateTime);
    ASSERT_EQ(back.metaType().id(), QMetaType::QDateTime) << d.toString(Qt::ISODateWithMs).toStdString();
    EXPECT_EQ(back.toDateTime(), d) << back.toDateTime().toString(Qt::ISODateWithMs).toStdString();
    EXPECT_EQ(back.toDateTime().timeSpec(), Qt::UTC);
  }
  // Stored texts sort as the times do.
  EXPECT_LT(pv::StoredValue(QVariant(cases[2].addMSecs(-123))).toString(),
            pv::StoredValue(QVariant(cases[2])).toString());
  if (zone.isEmpty())
    qunsetenv("TZ");
  else
    qputenv("TZ", zone);
  tzset();
}

}  // namespace
