// A boolean column (PostgreSQL's boolean, MariaDB's BOOLEAN) is a logical:
// read as bool, and matched by [ATTIVO] = TRUE and = FALSE.
#include "testservers.h"

#include "datasources/sourcerecordset.h"

namespace pv::test {
namespace {

struct Way {
  DbEngine engine;
  const char* dsn;
  bool withLogin;
  const char* source;
};
const Way kWays[] = {{DbEngine::PostgreSql, kPgDsn, false, "codici"},
                     {DbEngine::MariaDb, kMariaDsn, true, "SELECT * FROM codici"}};
constexpr int kActive = 5;  // ATTIVO, of codici

using BooleansTest = ServerTest;

TEST_F(BooleansTest, ABooleanColumnIsALogical) {
  const QVariant kWanted[] = {true, false, true, false, QVariant(), QVariant()};  // records 1-6
  for (const Way& way : kWays) {
    SCOPED_TRACE(Servers().Server(way.engine).Name().toStdString());
    auto reader = OpenDsn(way.dsn, way.withLogin);
    const QString source = QString::fromLatin1(way.source);
    if (way.engine == DbEngine::PostgreSql) {
      const std::vector<SourceColumn> columns = reader->Columns(source);
      ASSERT_GT(columns.size(), static_cast<size_t>(kActive));
      EXPECT_EQ(columns[kActive].type, ColumnType::Boolean) << "as listed";
    }
    const SourceTable table = way.engine == DbEngine::PostgreSql ? reader->ReadTable(source) : reader->RunQuery(source);
    ASSERT_EQ(table.rows.size(), 6u);
    EXPECT_EQ(table.columns.at(kActive).type, ColumnType::Boolean) << "as read";
    for (const auto& row : table.rows) {
      const QVariant& value = row.at(kActive);
      const QVariant& wanted = kWanted[row.at(0).toInt() - 1];
      EXPECT_EQ(value.isValid() ? value.metaType().id() : 0, wanted.isValid() ? QMetaType::Bool : 0)
          << "record " << row.at(0).toInt() << ": " << value.typeName() << " " << value.toString().toStdString();
      if (wanted.isValid()) {
        EXPECT_EQ(value.toBool(), wanted.toBool()) << "record " << row.at(0).toInt();
      }
    }
  }
}

TEST_F(BooleansTest, TrueAndFalseMatchIt) {
  struct Case {
    const char* filter;
    QStringList ids;
  };
  const Case kCases[] = {{"[ATTIVO] = TRUE", {QStringLiteral("1"), QStringLiteral("3")}},
                         {"[ATTIVO] = FALSE", {QStringLiteral("2"), QStringLiteral("4")}},
                         {"[ATTIVO] <> TRUE", {QStringLiteral("2"), QStringLiteral("4")}},
                         {"[ATTIVO] IS NULL", {QStringLiteral("5"), QStringLiteral("6")}}};
  for (const Way& way : kWays) {
    SCOPED_TRACE(Servers().Server(way.engine).Name().toStdString());
    SourceRecordset records;
    records.Open(TestServers::ConnectionOf(way.dsn, way.withLogin), QString::fromLatin1(way.source));
    for (const Case& c : kCases) {
      SCOPED_TRACE(c.filter);
      records.SetFilter(QString::fromLatin1(c.filter));
      QStringList ids;
      for (int r = 0; r < records.RecordCount(); ++r) ids << records.ValueAt(r, 0).toString();
      ids.sort();
      EXPECT_EQ(ids, c.ids);
    }
  }
}

}  // namespace
}  // namespace pv::test
