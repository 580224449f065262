#include "datasources/recordsnapshot.h"

#include "datasources/connectionstring.h"
#include "datasources/tablecache.h"
#include "fakereader.h"
#include "platform/exactdecimal.h"
#include "process/everyvalue.h"
#include "tests/support/coreapp.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>

namespace pv {
namespace {

// The same type and value, to the bit: doubles by their bits (NaN, -0), text
// null or empty, dates and date-times valid or not and in UTC or not,
// exact decimals by their text.
::testing::AssertionResult Exactly(const QVariant& a, const QVariant& b) {
  const auto show = [](const QVariant& v) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(v.typeName()), v.toString().left(40)).toStdString();
  };
  bool same = a.isValid() == b.isValid();
  if (same && a.isValid()) {
    same = a.metaType() == b.metaType();
    if (same) {
      switch (a.metaType().id()) {
        case QMetaType::Double: {
          const double x = a.toDouble(), y = b.toDouble();
          same = std::memcmp(&x, &y, sizeof x) == 0;
          break;
        }
        case QMetaType::QString: same = a.toString().isNull() == b.toString().isNull() && a == b; break;
        case QMetaType::QDate: same = a.toDate().isValid() == b.toDate().isValid() && a.toDate() == b.toDate(); break;
        case QMetaType::QDateTime: {
          const QDateTime x = a.toDateTime(), y = b.toDateTime();
          same = x.isValid() == y.isValid() && x == y && (!x.isValid() || x.timeSpec() == y.timeSpec());
          break;
        }
        default:
          if (IsExactDecimal(a)) {
            same = AsExactDecimal(a)->Text() == AsExactDecimal(b)->Text();
          } else {
            same = a == b;
          }
      }
    }
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << show(a) << " != " << show(b);
}

// Every field and row of `got` is the table's, typed exactly.
void ExpectRows(const SourceRecordset& got, const SourceTable& want) {
  ASSERT_EQ(got.FieldCount(), static_cast<int>(want.columns.size()));
  for (int f = 0; f < got.FieldCount(); ++f) {
    EXPECT_EQ(got.FieldName(f), want.columns[static_cast<size_t>(f)].name);
    EXPECT_EQ(got.FieldType(f), want.columns[static_cast<size_t>(f)].type) << f;
  }
  ASSERT_EQ(got.RecordCount(), static_cast<int>(want.rows.size()));
  for (int r = 0; r < got.RecordCount(); ++r) {
    for (int f = 0; f < got.FieldCount(); ++f)
      ASSERT_TRUE(Exactly(got.ValueAt(r, f), want.rows[static_cast<size_t>(r)][static_cast<size_t>(f)]))
          << "row " << r << " field " << f;
  }
}

// The fields and rows on show of a recordset, as a table.
SourceTable OnShow(const SourceRecordset& rs) {
  SourceTable t;
  for (int f = 0; f < rs.FieldCount(); ++f) t.columns.push_back({rs.FieldName(f), rs.FieldType(f)});
  for (int r = 0; r < rs.RecordCount(); ++r) {
    auto& row = t.rows.emplace_back();
    for (int f = 0; f < rs.FieldCount(); ++f) row.push_back(rs.ValueAt(r, f));
  }
  return t;
}

QVariant Exact(const char* text) { return QVariant::fromValue(*ExactDecimal::FromText(QString::fromLatin1(text))); }

class RecordSnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureCoreApplication();
    ClearTableCache();
  }
  // A recordset that must never read a source: whatever opens a reader fails.
  static SourceRecordset::ReaderFactory NoReader() {
    return [](const SourceLocation&) -> std::unique_ptr<SourceReader> {
      ADD_FAILURE() << "a reader was opened";
      return nullptr;
    };
  }
  static QString Sample() {
    return BuildConnectionString(kSourceDBaseIII, QStringLiteral(PLAVIK_PROGRAM_DIR "/database"), false, {}, {});
  }
};

