#include "datasources/process/readerwait.h"
#include "datasources/sourcerecordset.h"
#include "platform/exactdecimal.h"
#include "datasources/tablecache.h"
#include "fakereader.h"
#include "tests/support/coreapp.h"
#include "tests/support/readersettings.h"

#include "platform/db/criteria.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
  // Text in the Italian order: accented letters beside their base letters.
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna"), QStringLiteral("O'Brien"),
                                    QStringLiteral("élise"), QStringLiteral("Anna"), QStringLiteral("bruno")}));
  rs.SetSort(QStringLiteral("Nome DESC"));
  EXPECT_EQ(Names(rs).first(), QStringLiteral("Zeno"));
  // Sort and filter together; requery keeps both.
  rs.SetFilter(QStringLiteral("Attivo = True"));
  rs.SetSort(QStringLiteral("Saldo"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Anna"), QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna")}));
  rs.Requery();
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Anna"), QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna")}));
}

// A column of exact decimals keeps every digit through the in-memory
// database: filtered and sorted by value, as a table and through a query,
// whether SQLite keeps a value as a double (15 digits or fewer) or as text.
TEST_F(SourceRecordsetTest, ExactDecimalsFilterAndSortByValue) {
  const auto exact = [](const char* text) {
    return QVariant::fromValue(*ExactDecimal::FromText(QString::fromLatin1(text)));
  };
  SourceTable codes;
  codes.columns = {{QStringLiteral("Nome"), ColumnType::Text}, {QStringLiteral("Saldo"), ColumnType::Decimal}};
  codes.rows = {{QStringLiteral("a"), exact("99999999999999999.99")},
                {QStringLiteral("b"), exact("-1234.567")},
                {QStringLiteral("c"), QVariant()},
                {QStringLiteral("d"), exact("10")},
                {QStringLiteral("e"), exact("0.001")},
                {QStringLiteral("f"), exact("-99999999999999999.99")},
                {QStringLiteral("g"), exact("99999999999999999.98")}};
  source->tables[QStringLiteral("Codici")] = codes;
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("Codici"));
  EXPECT_EQ(rs.FieldType(1), ColumnType::Decimal);
  rs.SetSort(QStringLiteral("[Saldo]"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("c"), QStringLiteral("f"), QStringLiteral("b"), QStringLiteral("e"),
                                    QStringLiteral("d"), QStringLiteral("g"), QStringLiteral("a")}));
  rs.SetSort(QStringLiteral("[Saldo] DESC"));
  EXPECT_EQ(Names(rs).first(), QStringLiteral("a"));
  rs.SetFilter(QStringLiteral("[Saldo] > 10"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("a"), QStringLiteral("g")}));
  rs.SetFilter(QStringLiteral("[Saldo] = 99999999999999999.98 OR [Saldo] = -1234.567"));
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("g"), QStringLiteral("b")}));
  for (int r = 0; r < rs.RecordCount(); ++r) EXPECT_TRUE(IsExactDecimal(rs.ValueAt(r, 1)));
  EXPECT_EQ(rs.ValueAt(0, 1).toString(), QStringLiteral("99999999999999999.98"));
  // A query computes with the values a double holds.
  SourceRecordset query(Factory());
  query.Open(kConnection, QStringLiteral("SELECT Nome, Saldo FROM Codici WHERE Saldo > 1 AND Saldo < 1000000"));
  ASSERT_EQ(query.RecordCount(), 1);
  EXPECT_TRUE(Same(query.ValueAt(0, 1), exact("10")));
  query.Open(kConnection, QStringLiteral("SELECT Nome, Saldo FROM Codici ORDER BY Nome"));
  EXPECT_EQ(query.FieldType(1), ColumnType::Decimal);
  for (int r = 0; r < query.RecordCount(); ++r)
    EXPECT_TRUE(Same(query.ValueAt(r, 1), codes.rows[static_cast<size_t>(r)][1])) << r;
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

