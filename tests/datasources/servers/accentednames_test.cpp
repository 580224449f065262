// Accented names, whatever the user's locale (this program runs under an
// Italian one and under C): a DSN named "Indirizzi Città" is found, and a
// column named CITTÀ comes back as CITTÀ, decoded as its values are.
#include "clientvalues.h"
#include "fixture.h"
#include "testservers.h"

#include "datasources/sourcerecordset.h"

#include <clocale>
#include <map>

namespace pv::test {
namespace {

class AccentedNamesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    std::printf("[ locale   ] %s\n", std::setlocale(LC_CTYPE, nullptr));
  }
};

const QString kCity = QString::fromUtf8("CITTÀ");

TEST_F(AccentedNamesTest, AnAccentedDsnIsFound) {
  for (const char* dsn : {kPgAccentedDsn, kMariaAccentedDsn}) {
    SCOPED_TRACE(dsn);
    try {
      auto reader = OpenDsn(dsn, true);
      EXPECT_EQ(reader->RunQuery(QStringLiteral("SELECT * FROM indirizzi")).rows.size(),
                static_cast<size_t>(kAddressCount));
    } catch (const DbError& e) {
      ADD_FAILURE() << e.Description().toStdString();
    }
  }
  SourceRecordset records;
  try {
    records.Open(TestServers::ConnectionOf(kPgAccentedDsn), QStringLiteral("indirizzi"));
    EXPECT_EQ(records.RecordCount(), kAddressCount);
  } catch (const DbError& e) {
    ADD_FAILURE() << e.Description().toStdString();
  }
}

// Through each driver: psqlODBC's Unicode and ANSI drivers (Debian
// registers both) and MariaDB's.
TEST_F(AccentedNamesTest, AccentedColumnNamesAreDecodedAsTheirValues) {
  const struct {
    DbEngine engine;
    const char* dsn;
    const char* cityColumnSql;
  } kCases[] = {{DbEngine::PostgreSql, kPgDsn, "\"CITTÀ\""},
                {DbEngine::PostgreSql, kPgAnsiDsn, "\"CITTÀ\""},
                {DbEngine::MariaDb, kMariaDsn, "`CITTÀ`"}};
  const auto namesOf = [](const std::vector<SourceColumn>& columns) {
    QStringList names;
    for (const SourceColumn& column : columns) names << column.name;
    return names;
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.dsn);
    auto reader = OpenDsn(c.dsn, true);
    try {
      EXPECT_EQ(namesOf(reader->Columns(QStringLiteral("indirizzi"))), AddressColumns()) << "as listed";
    } catch (const DbError& e) {
      ADD_FAILURE() << "listing the columns: " << e.Description().toStdString();
    }
    try {
      const SourceTable table = reader->RunQuery(QStringLiteral("SELECT * FROM indirizzi"));
      EXPECT_EQ(namesOf(table.columns), AddressColumns()) << "as read";
      std::map<QString, ClientValue> cities;
      for (const auto& row : Servers().Server(c.engine).Query(QStringLiteral("SELECT * FROM indirizzi")))
        cities[row.at(0).value_or(QString())] = row.at(5);
      for (const auto& row : table.rows) {
        const QString id = row.at(0).toString();
        EXPECT_TRUE(SameAsClient(row.at(5), cities[id])) << "record " << id.toStdString();
      }
    } catch (const DbError& e) {
      ADD_FAILURE() << "reading the table: " << e.Description().toStdString();
    }
    try {
      SourceRecordset records;
      records.Open(TestServers::ConnectionOf(c.dsn, true), QStringLiteral("SELECT * FROM indirizzi"));
      EXPECT_GE(records.FieldIndex(kCity), 0);
      const ClientRows forli =
          Servers().Server(c.engine).Query(QString::fromUtf8("SELECT count(*) FROM indirizzi WHERE %1 = 'Forlì'")
                                               .arg(QString::fromUtf8(c.cityColumnSql)));
      records.SetFilter(QString::fromUtf8("[CITTÀ] = 'Forlì'"));
      EXPECT_EQ(QString::number(records.RecordCount()), forli.at(0).at(0).value_or(QString()));
      if (records.RecordCount() > 0) {
        EXPECT_EQ(records.Value(kCity).toString(), QString::fromUtf8("Forlì"));
      }
    } catch (const DbError& e) {
      ADD_FAILURE() << "the recordset: " << e.Description().toStdString();
    }
  }
}

}  // namespace
}  // namespace pv::test
