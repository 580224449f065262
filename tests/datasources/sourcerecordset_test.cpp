#include "datasources/sourcerecordset.h"
#include "datasources/tablecache.h"
#include "fakereader.h"
#include "tests/support/coreapp.h"

#include "platform/db/criteria.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pv {
namespace {

using test::FakeReader;
using test::FakeSource;

const QString kConnection =
    QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/dati;Extended Properties=dBASE III;");
const QString kOdbc = QStringLiteral("DSN=magazzino");

SourceTable People() {
  SourceTable t;
  t.columns = {{QStringLiteral("Nome"), ColumnType::Text},    {QStringLiteral("Città"), ColumnType::Text},
               {QStringLiteral("Età"), ColumnType::Integer},  {QStringLiteral("Saldo"), ColumnType::Double},
               {QStringLiteral("Nascita"), ColumnType::Date}, {QStringLiteral("Attivo"), ColumnType::Boolean}};
  const auto row = [](const char* name, const QVariant& city, const QVariant& age, const QVariant& balance,
                      const QVariant& born, bool active) {
    return std::vector<QVariant>{QString::fromUtf8(name), city, age, balance, born, active};
  };
  const QVariant none;
  t.rows = {
      row("Ålborg Anna", QStringLiteral("Città di Castello"), qint64(34), 12.5, QDate(1990, 5, 1), true),
      row("élise", QStringLiteral("ÉVORA"), qint64(28), -3.25, QDate(1996, 12, 31), false),
      row("Zeno", none, none, 0.0, none, true),
      row("bruno", QStringLiteral("Roma"), qint64(34), 100.0, QDate(1985, 1, 15), false),
      row("Anna", QStringLiteral("roma"), qint64(51), none, QDate(1973, 7, 4), true),
      row("O'Brien", QStringLiteral("Città di Castello"), qint64(7), 2.5, QDate(2017, 3, 4), false),
  };
  return t;
}

SourceTable Cities() {
  SourceTable t;
  t.columns = {{QStringLiteral("Nome"), ColumnType::Text}, {QStringLiteral("Regione"), ColumnType::Text}};
  t.rows = {{QStringLiteral("Roma"), QStringLiteral("Lazio")},
            {QStringLiteral("Città di Castello"), QStringLiteral("Umbria")},
            {QStringLiteral("Évora"), QStringLiteral("Alentejo")}};
  return t;
}

// The same type and value (doubles to the sign, date-times to the time spec).
::testing::AssertionResult Same(const QVariant& a, const QVariant& b) {
  const auto show = [](const QVariant& v) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(v.typeName()), v.toString()).toStdString();
  };
  bool same = a.isValid() == b.isValid() && (!a.isValid() || (a.metaType() == b.metaType() && a == b));
  if (same && a.metaType().id() == QMetaType::Double) same = std::signbit(a.toDouble()) == std::signbit(b.toDouble());
  if (same && a.metaType().id() == QMetaType::QDateTime) same = a.toDateTime().timeSpec() == b.toDateTime().timeSpec();
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << show(a) << " != " << show(b);
}

class SourceRecordsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureCoreApplication();
    ClearTableCache();
    source = std::make_shared<FakeSource>();
    source->tables[QStringLiteral("Persone")] = People();
    source->tables[QStringLiteral("Città")] = Cities();
  }
  SourceRecordset::ReaderFactory Factory() {
    return [s = source](const SourceLocation&) { return std::make_unique<FakeReader>(s); };
  }
  // Gives the file (made when missing) the modification time.
  static bool Touch(const QString& file, const QDateTime& modified) {
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite)) return false;
    if (f.size() == 0) f.write("x");
    return f.setFileTime(modified, QFileDevice::FileModificationTime);
  }
  static QStringList Names(SourceRecordset& rs) {
    QStringList out;
    for (bool more = rs.MoveFirst(); more; more = rs.MoveNext()) out << rs.Value(QStringLiteral("nome")).toString();
    return out;
  }
  std::shared_ptr<FakeSource> source;
};