// A table goes into the in-memory database for a filter without changing
// the rows it was read into: a null text stays null once the filter is off,
// and so for the next recordset that opens the kept table.
TEST_F(SourceRecordsetTest, AFilterLeavesTheRowsReadAsTheyWere) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("note.dbf"));
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime()));
  SourceTable notes;
  notes.columns = {{QStringLiteral("Nome"), ColumnType::Text}, {QStringLiteral("Nota"), ColumnType::Text}};
  notes.rows = {{QStringLiteral("a"), QString()}, {QStringLiteral("b"), QStringLiteral("")}};
  source->tables[QStringLiteral("Note")] = notes;
  source->files[QStringLiteral("Note")] = file;
  SourceRecordset rs(Factory()), next(Factory());
  rs.Open(kConnection, QStringLiteral("Note"));
  rs.SetFilter(QStringLiteral("Nome <> 'z'"));
  rs.SetFilter(QString());
  next.Open(kConnection, QStringLiteral("Note"));
  EXPECT_EQ(source->reads, 1);
  for (SourceRecordset* r : {&rs, &next}) {
    ASSERT_EQ(r->RecordCount(), 2);
    EXPECT_TRUE(Same(r->ValueAt(0, 1), QVariant(QString())));
    EXPECT_TRUE(r->ValueAt(0, 1).toString().isNull());
    EXPECT_FALSE(r->ValueAt(1, 1).toString().isNull());
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
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Ålborg Anna"), QStringLiteral("Anna"), QStringLiteral("Zeno")}));

  // Zeno leaves, Carla comes: the filter and the sort apply to the new rows.
  auto& rows = source->tables[QStringLiteral("Persone")].rows;
  rows[2][5] = false;
  rows.push_back({QStringLiteral("Carla"), QVariant(), qint64(40), 1.0, QDate(1984, 2, 29), true});
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime().addSecs(60)));
  rs.Requery();
  EXPECT_EQ(Names(rs), (QStringList{QStringLiteral("Ålborg Anna"), QStringLiteral("Anna"), QStringLiteral("Carla")}));
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

// A table opened again after its file changed replaces the copy read
// before: while it is read again no copy of the rows read before is held,
// so the program never holds the table twice.
TEST_F(SourceRecordsetTest, ATableReadAgainIsNotHeldTwice) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("persone.dbf"));
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime()));
  source->files[QStringLiteral("Persone")] = file;
  // Every copy of the rows shares the source's text: it is the source's
  // alone when no copy is left.
  const QVariant& first = source->tables[QStringLiteral("Persone")].rows.front().front();
  ASSERT_EQ(first.typeId(), QMetaType::QString);
  const QString& marker = *static_cast<const QString*>(first.constData());
  std::vector<bool> aloneAtRead;
  source->duringRead = [&] { aloneAtRead.push_back(marker.isDetached()); };
  SourceRecordset rs(Factory());
  for (int open = 0; open < 3; ++open) {
    ASSERT_TRUE(Touch(file, QDateTime::currentDateTime().addSecs(60 * open)));
    rs.Open(kConnection, QStringLiteral("Persone"));
    EXPECT_EQ(rs.RecordCount(), 6);
  }
  EXPECT_EQ(aloneAtRead, (std::vector<bool>{true, true, true}));
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

