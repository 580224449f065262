#include "datasources/readers/accessvalues.h"
#include "datasources/readers/sourcereader.h"
#include "platform/exactdecimal.h"
#include "sampletable.h"
#include "testfiles.h"
#include "tests/support/jetwriter.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pv {
namespace {

using testing::DamagedFile;
using testing::ExactValue;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
using testing::JetColumn;
using testing::JetTable;
using testing::JetType;
using testing::SampleTable;

// The sample table as Access holds it: dates are date-times, and logicals
// are never Null.
JetTable SampleJetTable(const QString& name) {
  JetTable table{name,
                 {{QStringLiteral("NOME"), JetType::Text},
                  {QStringLiteral("NUMERO"), JetType::Long},
                  {QStringLiteral("IMPORTO"), JetType::Double},
                  {QStringLiteral("DATA"), JetType::DateTime},
                  {QStringLiteral("ATTIVO"), JetType::Boolean}},
                 SampleTable().rows};
  table.rows[2][4] = false;
  return table;
}

SourceTable ExpectedSample() {
  SourceTable expected = SampleTable();
  expected.columns[3].type = ColumnType::DateTime;
  for (auto& row : expected.rows) {
    if (row[3].isValid()) row[3] = QDateTime(row[3].toDate(), QTime(0, 0), Qt::UTC);
  }
  expected.rows[2][4] = false;
  return expected;
}

class AccessReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("dati.mdb"));
    JetTable other{QStringLiteral("Città"),
                   {{QStringLiteral("Codice"), JetType::Short}, {QStringLiteral("Quando"), JetType::DateTime}},
                   {{QVariant(7), QVariant(QDateTime(QDate(2023, 6, 30), QTime(18, 45, 30), Qt::UTC))},
                    {QVariant(-3), QVariant()}}};
    ASSERT_TRUE(testing::WriteJetDatabase(m_path, {SampleJetTable(QStringLiteral("Anagrafe")), other},
                                          {QStringLiteral("Vista clienti")}));
  }

  std::unique_ptr<SourceReader> Open(const QString& path) {
    return OpenSourceReader({SourceKind::Access, path, {}, {}});
  }

  QTemporaryDir m_dir;
  QString m_path;
};

TEST_F(AccessReaderTest, ReadsTheSampleTableTyped) {
  auto reader = Open(m_path);
  ExpectSameTable(reader->ReadTable(QStringLiteral("Anagrafe")), ExpectedSample());

  SourceTable other;
  other.columns = {{QStringLiteral("Codice"), ColumnType::Integer}, {QStringLiteral("Quando"), ColumnType::DateTime}};
  other.rows = {{QVariant(qint64{7}), QVariant(QDateTime(QDate(2023, 6, 30), QTime(18, 45, 30), Qt::UTC))},
                {QVariant(qint64{-3}), QVariant()}};
  ExpectSameTable(reader->ReadTable(QString::fromUtf8("CITTÀ")), other);
}

TEST_F(AccessReaderTest, ListsUserTablesOnlyAndFindsThemInAnyCase) {
  auto reader = Open(m_path);
  EXPECT_EQ(reader->Tables(), (QStringList{QStringLiteral("Anagrafe"), QString::fromUtf8("Città")}));
  const std::vector<SourceColumn> columns = reader->Columns(QStringLiteral("anagrafe"));
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(columns[0].name, QStringLiteral("NOME"));
  EXPECT_EQ(columns[4].type, ColumnType::Boolean);
  EXPECT_EQ(reader->TableFile(QStringLiteral("ANAGRAFE")), m_path);
  // A saved query or a system table is not a table to open.
  for (const char* name : {"Vista clienti", "MSysObjects", "Fatture"}) {
    EXPECT_THROW(reader->ReadTable(QString::fromLatin1(name)), DbError) << name;
    EXPECT_THROW(reader->Columns(QString::fromLatin1(name)), DbError) << name;
  }
}