TEST_F(SourceRecordsetTest, FiltersGiveTheRowsCriteriaMatch) {
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("[PERSONE]"));
  ASSERT_EQ(rs.RecordCount(), 6);
  const SourceTable people = People();
  QStringList fields;
  for (const auto& c : people.columns) fields << c.name;

  const struct {
    const char* filter;
    std::vector<int> rows;
  } cases[] = {
      {"[CITTÀ] = 'città di castello'", {0, 5}},
      {"Città = 'ROMA'", {3, 4}},
      {"Nome LIKE 'É*'", {1}},
      {"Nome LIKE 'ålborg%'", {0}},
      {"Nome LIKE '?runo'", {3}},
      {"Nome LIKE '%nna'", {0, 4}},
      {"Nome LIKE 'a_na'", {4}},
      {"Età > 30", {0, 3, 4}},
      {"Età >= 34 AND Saldo > 50", {3}},
      {"Saldo < 0 OR Età < 10", {1, 5}},
      {"(Età = 34 OR Età = 28) AND Attivo = False", {1, 3}},
      {"Saldo IS NULL", {4}},
      {"Città = NULL", {2}},
      {"Città <> NULL", {0, 1, 3, 4, 5}},
      {"Nascita > #01/01/1990#", {0, 1, 5}},
      {"Nascita = #1985-01-15#", {3}},
      {"Nascita < '1980-01-01'", {4}},
      {"Attivo = True", {0, 2, 4}},
      {"Attivo = -1", {0, 2, 4}},
      {"Attivo = 0", {1, 3, 5}},
      {"Attivo < 0", {0, 2, 4}},
      {"Nome = 'O''Brien'", {5}},
      {"Nome > 'b'", {0, 1, 2, 3, 5}},
      {"Età = '34'", {0, 3}},
      {"Saldo = 2.5", {5}},
  };
  for (const auto& c : cases) {
    const QString filter = QString::fromUtf8(c.filter);
    rs.SetFilter(filter);
    EXPECT_EQ(rs.Filter(), filter);
    std::vector<int> got;
    for (bool more = rs.MoveFirst(); more; more = rs.MoveNext()) {
      const QString name = rs.Value(0).toString();
      for (int i = 0; i < static_cast<int>(people.rows.size()); ++i) {
        if (people.rows[static_cast<size_t>(i)][0].toString() == name) got.push_back(i);
      }
    }
    EXPECT_EQ(got, c.rows) << c.filter;
    // The in-memory evaluation agrees row by row.
    const Criteria criteria = Criteria::Parse(filter, fields);
    std::vector<int> matched;
    for (int i = 0; i < static_cast<int>(people.rows.size()); ++i) {
      if (criteria.Matches(people.rows[static_cast<size_t>(i)])) matched.push_back(i);
    }
    EXPECT_EQ(matched, c.rows) << c.filter;
  }
}

TEST_F(SourceRecordsetTest, ABadFilterOrSortThrowsAndKeepsWhatWasInForce) {
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("persone"));
  rs.SetFilter(QStringLiteral("Età > 30"));
  for (const char* bad : {"Nope = 1", "Età >", "(Età = 1", "Nascita = #31/31/2000#"}) {
    EXPECT_THROW(rs.SetFilter(QString::fromUtf8(bad)), DbError) << bad;
    EXPECT_EQ(rs.Filter(), QStringLiteral("Età > 30"));
    EXPECT_EQ(rs.RecordCount(), 3);
  }
  EXPECT_THROW(rs.SetSort(QStringLiteral("[Altro] ASC")), DbError);
  EXPECT_EQ(rs.Sort(), QString());
  rs.SetFilter(QString());
  EXPECT_EQ(rs.RecordCount(), 6);
  EXPECT_EQ(rs.Filter(), QString());
}

TEST_F(SourceRecordsetTest, SortsByManyKeysNullFirstInAnyCase) {
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("Persone"));
  rs.SetSort(QStringLiteral("[CITTÀ] ASC, [Età] DESC"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna"), QStringLiteral("O'Brien"),
                                    QStringLiteral("Anna"), QStringLiteral("bruno"), QStringLiteral("élise")}));
  rs.SetSort(QStringLiteral("Nome DESC"));
  EXPECT_EQ(Names(rs).first(), QStringLiteral("élise"));
  // Sort and filter together; requery keeps both.
  rs.SetFilter(QStringLiteral("Attivo = True"));
  rs.SetSort(QStringLiteral("Saldo"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Anna"), QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna")}));
  rs.Requery();
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Anna"), QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna")}));
}