// What a query source may do: read. Texts that would write a file, reach
// another database or run a second statement are refused before anything
// runs, and the folder they aim at stays as it was.
TEST_F(SourceRecordsetTest, QueryTextsThatWouldWriteAreRefusedAndWriteNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString userFile = dir.filePath(QStringLiteral("cliente.db"));
  {
    QFile f(userFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("dati del cliente");
  }
  const QString copy = dir.filePath(QStringLiteral("copia.db"));
  const QString oneSelect = QStringLiteral("La query dell'origine dati deve essere una sola istruzione SELECT.");
  const QString noWrites = QStringLiteral("La query dell'origine dati non può modificare dati o file.");
  const struct {
    QString query;
    QString message;  // empty: any refusal
  } cases[] = {
      {QStringLiteral("SELECT Nome FROM Persone); VACUUM INTO '%1'; SELECT (1").arg(copy), QString()},
      {QStringLiteral("VACUUM INTO '%1'").arg(copy), noWrites},
      {QStringLiteral("ATTACH DATABASE '%1' AS c; CREATE TABLE c.t (a)").arg(userFile), noWrites},
      {QStringLiteral("ATTACH '%1' AS n").arg(copy), noWrites},
      {QStringLiteral("SELECT * FROM Persone; DROP TABLE Persone"), oneSelect},
      {QStringLiteral("SELECT 1; VACUUM INTO '%1'").arg(copy), oneSelect},
      {QStringLiteral("SELECT Nome FROM Persone; SELECT Nome FROM Città"), oneSelect},
      {QStringLiteral("INSERT INTO Persone (Nome) VALUES ('x')"), noWrites},
      {QStringLiteral("UPDATE Persone SET Nome = 'x'"), noWrites},
      {QStringLiteral("DELETE FROM Persone"), noWrites},
      {QStringLiteral("CREATE TABLE x (a)"), noWrites},
      {QStringLiteral("CREATE TEMP VIEW v AS SELECT 1"), noWrites},
      {QStringLiteral("DROP TABLE Persone"), noWrites},
      {QStringLiteral("PRAGMA user_version = 5"), noWrites},
      {QStringLiteral("PRAGMA table_info(Persone)"), noWrites},
      {QStringLiteral("WITH c AS (SELECT 'x') INSERT INTO Persone (Nome) SELECT * FROM c"), noWrites},
      {QStringLiteral("BEGIN TRANSACTION"), noWrites},
      {QStringLiteral("SELECT load_extension('%1')").arg(dir.filePath(QStringLiteral("x.so"))), noWrites},
      {QStringLiteral("SELECT fts3_tokenizer('simple')"), noWrites},
      {QStringLiteral("SELECT pv_match(Nome) FROM Persone"), noWrites},
      {QStringLiteral("EXPLAIN SELECT 1"), oneSelect},
      {QStringLiteral("; -- nulla"), oneSelect},
  };
  for (const auto& c : cases) {
    SourceRecordset rs(Factory());
    try {
      rs.Open(kConnection, c.query);
      ADD_FAILURE() << "ran: " << c.query.toStdString();
    } catch (const DbError& e) {
      if (!c.message.isEmpty()) {
        EXPECT_EQ(e.Description(), c.message) << c.query.toStdString();
      }
    }
    EXPECT_FALSE(rs.IsOpen());
    // Nothing was written: the folder holds the user's file alone, as it was.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("cliente.db")})
        << c.query.toStdString();
    QFile f(userFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("dati del cliente")) << c.query.toStdString();
  }
  // A registration of each kind still opens.
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("SELECT Nome FROM Persone WHERE Attivo = True;"));
  EXPECT_EQ(rs.RecordCount(), 3);
}

// The program database is another connection: no source text can attach it
// and so none can name it.
TEST_F(SourceRecordsetTest, TheProgramDatabaseIsOutOfReach) {
  QTemporaryDir dir;
  const QString program = dir.filePath(QStringLiteral("plavik.db"));
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("program_fixture"));
    db.setDatabaseName(program);
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE x (segreto TEXT)")));
    ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO x VALUES ('password')")));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("program_fixture"));
  QFile f(program);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray before = f.readAll();
  f.close();

  SourceRecordset rs(Factory());
  EXPECT_THROW(rs.Open(kConnection, QStringLiteral("ATTACH DATABASE '%1' AS plavikdb").arg(program)), DbError);
  for (const char* query : {"SELECT * FROM plavikdb.x", "SELECT segreto FROM x"}) {
    try {
      rs.Open(kConnection, QString::fromLatin1(query));
      ADD_FAILURE() << query;
    } catch (const DbError& e) {
      EXPECT_TRUE(e.Description().startsWith(QStringLiteral("La tabella o il foglio"))) << e.what();
    }
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plavik.db")});
}