TEST_F(AccessReaderTest, ReadsTablesSpreadOverManyPages) {
  JetTable big{
      QStringLiteral("Grande"), {{QStringLiteral("N"), JetType::Long}, {QStringLiteral("T"), JetType::Text}}, {}};
  for (int i = 0; i < 2000; ++i) big.rows.push_back({QVariant(i), QVariant(QStringLiteral("riga %1").arg(i))});
  const QString path = m_dir.filePath(QStringLiteral("grande.mdb"));
  ASSERT_TRUE(testing::WriteJetDatabase(path, {big}));
  ASSERT_GT(QFile(path).size(), 10 * 4096);
  const SourceTable table = Open(path)->ReadTable(QStringLiteral("Grande"));
  ASSERT_EQ(table.rows.size(), 2000u);
  for (size_t i = 0; i < table.rows.size(); i += 399) {
    EXPECT_EQ(table.rows[i][0].toLongLong(), static_cast<qint64>(i));
    EXPECT_EQ(table.rows[i][1].toString(), QStringLiteral("riga %1").arg(i));
  }
}

// The writer's files read the same in mdbtools' own export tool.
TEST_F(AccessReaderTest, TheTestWritersFilesExportWithMdbtools) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
  if (tool.isEmpty()) GTEST_SKIP() << "mdb-export is not installed";
  QProcess process;
  process.start(tool, {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M"), m_path, QStringLiteral("Anagrafe")});
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8("NOME,NUMERO,IMPORTO,DATA,ATTIVO\n"
                              "\"Niccolò Ferrè\",42,12.5,\"1980-02-29 00:00\",1\n"
                              "\"Perché più € l'anno\",-7,0.25,\"2024-12-31 00:00\",0\n"
                              ",,,,0\n"));
}

// Values libmdb reads wrongly or not at all, each read as the file holds it:
// the stored results of calculated columns (behind the bookkeeping Access
// puts before them), extended date/times, text beyond the basic plane
// (plain and compressed) and identifiers.
TEST_F(AccessReaderTest, ReadsTheValuesAsStored) {
  const QString smile = QString::fromUtf8("a😀a");
  const struct {
    JetColumn column;
    ColumnType type;
    QVariant written;
    QVariant read;
  } cases[] = {
      {{QStringLiteral("Doppio"), JetType::Double, true}, ColumnType::Double, 50.325, 50.325},
      {{QStringLiteral("Intero"), JetType::Long, true}, ColumnType::Integer, -268435456, qint64{-268435456}},
      {{QStringLiteral("Valuta"), JetType::Currency, true},
       ColumnType::Decimal,
       QStringLiteral("83333.3333"),
       ExactValue("83333.3333")},
      {{QStringLiteral("Decimale"), JetType::Decimal, true},
       ColumnType::Decimal,
       QStringLiteral("-83333.3333"),
       ExactValue("-83333.3333")},
      {{QStringLiteral("Grande"), JetType::Decimal, true},
       ColumnType::Decimal,
       QStringLiteral("92233720368.54775807"),
       ExactValue("92233720368.54775807")},
      {{QStringLiteral("Quando"), JetType::DateTime, true},
       ColumnType::DateTime,
       QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58), Qt::UTC),
       QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58), Qt::UTC)},
      {{QStringLiteral("Nome"), JetType::Text, true},
       ColumnType::Text,
       QStringLiteral("Wayne, Bruce=Wayne, Bruce"),
       QStringLiteral("Wayne, Bruce=Wayne, Bruce")},
      {{QStringLiteral("Esteso"), JetType::ExtendedDateTime},
       ColumnType::DateTime,
       QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC),
       QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)},
      {{QStringLiteral("Esteso2"), JetType::ExtendedDateTime},
       ColumnType::DateTime,
       QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC),
       QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC)},
      {{QStringLiteral("Testo"), JetType::Text}, ColumnType::Text, smile, smile},
      {{QStringLiteral("NotaBreve"), JetType::Memo}, ColumnType::Text, smile, smile},
      {{QStringLiteral("NotaLunga"), JetType::Memo}, ColumnType::Text, smile.repeated(40), smile.repeated(40)},
      // Long text results: in the row, and in a page of their own.
      {{QStringLiteral("Formula"), JetType::Memo, true}, ColumnType::Text, smile, smile},
      {{QStringLiteral("FormulaLunga"), JetType::Memo, true},
       ColumnType::Text,
       QStringLiteral("Wayne, Bruce=Wayne, Bruce"),
       QStringLiteral("Wayne, Bruce=Wayne, Bruce")},
      {{QStringLiteral("Compresso"), JetType::Text, false, true},
       ColumnType::Text,
       QString::fromUtf8("Città € 𝄞!"),
       QString::fromUtf8("Città € 𝄞!")},
      {{QStringLiteral("Id"), JetType::Guid},
       ColumnType::Text,
       QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"),
       QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")},
  };
  JetTable table{QStringLiteral("Valori"), {}, {{}, {}}};
  SourceTable expected;
  for (const auto& c : cases) {
    table.columns.push_back(c.column);
    table.rows[0].push_back(c.written);
    table.rows[1].push_back(QVariant());
    expected.columns.push_back({c.column.name, c.type});
  }
  expected.rows = {{}, std::vector<QVariant>(std::size(cases))};
  for (const auto& c : cases) expected.rows[0].push_back(c.read);
  const QString path = m_dir.filePath(QStringLiteral("valori.accdb"));
  ASSERT_TRUE(testing::WriteJetDatabase(path, {table}));
  ASSERT_GE(testing::ReadBytes(path).count("LVAL"), 2);  // the long memos' pages
  ExpectSameTable(Open(path)->ReadTable(QStringLiteral("Valori")), expected);
}

