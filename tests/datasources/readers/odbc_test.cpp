#include "datasources/readers/sourcereader.h"
#include "sampletable.h"
#include "tests/support/sqliteodbc.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace pv {
namespace {

using testing::ExpectSameTable;
using testing::SampleTable;

bool Exec(QSqlDatabase& db, const QString& sql) {
  QSqlQuery query(db);
  if (!query.exec(sql)) {
    ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
    return false;
  }
  return true;
}

// A SQLite database behind two data source names of a private ODBC
// configuration: "plavik_prova" for it, "plavik_rotto" for a file that is
// not a database.
class OdbcReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new QTemporaryDir;
    s_driver = testing::SqliteOdbcDriver();
    if (s_driver.isEmpty()) return;
    const QString database = s_dir->filePath(QStringLiteral("dati.sqlite"));
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("odbc_fixture"));
      db.setDatabaseName(database);
      ASSERT_TRUE(db.open());
      Exec(db, QStringLiteral(
                   "CREATE TABLE Anagrafe (NOME TEXT, NUMERO INTEGER, IMPORTO DOUBLE, DATA DATE, ATTIVO BOOLEAN)"));
      QSqlQuery insert(db);
      insert.prepare(QStringLiteral("INSERT INTO Anagrafe VALUES (?, ?, ?, ?, ?)"));
      for (const auto& row : SampleTable().rows) {
        for (int i = 0; i < 5; ++i) {
          const QVariant& value = row[static_cast<size_t>(i)];
          if (i == 3 && value.isValid()) {
            insert.bindValue(i, value.toDate().toString(Qt::ISODate));
          } else if (i == 4 && value.isValid()) {
            insert.bindValue(i, value.toBool() ? 1 : 0);
          } else {
            insert.bindValue(i, value);
          }
        }
        ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
      }
      Exec(db, QString::fromUtf8("CREATE TABLE \"Città \"\"vecchie\"\"\" (NOME TEXT, ABITANTI INTEGER)"));
      Exec(db, QString::fromUtf8("INSERT INTO \"Città \"\"vecchie\"\"\" VALUES ('Città di Castello', 40000)"));
      Exec(db, QStringLiteral("CREATE TABLE Ordini_2024 (N INTEGER)"));
      Exec(db, QStringLiteral("CREATE TABLE OrdiniX2024 (M TEXT, K TEXT)"));
      Exec(db, QStringLiteral("CREATE VIEW Attivi AS SELECT NOME FROM Anagrafe WHERE ATTIVO = 1"));
      db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("odbc_fixture"));
    QFile garbage(s_dir->filePath(QStringLiteral("rotto.sqlite")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray("questo non è un database\n").repeated(200));
    garbage.close();

    QFile drivers(s_dir->filePath(QStringLiteral("odbcinst.ini")));
    ASSERT_TRUE(drivers.open(QIODevice::WriteOnly));
    drivers.write(QStringLiteral("[SQLite3]\nDescription=SQLite3\nDriver=%1\n").arg(s_driver).toUtf8());
    drivers.close();
    QFile sources(s_dir->filePath(QStringLiteral("odbc.ini")));
    ASSERT_TRUE(sources.open(QIODevice::WriteOnly));
    sources.write(QStringLiteral("[plavik_prova]\nDriver=SQLite3\nDatabase=%1\n\n"
                                 "[plavik_rotto]\nDriver=SQLite3\nDatabase=%2\n")
                      .arg(database, s_dir->filePath(QStringLiteral("rotto.sqlite")))
                      .toUtf8());
    sources.close();
    qputenv("ODBCSYSINI", QFile::encodeName(s_dir->path()));
    qputenv("ODBCINI", QFile::encodeName(s_dir->filePath(QStringLiteral("odbc.ini"))));
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  void SetUp() override {
    if (s_driver.isEmpty()) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
#if defined(__SANITIZE_ADDRESS__)
    // The SQLite ODBC driver keeps allocations it never frees, and the driver
    // manager unloads it, so the leak checker cannot name it to suppress it:
    // allocations made during these tests are not counted as leaks (every
    // other check of the sanitizers stays on).
    __lsan_disable();
    m_leaksOff = true;
#endif
  }
  void TearDown() override {
#if defined(__SANITIZE_ADDRESS__)
    if (m_leaksOff) __lsan_enable();
#endif
  }
  bool m_leaksOff = false;

  static std::unique_ptr<SourceReader> Open(const QString& dsn) {
    return OpenSourceReader({SourceKind::Odbc, dsn, QStringLiteral("utente"), QStringLiteral("segreto")});
  }

  static QTemporaryDir* s_dir;
  static QString s_driver;
};