TEST_F(SourceRecordsetTest, QueryFormsThatReadStillRun) {
  const struct {
    const char* query;
    QStringList fields;
    int rows;
  } cases[] = {
      {"SELECT * FROM [Persone];", {}, 6},
      {"SELECT Nome FROM Persone ; ;  -- fine\n", {QStringLiteral("Nome")}, 6},
      {"SELECT Nome FROM Persone /* fine */", {QStringLiteral("Nome")}, 6},
      {"SELECT TOP 2 Nome FROM Persone ORDER BY Nome;", {QStringLiteral("Nome")}, 2},
      {"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 4) SELECT x FROM n",
       {QStringLiteral("x")},
       4},
      {"SELECT UPPER(Nome) AS N, Count(*) FROM Persone GROUP BY 1",
       {QStringLiteral("N"), QStringLiteral("Count(*)")},
       6},
      {"SELECT p.Nome, c.Nome, c.nome FROM Persone AS p JOIN [Città] AS c ON p.[Città] = c.Nome",
       {QStringLiteral("Nome"), QStringLiteral("Nome:1"), QStringLiteral("Nome:2")},
       3},
      {"VALUES (1, 'a'), (2, 'b')", {QStringLiteral("column1"), QStringLiteral("column2")}, 2},
  };
  for (const auto& c : cases) {
    SourceRecordset rs(Factory());
    rs.Open(kConnection, QString::fromUtf8(c.query));
    if (!c.fields.isEmpty()) {
      EXPECT_EQ(rs.FieldNames(), c.fields) << c.query;
    }
    EXPECT_EQ(rs.RecordCount(), c.rows) << c.query;
  }
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("SELECT Nome, Nascita, Attivo FROM Persone WHERE Nome = 'Anna'"));
  ASSERT_TRUE(rs.MoveFirst());
  EXPECT_EQ(rs.Value(1), QVariant(QDate(1973, 7, 4)));  // declared types kept
  EXPECT_EQ(rs.Value(2), QVariant(true));
  EXPECT_EQ(rs.FieldType(2), ColumnType::Boolean);
}

// A table or sheet that is gone says so in one message, however it was
// named and whenever it went.
TEST_F(SourceRecordsetTest, AMissingTableHasOneMessage) {
  const auto message = [](const char* name) {
    return QStringLiteral("La tabella o il foglio \"%1\" non esiste nell'origine dati.").arg(QString::fromUtf8(name));
  };
  const struct {
    const char* source;
    const char* missing;
  } cases[] = {
      {"Sparita", "Sparita"},
      {"[Foglio1$]", "Foglio1$"},
      {"Dati 2024$", "Dati 2024$"},
      {"SELECT * FROM Sparita", "Sparita"},
      {"SELECT p.Nome FROM Persone AS p JOIN [Altra] AS a ON p.Nome = a.Nome", "Altra"},
  };
  for (const auto& c : cases) {
    SourceRecordset rs(Factory());
    try {
      rs.Open(kConnection, QString::fromUtf8(c.source));
      ADD_FAILURE() << c.source;
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), message(c.missing)) << c.source;
    }
  }
  // Gone after the open: the next requery.
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("persone.dbf"));
  ASSERT_TRUE(Touch(file, QDateTime::currentDateTime()));
  source->files[QStringLiteral("Persone")] = file;
  int minutes = 0;
  for (const char* src : {"Persone", "SELECT Nome FROM Persone"}) {
    source->tables[QStringLiteral("Persone")] = People();
    ClearTableCache();
    SourceRecordset rs(Factory());
    rs.Open(kConnection, QString::fromUtf8(src));
    source->tables.erase(QStringLiteral("Persone"));
    ASSERT_TRUE(Touch(file, QDateTime::currentDateTime().addSecs(60 * ++minutes)));
    try {
      rs.Requery();
      ADD_FAILURE() << src;
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), message("Persone")) << src;
    }
    // What was on show stays, and can be filtered.
    EXPECT_TRUE(rs.IsOpen()) << src;
    EXPECT_EQ(rs.RecordCount(), 6) << src;
    rs.SetFilter(QStringLiteral("Nome LIKE '*a'"));
    EXPECT_EQ(rs.RecordCount(), 2) << src;
  }
}