// Stored bytes that hold no value of their column read as Null.
TEST(AccessValues, BytesThatHoldNoValueReadAsNull) {
  const QByteArray head(16, '\x10');
  const auto calculated = [&](qint32 length, const QByteArray& result) {
    QByteArray bytes = head;
    for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((length >> (8 * i)) & 0xff));
    return bytes + result;
  };
  const struct {
    const char* name;
    int type;
    QByteArray bytes;
    bool calculated;
  } cases[] = {
      {"calculated value shorter than its header", 0x07, head, true},
      {"calculated double of 4 bytes", 0x07, calculated(4, QByteArray(4, '\x40')), true},
      {"calculated double longer than what is stored", 0x07, calculated(8, QByteArray(6, '\x40')), true},
      {"calculated whole number stored as a double", 0x04, calculated(8, QByteArray(8, '\x40')), true},
      {"calculated decimal of a scale past 28", 0x10,
       calculated(20, QByteArray("\x12\0\x1d\0", 4) + QByteArray(16, '\1')), true},
      {"calculated memo", 0x0c, calculated(4, "abcd"), true},
      {"extended date/time with letters", kJetExtendedDateTime,
       QByteArray("00000000000000000x1:000000000000.0000000:7\0"), false},
      {"extended date/time past the day's seconds", kJetExtendedDateTime,
       QByteArray("0000000000000000001:000000086400.0000000:7\0"), false},
      {"extended date/time past year 9999", kJetExtendedDateTime,
       QByteArray("0000000000003652059:000000000000.0000000:7\0"), false},
      {"identifier of 15 bytes", 0x0f, QByteArray(15, '\1'), false},
  };
  for (const auto& c : cases) {
    const QVariant value =
        c.calculated ? JetCalculatedValue(c.type, c.bytes, false) : JetFixedValue(c.type, c.bytes, false);
    EXPECT_FALSE(value.isValid()) << c.name << ": " << testing::Describe(value).toStdString();
  }
  // Compressed text cut inside a character of two bytes keeps what is whole.
  EXPECT_EQ(JetText(QByteArray("\xff\xfe"
                               "ab\0\x3d",
                               6)),
            QStringLiteral("ab"));
}

// Page 1 of the test writer's files holds every table's usage maps (the map
// of the pages that hold its rows), the system catalogue's first: a row count
// at 12, the rows' offsets after it, each row a kind byte, the first page the
// map covers and a bitmap. Each table has two rows there, its usage map first.
constexpr int kMapPage = 4096;
constexpr int kCataloguePage = 2 * 4096;
constexpr int kUsageMapOfDefinition = 55;  // where a table definition points at its usage map

int Word16At(const QByteArray& bytes, int at) {
  return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

void SetWord16(QByteArray& bytes, int at, int value) {
  bytes[at] = static_cast<char>(value & 0xff);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xff);
}