TEST_F(SourceRecordsetTest, MoveToEqualsTheRowWalkedToAndValuesAreTyped) {
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("Persone"));
  rs.SetSort(QStringLiteral("Nascita DESC"));
  const QStringList walked = Names(rs);
  ASSERT_EQ(walked.size(), 6);
  for (int n = walked.size() - 1; n >= 0; --n) {
    ASSERT_TRUE(rs.MoveTo(n));
    EXPECT_EQ(rs.Position(), n);
    EXPECT_EQ(rs.Value(QStringLiteral("NOME")).toString(), walked[n]);
  }
  EXPECT_FALSE(rs.MoveTo(6));
  EXPECT_TRUE(rs.Eof());
  EXPECT_THROW(rs.Value(0), DbError);
  EXPECT_FALSE(rs.MoveTo(-1));
  EXPECT_TRUE(rs.Bof());
  EXPECT_TRUE(rs.MoveNext());
  EXPECT_EQ(rs.Position(), 0);

  ASSERT_TRUE(rs.MoveTo(walked.indexOf(QStringLiteral("Ålborg Anna"))));
  EXPECT_EQ(rs.Value(QStringLiteral("età")), QVariant(qint64(34)));
  EXPECT_EQ(rs.Value(QStringLiteral("saldo")), QVariant(12.5));
  EXPECT_EQ(rs.Value(QStringLiteral("nascita")), QVariant(QDate(1990, 5, 1)));
  EXPECT_EQ(rs.Value(QStringLiteral("attivo")), QVariant(true));
  ASSERT_TRUE(rs.MoveTo(walked.indexOf(QStringLiteral("Zeno"))));
  EXPECT_FALSE(rs.Value(QStringLiteral("Città")).isValid());
  EXPECT_FALSE(rs.Value(QStringLiteral("Nascita")).isValid());
  EXPECT_EQ(rs.FieldType(4), ColumnType::Date);
  EXPECT_EQ(rs.FieldType(5), ColumnType::Boolean);
  EXPECT_THROW(rs.Value(QStringLiteral("Manca")), DbError);
}