// The bounds of what a user can type in a filter or a sort: long runs of
// wildcards, long chains, long sorts work and give the rows Criteria gives;
// what is too big is refused in the program's words, never SQLite's. A
// matcher that backtracks through the runs of wildcards would not end on
// them within the test's time limit.
TEST_F(SourceRecordsetTest, BoundsOfFiltersAndSorts) {
  const SourceTable people = People();
  QStringList names;
  for (const auto& c : people.columns) names << c.name;
  const auto chain = [](const QString& term, int n, const char* joint, const QString& last) {
    QStringList parts;
    for (int i = 0; i < n - 1; ++i) parts << term.arg(1000 + i);
    parts << last;
    return parts.join(QString::fromLatin1(joint));
  };
  QStringList manyKeys;
  for (int i = 0; i < 1000; ++i) manyKeys << QStringLiteral("[CITTÀ] ASC") << QStringLiteral("[Età] DESC") << "Nome";
  const QString parens = QString(101, QLatin1Char('(')) + "Età = 1" + QString(101, QLatin1Char(')'));
  const struct {
    const char* what;
    QString filter;
    QString sort;
    QStringList expected;  // names in order; empty with a refusal
    const char* refusal;   // the start of the message, or null
  } cases[] = {
      {"LIKE of 4,500 wildcards",
       "Nome LIKE '" + QString(4500, QLatin1Char('%')) + "NA'",
       "Nome",
       {QStringLiteral("Ålborg Anna"), QStringLiteral("Anna")},
       nullptr},
      {"1,000 OR",
       chain(QStringLiteral("Età = %1"), 1000, " OR ", QStringLiteral("Età = 28")),
       "",
       {QStringLiteral("élise")},
       nullptr},
      {"5,000 OR",
       chain(QStringLiteral("Età = %1"), 5000, " OR ", QStringLiteral("Nome LIKE 'z*'")),
       "",
       {QStringLiteral("Zeno")},
       nullptr},
      {"20,000 OR",
       chain(QStringLiteral("Età = %1"), 20000, " OR ", QStringLiteral("Età = 34")),
       "Nome DESC",
       {QStringLiteral("bruno"), QStringLiteral("Ålborg Anna")},
       nullptr},
      {"1,000 AND",
       chain(QStringLiteral("Età <> %1"), 1000, " AND ", QStringLiteral("Attivo = True")),
       "",
       {QStringLiteral("Ålborg Anna"), QStringLiteral("Anna")},
       nullptr},
      {"5,000 AND",
       chain(QStringLiteral("Età <> %1"), 5000, " AND ", QStringLiteral("Saldo > 50")),
       "",
       {QStringLiteral("bruno")},
       nullptr},
      {"20,000 AND",
       chain(QStringLiteral("Nome <> '%1'"), 20000, " AND ", QStringLiteral("Età < 30")),
       "",
       {QStringLiteral("élise"), QStringLiteral("O'Brien")},
       nullptr},
      {"3,000 sort keys, repeated",
       "",
       manyKeys.join(QStringLiteral(", ")),
       {QStringLiteral("Zeno"), QStringLiteral("Ålborg Anna"), QStringLiteral("O'Brien"), QStringLiteral("élise"),
        QStringLiteral("Anna"), QStringLiteral("bruno")},
       nullptr},
      {"101 parentheses", parens, "", {}, "Argomenti di tipo errato"},
  };
  SourceRecordset byName(Factory()), byQuery(Factory());
  byName.Open(kConnection, QStringLiteral("Persone"));
  byQuery.Open(kConnection, QStringLiteral("SELECT * FROM Persone"));
  for (const auto& c : cases) {
    for (SourceRecordset* rs : {&byName, &byQuery}) {
      rs->SetFilter(QString());
      rs->SetSort(QString());
      try {
        rs->SetFilter(c.filter);
        rs->SetSort(c.sort);
        EXPECT_EQ(c.refusal, nullptr) << c.what;
      } catch (const DbError& e) {
        ASSERT_NE(c.refusal, nullptr) << c.what << ": " << e.what();
        EXPECT_TRUE(e.Description().startsWith(QString::fromUtf8(c.refusal))) << c.what << ": " << e.what();
        continue;
      }
      EXPECT_EQ(Names(*rs), c.expected) << c.what;
      // The rows Criteria lets through, in the source's order.
      const Criteria criteria = Criteria::Parse(c.filter, names);
      QSet<QString> matched;
      for (const auto& row : people.rows) {
        if (criteria.Matches(row)) matched.insert(row[0].toString());
      }
      EXPECT_EQ(QSet<QString>(c.expected.cbegin(), c.expected.cend()), matched) << c.what;
    }
  }
  // The LIKE alone, matching nothing: every split of every name is tried
  // by a backtracking matcher.
  byName.SetFilter("Nome LIKE '" + QString(4500, QLatin1Char('%')) + "b'");
  EXPECT_EQ(byName.RecordCount(), 0);
}