TEST_F(RecordSnapshotTest, EveryKindOfValueComesBackExactly) {
  // The reader protocol's table of edges, many frames long, and values of
  // other types than their column's (a query's computed columns).
  SourceTable every = testing::EveryValueKind();
  SourceTable mixed;
  const struct {
    ColumnType type;
    QVariant value;
  } cases[] = {
      {ColumnType::Text, qint64(7)},
      {ColumnType::Integer, 2.5},
      {ColumnType::Double, Exact("-0.001")},
      {ColumnType::Decimal, QStringLiteral("12")},
      {ColumnType::Date, QDate()},
      {ColumnType::DateTime, QDateTime()},
      {ColumnType::DateTime, QDate(2024, 2, 29)},
      {ColumnType::Boolean, QVariant()},
      {ColumnType::Text, QString()},
      {ColumnType::Text, QStringLiteral("")},
      {ColumnType::Double, -std::numeric_limits<double>::quiet_NaN()},
  };
  std::vector<QVariant> row;
  for (const auto& c : cases) {
    mixed.columns.push_back({QStringLiteral("c%1").arg(mixed.columns.size()), c.type});
    row.push_back(c.value);
  }
  mixed.rows = {row, row};

  for (const SourceTable* table : {&every, &mixed}) {
    SourceRecordset original(NoReader());
    original.OpenRows(*table);
    ExpectRows(original, *table);
    const QByteArray snapshot = WriteRecordSnapshot(original);
    SourceRecordset copy(NoReader());
    OpenRecordSnapshot(copy, snapshot);
    ASSERT_TRUE(copy.IsOpen());
    ExpectRows(copy, *table);
    EXPECT_EQ(copy.FieldNames(), original.FieldNames());
    EXPECT_EQ(copy.Filter(), QString());
    EXPECT_EQ(copy.Sort(), QString());
    EXPECT_EQ(copy.Position(), 0);
    // Written again, it is the same snapshot.
    EXPECT_EQ(WriteRecordSnapshot(copy), snapshot);
  }
}

TEST_F(RecordSnapshotTest, TheOpenedRecordsetMovesAndAnswersAsAnyOther) {
  SourceRecordset original(NoReader());
  original.OpenRows(testing::EveryValueKind());
  SourceRecordset copy(NoReader());
  OpenRecordSnapshot(copy, WriteRecordSnapshot(original));
  EXPECT_EQ(copy.FieldIndex(QStringLiteral("TESTO ÀÉ")), 2);
  EXPECT_EQ(copy.FieldIndex(QStringLiteral("manca")), -1);
  ASSERT_TRUE(copy.MoveTo(3));
  EXPECT_TRUE(Exactly(copy.Value(QStringLiteral("intero")), QVariant(qint64{0})));
  EXPECT_TRUE(Exactly(copy.Value(QStringLiteral("DATA")), QVariant(QDate(-44, 3, 15))));
  EXPECT_THROW(copy.Value(QStringLiteral("manca")), DbError);
  ASSERT_TRUE(copy.MoveLast());
  EXPECT_EQ(copy.Position(), original.RecordCount() - 1);
  EXPECT_FALSE(copy.MoveNext());
  EXPECT_TRUE(copy.Eof());
  EXPECT_THROW(copy.Value(0), DbError);
  EXPECT_FALSE(copy.MoveTo(-1));
  EXPECT_TRUE(copy.Bof());

  // A filter and a sort apply to the rows as they were written; taken off
  // again, the rows are the snapshot's exactly, and so after a requery.
  copy.SetFilter(QStringLiteral("Intero >= 1000003 AND Intero <= 5000015"));
  EXPECT_EQ(copy.RecordCount(), 5);
  copy.SetSort(QStringLiteral("[Intero] DESC"));
  ASSERT_TRUE(copy.MoveFirst());
  EXPECT_EQ(copy.Value(0), QVariant(qint64{5000015}));
  copy.Requery();
  EXPECT_EQ(copy.RecordCount(), 5);
  EXPECT_EQ(copy.Value(0), QVariant(qint64{5000015}));
  copy.SetFilter(QString());
  copy.SetSort(QString());
  copy.Requery();
  ExpectRows(copy, testing::EveryValueKind());

  copy.Close();
  EXPECT_FALSE(copy.IsOpen());
  EXPECT_EQ(copy.RecordCount(), 0);
  EXPECT_THROW(WriteRecordSnapshot(copy), DbError);  // a closed recordset has no rows to keep
}