TEST_F(SourceRecordsetTest, ATableShowsTheValuesTheDatabaseGivesBack) {
  // Values of every type in columns of every type, as readers may give them.
  // A query reads each back from the database; a table opened by name must
  // show the same, with and without a filter or a sort.
  const QDateTime noon(QDate(2001, 2, 3), QTime(12, 5, 6, 789), Qt::UTC);
  const struct {
    ColumnType type;
    QVariant value;
  } cases[] = {
      {ColumnType::Integer, qint64(5)},
      {ColumnType::Integer, QStringLiteral("12")},
      {ColumnType::Integer, QStringLiteral("abc")},
      {ColumnType::Integer, 2.5},
      {ColumnType::Double, 1.5},
      {ColumnType::Double, -0.0},
      {ColumnType::Double, std::numeric_limits<double>::quiet_NaN()},
      {ColumnType::Double, std::numeric_limits<double>::infinity()},
      {ColumnType::Double, qint64(3)},
      {ColumnType::Text, QStringLiteral("Città")},
      {ColumnType::Text, QStringLiteral("")},
      {ColumnType::Text, QString()},
      {ColumnType::Text, qint64(7)},
      {ColumnType::Text, 2.25},
      {ColumnType::Date, QDate(2001, 2, 3)},
      {ColumnType::Date, QDate(12000, 1, 1)},
      {ColumnType::Date, QDate(500, 6, 7)},
      {ColumnType::Date, noon},
      {ColumnType::Date, QStringLiteral("2001-01-01")},
      {ColumnType::DateTime, noon},
      {ColumnType::DateTime, QDate(1999, 1, 2)},
      {ColumnType::DateTime, QDateTime()},
      {ColumnType::Boolean, true},
      {ColumnType::Boolean, false},
      {ColumnType::Boolean, qint64(0)},
  };
  const struct {
    const char* filter;
    const char* sort;
  } views[] = {{"", ""}, {"Id >= 0", ""}, {"", "Id DESC"}, {"Id <> 1", "[%2] DESC, Id"}};
  std::vector<SourceTable> tables;
  for (const auto& c : cases) {
    SourceTable& t = tables.emplace_back();
    t.columns = {{QStringLiteral("Id"), ColumnType::Integer}, {QStringLiteral("V"), c.type}};
    t.rows = {{qint64(0), c.value}, {qint64(1), QVariant()}, {qint64(2)}};  // the last row is short
  }
  // A column named as SQLite's row id, holding other numbers.
  SourceTable& rowIds = tables.emplace_back();
  rowIds.columns = {{QStringLiteral("Id"), ColumnType::Integer}, {QStringLiteral("RowId"), ColumnType::Integer}};
  rowIds.rows = {{qint64(0), qint64(3)}, {qint64(1), qint64(1)}, {qint64(2), qint64(2)}};
  for (const SourceTable& table : tables) {
    source->tables[QStringLiteral("Uno")] = table;
    const QVariant& sample = table.rows[0][1];
    const std::string what = QStringLiteral("%1 in column %2 of type %3")
                                 .arg(QString::fromLatin1(sample.typeName()), table.columns[1].name)
                                 .arg(static_cast<int>(table.columns[1].type))
                                 .toStdString();
    ClearTableCache();
    SourceRecordset byName(Factory()), byQuery(Factory());
    byName.Open(kConnection, QStringLiteral("Uno"));
    byQuery.Open(kConnection, QStringLiteral("SELECT * FROM [Uno]"));
    for (const auto& view : views) {
      for (SourceRecordset* rs : {&byName, &byQuery}) {
        rs->SetFilter(QString::fromUtf8(view.filter));
        rs->SetSort(QString::fromUtf8(view.sort).replace(QStringLiteral("%2"), table.columns[1].name));
      }
      ASSERT_EQ(byName.RecordCount(), byQuery.RecordCount()) << what << " " << view.filter << view.sort;
      for (int r = 0; r < byName.RecordCount(); ++r) {
        for (int f = 0; f < 2; ++f) {
          EXPECT_TRUE(Same(byName.ValueAt(r, f), byQuery.ValueAt(r, f)))
              << what << " row " << r << " " << view.filter << view.sort;
        }
      }
    }
  }
}

TEST_F(SourceRecordsetTest, AFilteredTableFollowsItsChangedFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("persone.dbf"));
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime()));
  source->files[QStringLiteral("Persone")] = file;
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("Persone"));
  rs.SetFilter(QStringLiteral("Attivo = True"));
  rs.SetSort(QStringLiteral("Nome"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Anna"), QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna")}));

  // Zeno leaves, Carla comes: the filter and the sort apply to the new rows.
  auto& rows = source->tables[QStringLiteral("Persone")].rows;
  rows[2][5] = false;
  rows.push_back({QStringLiteral("Carla"), QVariant(), qint64(40), 1.0, QDate(1984, 2, 29), true});
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime().addSecs(60)));
  rs.Requery();
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Anna"), QStringLiteral("Carla"), QStringLiteral("Ålborg Anna")}));
  rs.SetSort(QString());
  rs.SetFilter(QString());
  ASSERT_EQ(rs.RecordCount(), 7);
  ASSERT_TRUE(rs.MoveLast());
  EXPECT_EQ(rs.Value(QStringLiteral("Nascita")), QVariant(QDate(1984, 2, 29)));
  EXPECT_FALSE(rs.Value(QStringLiteral("Città")).isValid());
  rs.SetFilter(QStringLiteral("Città IS NULL"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Zeno"), QStringLiteral("Carla")}));
}

TEST_F(SourceRecordsetTest, TablesAreReadOnceUntilTheirFileChanges) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("persone.dbf"));
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime()));
  source->files[QStringLiteral("Persone")] = file;
  SourceRecordset first(Factory()), second(Factory());
  first.Open(kConnection, QStringLiteral("Persone"));
  second.Open(kConnection, QStringLiteral("PERSONE"));
  EXPECT_EQ(source->reads, 1);
  EXPECT_EQ(second.RecordCount(), 6);

  // A touch (new time) makes the next open or requery read the file again.
  source->tables[QStringLiteral("Persone")].rows.pop_back();
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime().addSecs(60)));
  second.Requery();
  EXPECT_EQ(source->reads, 2);
  EXPECT_EQ(second.RecordCount(), 5);
  first.Requery();
  EXPECT_EQ(source->reads, 2);
  EXPECT_EQ(first.RecordCount(), 5);

  // Another connection string is another entry; ODBC is never kept.
  SourceRecordset other(Factory());
  other.Open(kConnection + QStringLiteral("User ID= x;"), QStringLiteral("Persone"));
  EXPECT_EQ(source->reads, 3);
  other.Open(kOdbc, QStringLiteral("Persone"));
  other.Open(kOdbc, QStringLiteral("Persone"));
  EXPECT_EQ(source->reads, 5);
}