// Tables as wide as the database allows: a filter over more fields than an
// SQL call takes, a sort over more fields than an ORDER BY takes, a table
// wider than the database's own tables.
TEST_F(SourceRecordsetTest, WideTablesFilterAndSortOrSayWhyNot) {
  const auto wide = [](int columns) {
    SourceTable t;
    for (int i = 0; i < columns; ++i) t.columns.push_back({QStringLiteral("F%1").arg(i), ColumnType::Integer});
    for (qint64 r = 0; r < 4; ++r) {
      std::vector<QVariant> row;
      for (int i = 0; i < columns; ++i) row.emplace_back((r * 7 + i) % 4);
      t.rows.push_back(std::move(row));
    }
    return t;
  };
  source->tables[QStringLiteral("Larga")] = wide(2000);
  source->tables[QStringLiteral("Enorme")] = wide(2001);
  QStringList fields, keys;
  for (int i = 0; i < 2000; ++i) {
    fields << QStringLiteral("F%1").arg(i);
    keys << QStringLiteral("F%1 DESC").arg(i);
  }
  // 200 fields OR-ed: the rows where one of them is 3 (all four rows) less
  // those with F0 = 0.
  QStringList terms;
  for (int i = 0; i < 200; ++i) terms << QStringLiteral("F%1 = 3").arg(i);
  const QString filter = QStringLiteral("(%1) AND F0 <> 0").arg(terms.join(QStringLiteral(" OR ")));
  const Criteria criteria = Criteria::Parse(filter, fields);
  int expected = 0;
  for (const auto& row : source->tables[QStringLiteral("Larga")].rows) expected += criteria.Matches(row) ? 1 : 0;
  ASSERT_EQ(expected, 3);

  for (const char* src : {"Larga", "SELECT * FROM Larga"}) {
    SourceRecordset rs(Factory());
    rs.Open(kConnection, QString::fromLatin1(src));
    rs.SetFilter(filter);
    EXPECT_EQ(rs.RecordCount(), expected) << src;
    rs.SetSort(QStringList(keys.mid(0, 1999)).join(QStringLiteral(", ")));
    EXPECT_EQ(rs.RecordCount(), expected) << src;
    try {
      rs.SetSort(keys.join(QStringLiteral(", ")));
      ADD_FAILURE() << src;
    } catch (const DbError& e) {
      EXPECT_EQ(e.Description(), QStringLiteral("L'ordinamento usa troppi campi diversi: al massimo 1999.")) << src;
    }
  }
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("Enorme"));
  EXPECT_EQ(rs.RecordCount(), 4);
  try {
    rs.SetFilter(QStringLiteral("F0 = 1"));
    ADD_FAILURE();
  } catch (const DbError& e) {
    EXPECT_EQ(e.Description(), QStringLiteral("Impossibile applicare il filtro o l'ordinamento all'origine dati."));
  }
  EXPECT_EQ(rs.RecordCount(), 4);
}

