// A table registration opens on MariaDB as on PostgreSQL: the reader quotes
// names with the driver's own quote character, so names with spaces and
// accents open too, in any letter case.
#include "clientvalues.h"
#include "fixture.h"
#include "testservers.h"

#include "datasources/sourcerecordset.h"

namespace pv::test {
namespace {

using TableNamesTest = ServerTest;

const char* const kDsns[] = {kPgDsn, kMariaDsn};

TEST_F(TableNamesTest, TheReaderListsAndReadsEveryTable) {
  for (const char* dsn : kDsns) {
    SCOPED_TRACE(dsn);
    auto reader = OpenDsn(dsn, true);
    QStringList tables = reader->Tables();
    tables.sort();
    EXPECT_EQ(tables, (QStringList{QString::fromUtf8("Città e province"), QStringLiteral("codici"),
                                   QStringLiteral("indirizzi")}));
    const struct {
      const char* name;
      size_t rows;
      size_t columns;
    } kTables[] = {{"indirizzi", kAddressCount, 12}, {"CODICI", 6, 6}, {"città E PROVINCE", 2, 2}};
    for (const auto& t : kTables) {
      SCOPED_TRACE(t.name);
      try {
        const SourceTable table = reader->ReadTable(QString::fromUtf8(t.name));
        EXPECT_EQ(table.rows.size(), t.rows);
        EXPECT_EQ(table.columns.size(), t.columns);
        EXPECT_EQ(reader->Columns(QString::fromUtf8(t.name)).size(), t.columns);
      } catch (const DbError& e) {
        ADD_FAILURE() << e.Description().toStdString();
      }
    }
  }
}

TEST_F(TableNamesTest, AMariadbTableRegistrationGivesTheClientsValues) {
  ClientRows expected = Servers().Mariadb().Query(QStringLiteral("SELECT * FROM indirizzi ORDER BY ID"));
  SourceRecordset records;
  ASSERT_NO_THROW(records.Open(TestServers::ConnectionOf(kMariaDsn, true), QStringLiteral("indirizzi")));
  ASSERT_EQ(records.RecordCount(), kAddressCount);
  records.SetSort(QStringLiteral("[ID]"));
  for (int r = 0; r < records.RecordCount(); ++r) {
    for (int c = 0; c < records.FieldCount(); ++c)
      EXPECT_TRUE(SameAsClient(records.ValueAt(r, c), expected.at(static_cast<size_t>(r)).at(static_cast<size_t>(c))))
          << "row " << r << ", column " << records.FieldName(c).toStdString();
  }
  SourceRecordset cities;
  ASSERT_NO_THROW(cities.Open(TestServers::ConnectionOf(kMariaDsn, true), QString::fromUtf8("[Città e province]")));
  EXPECT_EQ(cities.RecordCount(), 2);
}

}  // namespace
}  // namespace pv::test
