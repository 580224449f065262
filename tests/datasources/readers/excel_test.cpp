#include "datasources/readers/sourcereader.h"
#include "sampletable.h"
#include "testfiles.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pv {
namespace {

using testing::DamagedFile;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
using testing::SampleTable;

// Written by fixtures/make_workbook.py.
QString Workbook() { return QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/fixtures/workbook.xls"); }

std::unique_ptr<SourceReader> Open(const QString& path) { return OpenSourceReader({SourceKind::Excel, path, {}, {}}); }

// The test workbook's stream of records starts at its first sector and runs
// on in order.
constexpr int kStreamStart = 512;
constexpr quint16 kDimensions = 0x0200;

quint16 WordAt(const QByteArray& bytes, qsizetype at) {
  return static_cast<quint16>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

void PutWord(QByteArray& bytes, qsizetype at, quint32 value) {
  bytes[at] = static_cast<char>(value & 0xff);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xff);
}

// Where the records of one type start (at their type), in stream order.
std::vector<qsizetype> RecordsOfType(const QByteArray& book, quint16 type) {
  std::vector<qsizetype> found;
  for (qsizetype at = kStreamStart; at + 4 <= book.size();) {
    const quint16 recordType = WordAt(book, at);
    const quint16 size = WordAt(book, at + 2);
    if (recordType == 0 && size == 0) break;
    if (recordType == type) found.push_back(at);
    at += 4 + size;
  }
  return found;
}

// The first sheet's dimensions record set to rows x columns (BIFF 8: rows
// in 32 bits at 8, columns at 14, counting from the record's type).
QByteArray WithDimensions(const QByteArray& book, quint32 rows, quint32 columns) {
  QByteArray bytes = book;
  const std::vector<qsizetype> dimensions = RecordsOfType(bytes, kDimensions);
  EXPECT_FALSE(dimensions.empty());
  if (dimensions.empty()) return bytes;
  PutWord(bytes, dimensions[0] + 8, rows & 0xffff);
  PutWord(bytes, dimensions[0] + 10, rows >> 16);
  PutWord(bytes, dimensions[0] + 14, columns);
  return bytes;
}

TEST(ExcelReader, ReadsTheSampleSheetTyped) {
  ExpectSameTable(Open(Workbook())->ReadTable(QStringLiteral("Anagrafe$")), SampleTable());
}

TEST(ExcelReader, ColumnsMixingKindsOfValuesReadAsText) {
  SourceTable expected;
  expected.columns = {{QStringLiteral("CODICE"), ColumnType::Text},
                      {QStringLiteral("VALORE"), ColumnType::Double},
                      {QStringLiteral("QUANDO"), ColumnType::DateTime},
                      {QStringLiteral("F4"), ColumnType::Text},
                      {QStringLiteral("TESTO"), ColumnType::Text}};
  expected.rows = {
      {QVariant(QStringLiteral("101")), QVariant(1.0),
       QVariant(QDateTime(QDate(2023, 6, 30), QTime(18, 45, 30), Qt::UTC)), QVariant(QStringLiteral("x")),
       QVariant(QStringLiteral("uno"))},
      {QVariant(QStringLiteral("A-7")), QVariant(2.5), QVariant(QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC)),
       QVariant(), QVariant()},
      {QVariant(QStringLiteral("5.5")), QVariant(), QVariant(), QVariant(), QVariant(QStringLiteral("tre"))},
  };
  auto reader = Open(Workbook());
  ExpectSameTable(reader->ReadTable(QStringLiteral("Misto$")), expected);
  const std::vector<SourceColumn> columns = reader->Columns(QStringLiteral("misto$"));
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(columns[1].type, ColumnType::Double);
}

TEST(ExcelReader, SheetsAreTablesNamedWithADollar) {
  auto reader = Open(Workbook());
  EXPECT_EQ(reader->Tables(), (QStringList{QStringLiteral("Anagrafe$"), QStringLiteral("Misto$"),
                                           QString::fromUtf8("Città e province$")}));
  const SourceTable cities = reader->ReadTable(QString::fromUtf8("CITTÀ E PROVINCE$"));
  ASSERT_EQ(cities.rows.size(), 1u);
  EXPECT_EQ(cities.rows[0][0], QVariant(QStringLiteral("06012")));  // text keeps its leading zero
  EXPECT_EQ(cities.columns[1].name, QString::fromUtf8("CITTÀ"));
  EXPECT_EQ(reader->TableFile(QStringLiteral("anagrafe$")), Workbook());
  for (const char* name : {"Anagrafe", "Fatture$", "$"})
    EXPECT_THROW(reader->ReadTable(QString::fromLatin1(name)), DbError) << name;
}

TEST(ExcelReader, ASheetIsReadAsFarAsItsCellsReachWhateverItsDimensionsClaim) {
  // 65,536 rows of 256 columns claimed, 3 rows of 5 held (the last one of
  // blank cells, which still counts).
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("grande.xls"));
  testing::WriteBytes(path, WithDimensions(testing::ReadBytes(Workbook()), 65536, 256));
  ExpectSameTable(Open(path)->ReadTable(QStringLiteral("Anagrafe$")), SampleTable());
}