TEST_F(SourceRecordsetTest, AQueryOverTwoTablesLoadsWhatItNames) {
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("SELECT c.Regione, Count(*) AS Quanti FROM [Città] AS c GROUP BY c.Regione"));
  EXPECT_EQ(source->reads, 1);  // Persone was not needed
  EXPECT_EQ(rs.RecordCount(), 3);

  rs.Open(kConnection,
          QStringLiteral("SELECT p.[Nome], c.Regione, p.Nascita FROM [Persone] AS p INNER JOIN [Città] AS c "
                         "ON p.[Città] = c.Nome WHERE p.Nascita < #01/01/2000# AND p.Attivo <> True "
                         "OR p.Nome = \"Ålborg Anna\" ORDER BY p.Saldo DESC"));
  EXPECT_EQ(rs.FieldNames(),
            (QStringList{QStringLiteral("Nome"), QStringLiteral("Regione"), QStringLiteral("Nascita")}));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("bruno"), QStringLiteral("Ålborg Anna")}));
  ASSERT_TRUE(rs.MoveFirst());
  EXPECT_EQ(rs.Value(QStringLiteral("regione")).toString(), QStringLiteral("Lazio"));
  EXPECT_EQ(rs.Value(2), QVariant(QDate(1985, 1, 15)));
  rs.SetFilter(QStringLiteral("Regione = 'UMBRIA'"));
  EXPECT_EQ(Names(rs), QStringList{QStringLiteral("Ålborg Anna")});

  rs.Open(kConnection, QStringLiteral("SELECT TOP 2 Nome FROM Persone WHERE Attivo = True ORDER BY Nome"));
  EXPECT_EQ(rs.RecordCount(), 2);
}

TEST_F(SourceRecordsetTest, OdbcQueriesRunOnTheServerAsWritten) {
  source->runsQueries = true;
  SourceRecordset rs(Factory());
  const QString query = QStringLiteral("SELECT TOP 5 * FROM [Persone] WHERE Attivo = True");
  rs.Open(kOdbc, query);
  EXPECT_EQ(source->lastQuery, query);
  EXPECT_EQ(rs.RecordCount(), 3);  // the fake answers with its first table
  EXPECT_EQ(rs.FieldNames().size(), 2);
}

TEST_F(SourceRecordsetTest, SourcesThatCannotOpenThrow) {
  SourceRecordset rs(Factory());
  for (const auto& [connection, src] : std::vector<std::pair<QString, QString>>{
           {kConnection, QStringLiteral("Nessuna")},
           {kConnection, QStringLiteral("SELECT FROM WHERE")},
           {kConnection, QStringLiteral("SELECT * FROM Nessuna")},
           {kConnection, QString()},
           {QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x;Extended Properties=Lotus 1-2-3;"),
            QStringLiteral("Persone")},
       }) {
    EXPECT_THROW(rs.Open(connection, src), DbError) << src.toStdString();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.RecordCount(), 0);
  }
  SourceRecordset failing([](const SourceLocation&) -> std::unique_ptr<SourceReader> {
    throw DbError(DbErrProvider, QStringLiteral("file danneggiato"));
  });
  EXPECT_THROW(failing.Open(kConnection, QStringLiteral("Persone")), DbError);
}

}  // namespace
}  // namespace pv