// A wait the test answers for the user: `during` runs at each call, as the
// window's events do; it cancels at its call number `cancelAt` (0: never).
class AnsweringWait : public ReaderWait {
 public:
  bool Waiting(std::chrono::milliseconds) override {
    ++calls;
    if (during) during();
    return cancelAt == 0 || calls < cancelAt;
  }
  int calls = 0;
  int cancelAt = 0;
  std::function<void()> during;
};

// A sort of a big table is work the user waits for: the wait is asked
// while it runs, the rows on show stay readable and unchanged meanwhile,
// and a cancel leaves the sort in force as it was.
TEST_F(SourceRecordsetTest, ABigSortIsWaitedForAndACancelKeepsTheRowsInForce) {
  constexpr int kRows = 300000;
  SourceTable big;
  big.columns = {{QStringLiteral("NOME"), ColumnType::Text}, {QStringLiteral("NUM"), ColumnType::Integer}};
  for (int i = 0; i < kRows; ++i)
    big.rows.push_back({QStringLiteral("Nome %1").arg(kRows - i, 6, 10, QLatin1Char('0')), QVariant(qint64{i})});
  source->tables[QStringLiteral("Grande")] = std::move(big);
  SourceRecordset rs(Factory());
  rs.Open(kConnection, QStringLiteral("Grande"));

  const auto wait = std::make_shared<AnsweringWait>();
  const testing::ReaderSettingsScope scope(testing::WithWait(wait));
  QStringList seen;
  wait->during = [&] {
    seen << rs.ValueAt(0, 1).toString();
    try {
      rs.SetFilter(QStringLiteral("[NUM] < 3"));
      seen << QStringLiteral("filtered");
    } catch (const DbError& e) {
      seen << e.Description();
    }
  };
  rs.SetSort(QStringLiteral("[NOME] ASC"));
  EXPECT_EQ(rs.ValueAt(0, 1), QVariant(qint64{kRows - 1}));
  ASSERT_GE(wait->calls, 1);
  EXPECT_EQ(seen.mid(0, 2),
            (QStringList{QStringLiteral("0"), QStringLiteral("L'origine dati sta già leggendo: attendere la fine della "
                                                             "lettura.")}));

  wait->during = nullptr;
  wait->calls = 0;
  wait->cancelAt = 1;
  try {
    rs.SetSort(QStringLiteral("[NOME] DESC"));
    ADD_FAILURE() << "not cancelled";
  } catch (const DbError& e) {
    EXPECT_EQ(e.Number(), DbErrCancelled);
  }
  SetReaderSettings(scope.Saved());
  EXPECT_EQ(rs.Sort(), QStringLiteral("[NOME] ASC"));
  EXPECT_EQ(rs.RecordCount(), kRows);
  EXPECT_EQ(rs.ValueAt(0, 1), QVariant(qint64{kRows - 1}));
  rs.SetFilter(QStringLiteral("[NUM] < 3"));
  EXPECT_EQ(Names(rs),
            (QStringList{QStringLiteral("Nome 299998"), QStringLiteral("Nome 299999"), QStringLiteral("Nome 300000")}));
}

}  // namespace
}  // namespace pv