TEST(ExcelReader, DamagedOrForeignFilesFailToOpen) {
  const QByteArray good = testing::ReadBytes(Workbook());
  ASSERT_GT(good.size(), 2048);
  QByteArray scrambled = good;
  for (int i = 512; i < scrambled.size(); i += 7) scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5a);
  // A cell record retyped as a dimensions record: its bytes claim a second,
  // larger extent for the sheet.
  QByteArray retyped = good;
  const std::vector<qsizetype> dimensions = RecordsOfType(good, kDimensions);
  ASSERT_FALSE(dimensions.empty());
  const std::vector<qsizetype> numbers = RecordsOfType(good, 0x0203);
  ASSERT_FALSE(numbers.empty());
  ASSERT_GT(numbers[0], dimensions[0]);
  PutWord(retyped, numbers[0], kDimensions);
  QByteArray secondDimensions = retyped;         // the same, its bytes reading as dimensions a sheet may have
  PutWord(secondDimensions, numbers[0] + 8, 2);  // 2 rows
  PutWord(secondDimensions, numbers[0] + 10, 0);
  PutWord(secondDimensions, numbers[0] + 14, 2);  // of 2 columns
  QByteArray shortDimensions = good;
  PutWord(shortDimensions, dimensions[0] + 2, 4);  // too short to hold what it must
  const std::vector<DamagedFile> cases = {
      {"truncated", good.left(good.size() / 2)},
      {"header only", good.left(512)},
      {"empty", QByteArray()},
      {"text", QByteArray("NOME\tCOGNOME\nMario\tRossi\n").repeated(100)},
      {"scrambled", scrambled},
      {"cell retyped as dimensions", retyped, "più di quante"},
      {"cell retyped as plausible dimensions", secondDimensions, "due volte"},
      {"more rows than a sheet has", WithDimensions(good, 65537, 5), "65537 righe per 5 colonne"},
      {"more columns than a sheet has", WithDimensions(good, 4, 257), "più di quante"},
      // Their product wraps round in 32 bits.
      {"a cell table that wraps round", WithDimensions(good, 0x01000000, 256), "più di quante"},
      {"dimensions cut short", shortDimensions, "dimensioni danneggiate"},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("rotto.xls"));
  ExpectDamagedFilesFail(cases, path, [&] { Open(path)->ReadTable(QStringLiteral("Anagrafe$")); });

  EXPECT_THROW(Open(dir.filePath(QStringLiteral("manca.xls"))), DbError);
}

// Workbooks that made the library this reader replaced read memory not
// theirs or lose its own (found by fuzzing, kept as they were found): the
// reader reads every table of each, or refuses it with a reason, and never
// leaves the bytes it was given (the sanitizer build checks).
TEST(ExcelReader, WorkbooksThatClaimMoreThanTheyHoldAreReadWithinTheirBytes) {
  const QByteArray good = testing::ReadBytes(Workbook());
  // The root entry of the compound file claiming a name of 65,535 bytes,
  // where an entry holds 64: the library decoded that many from its entry of
  // 128 (AddressSanitizer: stack-buffer-underflow in iconv). Found by
  // fuzzing, kept as it was found.
  const QByteArray longName =
      testing::ReadBytes(QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/fixtures/long-entry-name.xls"));
  // The last sheet's end retyped, and a shared-text cell's record grown
  // over the next records' (as fuzzing found it): the library lost the memory of
  // the sheet it gave up on.
  const std::vector<qsizetype> ends = RecordsOfType(good, 0x000A);
  ASSERT_FALSE(ends.empty());
  QByteArray endless = good;
  PutWord(endless, ends.back(), 0x0012);
  // A number format's text claiming 65,535 characters of two bytes in a
  // record of 15: the library copied 131,070 bytes (AddressSanitizer:
  // heap-buffer-overflow). Found by fuzzing.
  const QByteArray longFormat =
      testing::ReadBytes(QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/fixtures/long-format-text.xls"));
  const QByteArray swallowedEnd =
      testing::ReadBytes(QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/fixtures/sheet-without-end.xls"));
  const std::pair<const char*, QByteArray> cases[] = {
      {"an entry's name longer than an entry", longName},
      {"a number format's text longer than its record", longFormat},
      {"a sheet without its end", endless},
      {"a sheet's end swallowed by a record", swallowedEnd},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fuzz.xls"));
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    testing::WriteBytes(path, bytes);
    try {
      const std::unique_ptr<SourceReader> reader = Open(path);
      for (const QString& table : reader->Tables()) {
        const SourceTable read = reader->ReadTable(table);
        for (const auto& row : read.rows) EXPECT_EQ(row.size(), read.columns.size());
      }
    } catch (const DbError& error) {
      EXPECT_FALSE(error.Description().isEmpty());
    }
  }
}

}  // namespace
}  // namespace pv