// The sample address list, filtered and sorted, then a query over it with a
// computed column: the copy shows the same rows in the same order, and a
// filter or a sort on the copy orders the rows as they were on show.
TEST_F(RecordSnapshotTest, ARealSourceFilteredAndSortedKeepsItsRowsOnShow) {
  SourceRecordset original;
  original.Open(Sample(), QStringLiteral("indirizzi"));
  ASSERT_EQ(original.RecordCount(), 200);
  original.SetFilter(QStringLiteral("CITTA LIKE 'M*' OR SALDO > 0"));
  original.SetSort(QStringLiteral("[CITTA] ASC, [SALDO] DESC"));
  ASSERT_GT(original.RecordCount(), 10);
  ASSERT_LT(original.RecordCount(), 200);
  const SourceTable shown = OnShow(original);

  SourceRecordset copy(NoReader());
  OpenRecordSnapshot(copy, WriteRecordSnapshot(original));
  ExpectRows(copy, shown);

  // Ties of a sort on the copy keep the order the rows were on show in.
  const auto saldo = static_cast<size_t>(copy.FieldIndex(QStringLiteral("saldo")));
  std::vector<size_t> order(shown.rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return shown.rows[a][saldo].toDouble() < shown.rows[b][saldo].toDouble();
  });
  copy.SetSort(QStringLiteral("[Saldo]"));
  ASSERT_EQ(copy.RecordCount(), static_cast<int>(order.size()));
  for (int r = 0; r < copy.RecordCount(); ++r) {
    for (int f = 0; f < copy.FieldCount(); ++f)
      ASSERT_TRUE(Exactly(copy.ValueAt(r, f), shown.rows[order[static_cast<size_t>(r)]][static_cast<size_t>(f)]));
  }

  original.Open(Sample(), QStringLiteral("SELECT NOME, SALDO * 2 AS DOPPIO, ATTIVO FROM indirizzi WHERE ATTIVO"));
  ASSERT_GT(original.RecordCount(), 0);
  OpenRecordSnapshot(copy, WriteRecordSnapshot(original));
  ExpectRows(copy, OnShow(original));
  EXPECT_EQ(copy.FieldType(1), ColumnType::Double);
}

TEST_F(RecordSnapshotTest, NoRowsNoFieldsAndManyFields) {
  const struct {
    const char* what;
    int fields;
    int rows;
  } cases[] = {
      {"nothing", 0, 0},           {"fields, no rows", 3, 0},
      {"rows of no fields", 0, 5}, {"rows of no fields, more than a frame holds", 0, 70000},
      {"many fields", 1500, 3},    {"one field, many frames", 1, 30000},
  };
  for (const auto& c : cases) {
    SourceTable table;
    for (int f = 0; f < c.fields; ++f) {
      table.columns.push_back({QStringLiteral("Campo %1").arg(f), f % 2 == 0 ? ColumnType::Text : ColumnType::Integer});
    }
    for (int r = 0; r < c.rows; ++r) {
      auto& row = table.rows.emplace_back();
      for (int f = 0; f < c.fields; ++f)
        row.push_back(f % 2 == 0 ? QVariant(QStringLiteral("%1.%2").arg(r).arg(f)) : QVariant(qint64{r} * f));
    }
    SourceRecordset original(NoReader());
    original.OpenRows(table);
    SourceRecordset copy(NoReader());
    OpenRecordSnapshot(copy, WriteRecordSnapshot(original));
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(copy.IsOpen());
    ExpectRows(copy, table);
    EXPECT_EQ(copy.Eof(), c.rows == 0);
  }
}

// Where the parts of a snapshot are: the offsets of its frames after the
// eight-byte mark (the table, the rows, the end).
std::vector<qsizetype> FrameStarts(const QByteArray& snapshot) {
  std::vector<qsizetype> starts;
  for (qsizetype at = 8; at + 5 <= snapshot.size();) {
    starts.push_back(at);
    std::uint32_t length = 0;
    std::memcpy(&length, snapshot.constData() + at, sizeof length);
    at += 5 + static_cast<qsizetype>(length);
  }
  return starts;
}