QTemporaryDir* OdbcReaderTest::s_dir = nullptr;
QString OdbcReaderTest::s_driver;

TEST_F(OdbcReaderTest, ReadsTheSampleTableTyped) {
  auto reader = Open(QStringLiteral("plavik_prova"));
  ExpectSameTable(reader->ReadTable(QStringLiteral("anagrafe")), SampleTable());
  EXPECT_TRUE(reader->TableFile(QStringLiteral("Anagrafe")).isEmpty());
}

TEST_F(OdbcReaderTest, ListsTablesAndViewsAndTheirColumns) {
  auto reader = Open(QStringLiteral("plavik_prova"));
  QStringList tables = reader->Tables();
  tables.sort();
  EXPECT_EQ(tables,
            (QStringList{QStringLiteral("Anagrafe"), QStringLiteral("Attivi"), QString::fromUtf8("Città \"vecchie\""),
                         QStringLiteral("OrdiniX2024"), QStringLiteral("Ordini_2024")}));
  const std::vector<SourceColumn> columns = reader->Columns(QStringLiteral("ANAGRAFE"));
  ASSERT_EQ(columns.size(), 5u);
  const ColumnType types[] = {ColumnType::Text, ColumnType::Integer, ColumnType::Double, ColumnType::Date,
                              ColumnType::Boolean};
  for (size_t i = 0; i < columns.size(); ++i) EXPECT_EQ(columns[i].type, types[i]) << i;
  // "_" in a name is no wildcard here.
  const std::vector<SourceColumn> orders = reader->Columns(QStringLiteral("ordini_2024"));
  ASSERT_EQ(orders.size(), 1u);
  EXPECT_EQ(orders[0].name, QStringLiteral("N"));
}

TEST_F(OdbcReaderTest, BareNamesAreQuotedAndQueriesRunOnTheServer) {
  auto reader = Open(QStringLiteral("plavik_prova"));
  const SourceTable cities = reader->ReadTable(QString::fromUtf8("città \"VECCHIE\""));
  ASSERT_EQ(cities.rows.size(), 1u);
  EXPECT_EQ(cities.rows[0][0].toString(), QString::fromUtf8("Città di Castello"));
  EXPECT_EQ(cities.rows[0][1], QVariant(qint64{40000}));

  ASSERT_TRUE(reader->RunsQueries());
  const SourceTable query =
      reader->RunQuery(QStringLiteral("SELECT NOME, NUMERO * 2 AS DOPPIO FROM Anagrafe WHERE NUMERO > 0"));
  ASSERT_EQ(query.rows.size(), 1u);
  EXPECT_EQ(query.columns[1].name, QStringLiteral("DOPPIO"));
  EXPECT_EQ(query.rows[0][0].toString(), QString::fromUtf8("Niccolò Ferrè"));
  EXPECT_EQ(reader->ReadTable(QStringLiteral("Attivi")).rows.size(), 1u);

  EXPECT_THROW(reader->RunQuery(QStringLiteral("SELEZIONA tutto")), DbError);
  EXPECT_THROW(reader->ReadTable(QStringLiteral("Fatture")), DbError);
}

TEST_F(OdbcReaderTest, UnknownSourcesAndForeignFilesFail) {
  EXPECT_THROW(Open(QStringLiteral("plavik_manca")), DbError);
  EXPECT_THROW(Open(QString()), DbError);
  EXPECT_THROW(
      {
        auto reader = Open(QStringLiteral("plavik_rotto"));
        reader->Tables();
        reader->ReadTable(QStringLiteral("Anagrafe"));
      },
      DbError);
}

}  // namespace
}  // namespace pv