int MapRowOffsetAt(int row) { return kMapPage + 14 + 2 * row; }

TEST_F(AccessReaderTest, DamagedOrForeignFilesFailToOpen) {
  const QByteArray good = testing::ReadBytes(m_path);
  ASSERT_GE(good.size(), 6 * 4096);
  const int mapRows = Word16At(good, kMapPage + 12);
  ASSERT_GE(mapRows, 4);
  // mdbtools read a table's usage map of no bytes through a null pointer.
  QByteArray emptyMaps = good;
  for (int row = 2; row < mapRows; row += 2)
    SetWord16(emptyMaps, MapRowOffsetAt(row), Word16At(good, MapRowOffsetAt(row - 1)));
  const auto withMapOffsets = [&](int offset) {
    QByteArray bytes = good;
    for (int row = 0; row < mapRows; ++row) SetWord16(bytes, MapRowOffsetAt(row), offset);
    return bytes;
  };
  QByteArray farMaps = good;  // bitmaps covering pages far past the file
  for (int row = 0; row < mapRows; ++row) farMaps[kMapPage + Word16At(good, MapRowOffsetAt(row)) + 4] = '\x7f';
  QByteArray unknownMaps = good;
  for (int row = 2; row < mapRows; row += 2) unknownMaps[kMapPage + Word16At(good, MapRowOffsetAt(row))] = 7;
  QByteArray wipedDefinition = good;
  wipedDefinition.replace(4 * 4096, 4096, QByteArray(4096, '\x5a'));  // the first user table's definition
  QByteArray wipedCatalog = good;
  wipedCatalog.replace(3 * 4096, 4096, QByteArray(4096, '\xff'));
  QByteArray otherVersion = good;
  otherVersion[0x14] = 0x40;
  const std::vector<DamagedFile> cases = {
      {"truncated mid-page", good.left(good.size() - 1000)},
      {"truncated at a page", good.left(3 * 4096)},
      {"header only", good.left(4096)},
      {"empty", QByteArray()},
      {"text", QByteArray("Standard Jet DB? no, a letter.\n").repeated(500)},
      {"unknown version", otherVersion},
      {"definition wiped", wipedDefinition},
      {"catalogue wiped", wipedCatalog},
      {"usage maps of no bytes", emptyMaps, "mappa delle pagine"},
      {"usage maps of an unknown kind", unknownMaps, "mappa delle pagine"},
      {"usage maps one byte long", withMapOffsets(4096 - 1)},
      {"usage maps starting past their page", withMapOffsets(0x1ff0)},
      {"usage maps covering pages past the file", farMaps},
  };
  const QString path = m_dir.filePath(QStringLiteral("rotto.mdb"));
  ExpectDamagedFilesFail(cases, path, [&] { Open(path)->ReadTable(QStringLiteral("Anagrafe")); });

  EXPECT_THROW(Open(m_dir.filePath(QStringLiteral("manca.mdb"))), DbError);
}

// Files that crash mdbtools inside its own reading of the catalogue: the
// catalogue's map of pages is checked before mdbtools reads it.
TEST_F(AccessReaderTest, FilesThatCrashTheLibraryAreRefused) {
  const QByteArray good = testing::ReadBytes(m_path);
  // The catalogue's usage map made a row of no bytes (its row ends where
  // the next row starts), and the catalogue's definition pointed at it.
  QByteArray emptyCatalogueMap = good;
  SetWord16(emptyCatalogueMap, MapRowOffsetAt(1), Word16At(good, MapRowOffsetAt(0)));
  SetWord16(emptyCatalogueMap, kCataloguePage + kUsageMapOfDefinition, (1 << 8) | 1);
  SetWord16(emptyCatalogueMap, kCataloguePage + kUsageMapOfDefinition + 2, 0);
  const std::vector<DamagedFile> cases = {
      {"catalogue's usage map of no bytes", emptyCatalogueMap, "mappa delle pagine del catalogo"},
  };
  const QString path = m_dir.filePath(QStringLiteral("rotto.mdb"));
  ExpectDamagedFilesFail(cases, path, [&] { Open(path)->ReadTable(QStringLiteral("Anagrafe")); });
}

}  // namespace
}  // namespace pv