template <typename T>
void Put(QByteArray& bytes, qsizetype at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

TEST_F(RecordSnapshotTest, DamagedSnapshotsThrowAndLeaveTheRecordsetClosed) {
  SourceTable table;
  table.columns = {{QStringLiteral("Nome"), ColumnType::Text},
                   {QStringLiteral("Numero"), ColumnType::Integer},
                   {QStringLiteral("Importo"), ColumnType::Decimal}};
  table.rows = {{QStringLiteral("Anna"), qint64{1}, Exact("12.5")},
                {QStringLiteral("Bruno"), qint64{2}, QVariant()},
                {QString(), QVariant(), Exact("-3")}};
  SourceRecordset original(NoReader());
  original.OpenRows(table);
  const QByteArray good = WriteRecordSnapshot(original);
  const std::vector<qsizetype> frames = FrameStarts(good);
  ASSERT_EQ(frames.size(), 3u);
  const qsizetype columns = frames[0] + 5, rows = frames[1] + 5, end = frames[2] + 5;
  const qsizetype decimal = good.indexOf(QByteArray(reinterpret_cast<const char*>(u"12.5"), 8));
  ASSERT_GT(decimal, rows);

  const struct {
    const char* what;
    std::function<void(QByteArray&)> damage;
  } cases[] = {
      {"empty", [](QByteArray& s) { s.clear(); }},
      {"another mark", [](QByteArray& s) { s[0] = 'X'; }},
      {"another version", [](QByteArray& s) { s[7] = '9'; }},
      {"an unknown value tag", [&](QByteArray& s) { s[rows + 4] = 9; }},
      {"a text longer than the data", [&](QByteArray& s) { Put<std::uint32_t>(s, rows + 5, 0x7ffffff0); }},
      {"more rows than the frame holds", [&](QByteArray& s) { Put<std::uint32_t>(s, rows, 1000); }},
      {"fewer rows than the frame holds", [&](QByteArray& s) { Put<std::uint32_t>(s, rows, 2); }},
      {"more columns than the data", [&](QByteArray& s) { Put<std::uint32_t>(s, columns, 0x7fffffff); }},
      {"an unknown column type", [&](QByteArray& s) { s[columns + 4 + 4 + 8] = 7; }},
      {"a frame longer than the data", [&](QByteArray& s) { Put<std::uint32_t>(s, frames[1], 0xfffffff0); }},
      {"a frame of another kind", [&](QByteArray& s) { s[frames[1] + 4] = 'x'; }},
      {"more rows counted at the end", [&](QByteArray& s) { Put<std::int64_t>(s, end, 4); }},
      {"a negative count at the end", [&](QByteArray& s) { Put<std::int64_t>(s, end, -1); }},
      {"bytes after the end", [](QByteArray& s) { s.append('\0'); }},
      {"a decimal that is no number", [&](QByteArray& s) { s[decimal + 6] = 'x'; }},
      {"a decimal not in its canonical text", [&](QByteArray& s) { s[decimal] = '0'; }},
  };
  SourceRecordset rs(NoReader());
  const auto expectRefused = [&](const QByteArray& damaged, const std::string& what) {
    OpenRecordSnapshot(rs, good);
    ASSERT_TRUE(rs.IsOpen());
    EXPECT_THROW(OpenRecordSnapshot(rs, damaged), DbError) << what;
    EXPECT_FALSE(rs.IsOpen()) << what;
    EXPECT_EQ(rs.RecordCount(), 0) << what;
  };
  for (const auto& c : cases) {
    QByteArray damaged = good;
    c.damage(damaged);
    ASSERT_NE(damaged, good) << c.what;
    expectRefused(damaged, c.what);
  }
  // Cut anywhere: in the mark, a frame's header, the columns, a value, at
  // the end of the rows, in the count at the end.
  for (qsizetype size = 0; size < good.size(); ++size) expectRefused(good.left(size), "cut at " + std::to_string(size));
  // Any byte changed: the snapshot opens (a changed letter of a text is
  // still a snapshot) or throws DbError, never anything else.
  for (qsizetype at = 0; at < good.size(); ++at) {
    for (const char flip : {'\x01', '\x80', '\xff'}) {
      QByteArray changed = good;
      changed[at] = static_cast<char>(changed[at] ^ flip);
      try {
        OpenRecordSnapshot(rs, changed);
      } catch (const DbError&) {
        EXPECT_FALSE(rs.IsOpen());
      }
    }
  }
  OpenRecordSnapshot(rs, good);
  ExpectRows(rs, table);
}

TEST_F(RecordSnapshotTest, TheSameRecordsetOpensASourceAfterASnapshotAndBack) {
  SourceRecordset rs;
  rs.Open(Sample(), QStringLiteral("indirizzi"));
  rs.SetFilter(QStringLiteral("PROV = 'MI'"));
  const QByteArray snapshot = WriteRecordSnapshot(rs);
  const SourceTable milan = OnShow(rs);
  ASSERT_FALSE(milan.rows.empty());

  OpenRecordSnapshot(rs, snapshot);
  ExpectRows(rs, milan);
  EXPECT_EQ(rs.ConnectionString(), QString());
  rs.SetSort(QStringLiteral("[NOME]"));  // its own in-memory database

  rs.Open(Sample(), QStringLiteral("indirizzi"));
  EXPECT_EQ(rs.RecordCount(), 200);
  EXPECT_EQ(rs.Filter(), QString());
  rs.SetFilter(QStringLiteral("PROV = 'MI'"));
  ExpectRows(rs, milan);
  rs.Requery();
  ExpectRows(rs, milan);

  OpenRecordSnapshot(rs, snapshot);
  ExpectRows(rs, milan);
  rs.Close();
  rs.Open(Sample(), QStringLiteral("indirizzi"));
  EXPECT_EQ(rs.RecordCount(), 200);
}

}  // namespace
}  // namespace pv
