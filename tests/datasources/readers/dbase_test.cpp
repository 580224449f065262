#include "datasources/readers/sourcereader.h"
#include "platform/cp1252.h"
#include "platform/exactdecimal.h"
#include "dbffixture.h"
#include "sampletable.h"
#include "testfiles.h"

#include <shapefil.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <cstdlib>
#include <cstring>

namespace pv {
namespace {

using testing::BlockDigits;
using testing::DamagedFile;
using testing::DbfFixture;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
using testing::Le32;
using testing::Le64;
using testing::LeDouble;
using testing::MemoFixture;
using testing::ReadBytes;
using testing::SampleTable;
using testing::WriteBytes;

// The bytes of a field as they stand (shapelib would take a number field's
// value for a double).
void WriteRaw(DBFHandle dbf, int record, int field, QByteArray bytes) {
  DBFWriteAttributeDirectly(dbf, record, field, bytes.data());
}

// Writes a table with shapelib. codePage: nullptr for no marker at all, else
// what shapelib stores ("LDID/87" in the header, or a .cpg file's text).
void WriteDbf(const QString& path, const SourceTable& table, const char* codePage,
              const std::vector<int>& deletedRows = {}) {
  DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), codePage);
  ASSERT_NE(dbf, nullptr);
  for (const SourceColumn& column : table.columns) {
    const QByteArray name = column.name.toLatin1();
    switch (column.type) {
      case ColumnType::Integer: DBFAddField(dbf, name.constData(), FTInteger, 9, 0); break;
      case ColumnType::Double: DBFAddField(dbf, name.constData(), FTDouble, 12, 2); break;
      case ColumnType::Date: DBFAddNativeFieldType(dbf, name.constData(), 'D', 8, 0); break;
      case ColumnType::Boolean: DBFAddNativeFieldType(dbf, name.constData(), 'L', 1, 0); break;
      default: DBFAddField(dbf, name.constData(), FTString, 40, 0); break;
    }
  }
  const bool utf8 = codePage != nullptr && std::strcmp(codePage, "UTF-8") == 0;
  for (size_t r = 0; r < table.rows.size(); ++r) {
    const int record = static_cast<int>(r);
    for (size_t c = 0; c < table.columns.size(); ++c) {
      const int field = static_cast<int>(c);
      const QVariant& value = table.rows[r][c];
      if (!value.isValid()) {
        DBFWriteNULLAttribute(dbf, record, field);
        continue;
      }
      switch (table.columns[c].type) {
        case ColumnType::Integer: DBFWriteIntegerAttribute(dbf, record, field, value.toInt()); break;
        case ColumnType::Double: DBFWriteDoubleAttribute(dbf, record, field, value.toDouble()); break;
        case ColumnType::Date:
          WriteRaw(dbf, record, field, value.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1());
          break;
        case ColumnType::Boolean: DBFWriteLogicalAttribute(dbf, record, field, value.toBool() ? 'T' : 'F'); break;
        default: {
          const QByteArray bytes = utf8 ? value.toString().toUtf8() : ToAnsi(value.toString());
          DBFWriteStringAttribute(dbf, record, field, bytes.constData());
          break;
        }
      }
    }
  }
  for (int row : deletedRows) DBFMarkRecordDeleted(dbf, row, 1);
  DBFClose(dbf);
}

std::unique_ptr<SourceReader> OpenFolder(const QString& folder) {
  return OpenSourceReader({SourceKind::DBase, folder, {}, {}});
}

TEST(DBaseReader, ReadsTheSampleTableTypedWithoutDeletedRows) {
  QTemporaryDir dir;
  SourceTable written = SampleTable();
  // A row between the others is deleted and must not come back.
  written.rows.insert(written.rows.begin() + 1, {QStringLiteral("cancellato"), QVariant(qint64{1}), QVariant(1.0),
                                                 QVariant(QDate(2000, 1, 1)), QVariant(true)});
  WriteDbf(dir.filePath(QStringLiteral("Anagrafe.dbf")), written, nullptr, {1});
  auto reader = OpenFolder(dir.path());
  ExpectSameTable(reader->ReadTable(QStringLiteral("Anagrafe")), SampleTable());

  const std::vector<SourceColumn> columns = reader->Columns(QStringLiteral("ANAGRAFE"));
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(columns[2].name, QStringLiteral("IMPORTO"));
  EXPECT_EQ(columns[2].type, ColumnType::Double);
  EXPECT_EQ(columns[1].type, ColumnType::Integer);
}

TEST(DBaseReader, NumbersKeepThePointUnderAnItalianUser) {
  // The tests run as an Italian user; the C library must still read a point.
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_EQ(std::strtod("12.5", nullptr), 12.5);
  if (QByteArray(std::setlocale(LC_CTYPE, nullptr)).startsWith("it_IT")) {
    QTemporaryDir dir;
    SourceTable table;
    table.columns = {{QStringLiteral("V"), ColumnType::Double}};
    table.rows = {{QVariant(12.5)}, {QVariant(-1234.75)}};
    WriteDbf(dir.filePath(QStringLiteral("v.dbf")), table, nullptr);
    EXPECT_TRUE(ReadBytes(dir.filePath(QStringLiteral("v.dbf"))).contains("12.50"));
    ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("v")), table);
  }
}

TEST(DBaseReader, TextFollowsTheFilesCodePage) {
  const QString text = QString::fromUtf8("Città è più");
  struct Case {
    const char* name;
    const char* codePage;  // as shapelib stores it
    QByteArray bytes;      // what the record holds
  };
  const Case cases[] = {
      {"no marker: Windows-1252", nullptr, ToAnsi(text)},
      {"language driver 1252", "LDID/87", ToAnsi(text)},
      {"language driver 850", "LDID/2", QByteArray("Citt\x85 \x8A pi\x97")},
      {"cpg UTF-8", "UTF-8", text.toUtf8()},
      {"cpg 1252", "1252", ToAnsi(text)},
      {"cpg ISO-8859-1", "ISO-8859-1", ToAnsi(text)},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), c.codePage);
    ASSERT_NE(dbf, nullptr);
    DBFAddField(dbf, "T", FTString, 20, 0);
    DBFWriteStringAttribute(dbf, 0, 0, c.bytes.constData());
    DBFClose(dbf);
    const SourceTable table = OpenFolder(dir.path())->ReadTable(QStringLiteral("t"));
    ASSERT_EQ(table.rows.size(), 1u) << c.name;
    EXPECT_EQ(table.rows[0][0].toString(), text) << c.name;
  }
}

TEST(DBaseReader, ListsTheFoldersTablesAndFindsThemInAnyCase) {
  QTemporaryDir dir;
  SourceTable table;
  table.columns = {{QStringLiteral("N"), ColumnType::Integer}};
  table.rows = {{QVariant(qint64{1})}};
  WriteDbf(dir.filePath(QStringLiteral("Clienti.dbf")), table, nullptr);  // shapelib names it .dbf
  ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("Clienti.dbf")), dir.filePath(QStringLiteral("Clienti.DBF"))));
  WriteDbf(dir.filePath(QStringLiteral("ordini.dbf")), table, nullptr);
  WriteBytes(dir.filePath(QStringLiteral("note.txt")), "x");
  QDir().mkdir(dir.filePath(QStringLiteral("archivio.dbf")));
  auto reader = OpenFolder(dir.path());
  EXPECT_EQ(reader->Tables(), (QStringList{QStringLiteral("Clienti"), QStringLiteral("ordini")}));
  for (const char* name : {"clienti", "CLIENTI", "Clienti"}) {
    EXPECT_EQ(reader->TableFile(QString::fromLatin1(name)), dir.filePath(QStringLiteral("Clienti.DBF"))) << name;
    EXPECT_EQ(reader->ReadTable(QString::fromLatin1(name)).rows.size(), 1u) << name;
  }
  EXPECT_THROW(reader->ReadTable(QStringLiteral("note")), DbError);
  EXPECT_THROW(reader->Columns(QStringLiteral("fatture")), DbError);
  EXPECT_THROW(OpenFolder(dir.filePath(QStringLiteral("manca"))), DbError);
}

TEST(DBaseReader, NumbersOfEveryWidthKeepTheirTypeAndAMemoWithoutItsFileIsNull) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("m.dbf"));
  DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), nullptr);
  ASSERT_NE(dbf, nullptr);
  DBFAddNativeFieldType(dbf, "NOTE", 'M', 10, 0);
  DBFAddNativeFieldType(dbf, "F", 'F', 10, 3);
  DBFAddField(dbf, "BIG", FTDouble, 20, 0);    // whole, but wider than 64 bits hold: exact
  DBFAddField(dbf, "SSCC", FTDouble, 18, 0);   // whole, 18 digits: a 64-bit integer
  DBFAddField(dbf, "WIDE", FTDouble, 22, 4);   // 21 digits with decimals: exact
  DBFAddField(dbf, "PRICE", FTDouble, 12, 2);  // 11 digits: a double holds them
  WriteRaw(dbf, 0, 0, "        12");
  WriteRaw(dbf, 0, 1, "-3.125");
  WriteRaw(dbf, 0, 2, "12345678901234567890");
  WriteRaw(dbf, 0, 3, "376123450000000017");
  WriteRaw(dbf, 0, 4, " -12345678901234567.8900");
  WriteRaw(dbf, 0, 5, "  1234567.89");
  DBFClose(dbf);
  const auto exact = [](const char* text) {
    return QVariant::fromValue(*ExactDecimal::FromText(QString::fromLatin1(text)));
  };
  SourceTable expected;
  expected.columns = {{QStringLiteral("NOTE"), ColumnType::Text},    {QStringLiteral("F"), ColumnType::Double},
                      {QStringLiteral("BIG"), ColumnType::Decimal},  {QStringLiteral("SSCC"), ColumnType::Integer},
                      {QStringLiteral("WIDE"), ColumnType::Decimal}, {QStringLiteral("PRICE"), ColumnType::Double}};
  expected.rows = {{QVariant(), QVariant(-3.125), exact("12345678901234567890"), QVariant(qint64{376123450000000017}),
                    exact("-12345678901234567.89"), QVariant(1234567.89)}};
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("m")), expected);
}

// A field ends at its first NUL. A text loses the spaces after it (its
// padding) and keeps those before it; a number loses the blanks around it.
// The NULs are patched into the file ('~' as written).
TEST(DBaseReader, ATextKeepsItsLeadingSpacesAndLosesItsPadding) {
  const struct {
    QByteArray raw;
    QVariant text;
    QVariant number;
  } cases[] = {
      {"  ab~cd  ", QVariant(QStringLiteral("  ab")), QVariant(qint64{12})},
      {" x\t      ", QVariant(QStringLiteral(" x\t")), QVariant(qint64{-7})},
      {"~bcdefghi", QVariant(), QVariant()},
      {"          ", QVariant(), QVariant()},
  };
  const QByteArray numbers[] = {" 12~ 99   ", "\t-7\t     ", "~ 5       ", "          "};
  QTemporaryDir dir;
  DBFHandle dbf = DBFCreateEx(QFile::encodeName(dir.filePath(QStringLiteral("t.dbf"))).constData(), nullptr);
  ASSERT_NE(dbf, nullptr);
  DBFAddField(dbf, "T", FTString, 10, 0);
  DBFAddField(dbf, "N", FTInteger, 10, 0);
  for (int r = 0; r < 4; ++r) {
    WriteRaw(dbf, r, 0, cases[r].raw);
    WriteRaw(dbf, r, 1, numbers[r]);
  }
  DBFClose(dbf);
  QFile file(dir.filePath(QStringLiteral("t.dbf")));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  const QByteArray bytes = file.readAll();
  ASSERT_EQ(bytes.count('~'), 4);
  file.seek(0);
  file.write(QByteArray(bytes).replace('~', '\0'));
  file.close();
  const SourceTable table = OpenFolder(dir.path())->ReadTable(QStringLiteral("t"));
  ASSERT_EQ(table.rows.size(), 4u);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(table.rows[r][0], cases[r].text) << r;
    EXPECT_EQ(table.rows[r][1], cases[r].number) << r;
  }
}

TEST(DBaseReader, ReadsEveryRecordOfALargeTable) {
  // Records of an odd length over a few megabytes: many lie across the
  // pieces the file is read in. Text loses its padding and reads Null when
  // blank; deleted records stay out.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("grande.dbf"));
  DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/87");
  ASSERT_NE(dbf, nullptr);
  DBFAddField(dbf, "N", FTInteger, 7, 0);
  DBFAddField(dbf, "T", FTString, 23, 0);
  DBFAddNativeFieldType(dbf, "D", 'D', 8, 0);
  DBFAddNativeFieldType(dbf, "L", 'L', 1, 0);
  DBFAddField(dbf, "V", FTDouble, 11, 2);
  constexpr int kRecords = 60000;
  const auto text = [](int r) -> QByteArray {
    switch (r % 4) {
      case 0: return "Citt\xE0 " + QByteArray::number(r);
      case 1: return "  rientro " + QByteArray::number(r) + "  ";
      case 2: return "";
      default: return "\x80uro";
    }
  };
  const QDate base(1950, 1, 1);
  for (int r = 0; r < kRecords; ++r) {
    DBFWriteIntegerAttribute(dbf, r, 0, r);
    DBFWriteStringAttribute(dbf, r, 1, text(r).constData());
    WriteRaw(dbf, r, 2, base.addDays(r).toString(QStringLiteral("yyyyMMdd")).toLatin1());
    DBFWriteLogicalAttribute(dbf, r, 3, r % 3 == 0 ? 'T' : 'F');
    DBFWriteDoubleAttribute(dbf, r, 4, r * 0.25);
  }
  for (int r = 5; r < kRecords; r += 997) DBFMarkRecordDeleted(dbf, r, 1);
  DBFClose(dbf);
  ASSERT_GT(QFileInfo(path).size(), 2 * 1024 * 1024);

  const SourceTable table = OpenFolder(dir.path())->ReadTable(QStringLiteral("grande"));
  size_t row = 0;
  for (int r = 0; r < kRecords; ++r) {
    if (r % 997 == 5) continue;
    ASSERT_LT(row, table.rows.size());
    const std::vector<QVariant>& values = table.rows[row++];
    ASSERT_EQ(values[0], QVariant(qint64(r)));
    const QByteArray t = text(r);
    if (t.isEmpty()) {
      EXPECT_FALSE(values[1].isValid()) << r;
    } else {
      QByteArray stored = t;
      while (stored.endsWith(' ')) stored.chop(1);
      EXPECT_EQ(values[1], QVariant(FromAnsi(stored))) << r;
    }
    EXPECT_EQ(values[2], QVariant(base.addDays(r))) << r;
    EXPECT_EQ(values[3], QVariant(r % 3 == 0)) << r;
    EXPECT_EQ(values[4], QVariant(r * 0.25)) << r;
  }
  EXPECT_EQ(row, table.rows.size());
}

TEST(DBaseReader, DamagedOrForeignFilesFailToOpen) {
  QTemporaryDir dir;
  SourceTable table = SampleTable();
  for (int i = 0; i < 50; ++i) table.rows.push_back(table.rows[0]);
  WriteDbf(dir.filePath(QStringLiteral("good.dbf")), table, nullptr);
  const QByteArray good = ReadBytes(dir.filePath(QStringLiteral("good.dbf")));
  ASSERT_GT(good.size(), 1000);
  QByteArray badRecordLength = good;
  badRecordLength[10] = 2;  // records shorter than their fields
  badRecordLength[11] = 0;
  QByteArray hugeCount = good;
  hugeCount[4] = hugeCount[5] = hugeCount[6] = '\xff';
  hugeCount[7] = '\x7f';
  const std::vector<DamagedFile> cases = {
      {"truncated", good.left(good.size() / 2)},
      {"header only", good.left(20)},
      {"empty", QByteArray()},
      {"text", QByteArray("NOME;COGNOME\nMario;Rossi\n").repeated(20)},
      {"record length too short", badRecordLength},
      {"record count past the end", hugeCount},
  };
  ExpectDamagedFilesFail(cases, dir.filePath(QStringLiteral("bad.dbf")),
                         [&] { OpenFolder(dir.path())->ReadTable(QStringLiteral("bad")); });
}

// Writes a table and the files beside it into a fresh folder and reads it
// through the reader program.
SourceTable ReadFixture(const QTemporaryDir& dir, const DbfFixture& table,
                        const std::vector<std::pair<QString, QByteArray>>& beside = {}) {
  WriteBytes(dir.filePath(QStringLiteral("t.dbf")), table.Bytes());
  for (const auto& [name, bytes] : beside) WriteBytes(dir.filePath(name), bytes);
  return OpenFolder(dir.path())->ReadTable(QStringLiteral("t"));
}

// The memo file of each layout gives its notes in the table's code page: a
// short one, one over several blocks, and none for a record without.
TEST(DBaseReader, MemoFieldsReadTheirNotesInEveryLayout) {
  const QByteArray note1252 = "Citt\xE0 \xE8 pi\xF9\r\nseconda riga";
  const QByteArray note850 = "Citt\x85 \x8A pi\x97\r\nseconda riga";
  const QString note = QString::fromUtf8("Città è più\r\nseconda riga");
  QByteArray longNote;
  for (int i = 0; i < 120; ++i) longNote += "riga " + QByteArray::number(i) + "\r\n";
  ASSERT_GT(longNote.size(), 1024);
  const struct {
    const char* name;
    int version;
    int driver;
    QByteArray note;
    MemoFixture (*memos)(const std::vector<QByteArray>&);
    const char* file;  // the memo file, in the letter case some programs write
    bool binaryPointer;
  } cases[] = {
      {"dBASE III", 0x83, 0x57, note1252, [](const auto& m) { return testing::DBase3Memos(m); }, "t.dbt", false},
      {"dBASE IV", 0x8B, 0x02, note850, [](const auto& m) { return testing::DBase4Memos(m, 1024); }, "T.DBT", false},
      {"FoxPro 2", 0xF5, 0x03, note1252, [](const auto& m) { return testing::FoxProMemos(m, 64); }, "t.fpt", false},
      {"Visual FoxPro", 0x30, 0x03, note1252, [](const auto& m) { return testing::FoxProMemos(m, 32); }, "t.FPT", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MemoFixture memo = c.memos({c.note, longNote});
    const auto pointer = [&](quint32 block) {
      return c.binaryPointer ? Le32(static_cast<qint32>(block)) : BlockDigits(block);
    };
    DbfFixture table;
    table.version = c.version;
    table.driver = c.driver;
    table.fields = {{"ID", 'N', 3}, {"NOTE", 'M', c.binaryPointer ? 4 : 10}};
    table.Add({"1", pointer(memo.blocks[0])});
    table.Add({"2", pointer(memo.blocks[1])});
    table.Add({"3", c.binaryPointer ? Le32(0) : QByteArray()});
    QTemporaryDir dir;
    SourceTable expected;
    expected.columns = {{QStringLiteral("ID"), ColumnType::Integer}, {QStringLiteral("NOTE"), ColumnType::Text}};
    expected.rows = {{QVariant(qint64{1}), QVariant(note)},
                     {QVariant(qint64{2}), QVariant(QString::fromLatin1(longNote))},
                     {QVariant(qint64{3}), QVariant()}};
    ExpectSameTable(ReadFixture(dir, table, {{QString::fromLatin1(c.file), memo.bytes}}), expected);
  }
}

// A memo that cannot be read is Null, and the table still opens with its
// other values.
TEST(DBaseReader, AMissingOrDamagedMemoIsNull) {
  const MemoFixture dbase4 = testing::DBase4Memos({"nota"}, 512);
  const MemoFixture foxPro = testing::FoxProMemos({"nota"}, 64);
  QByteArray longLength = dbase4.bytes;
  longLength[512 + 7] = '\x7F';  // the memo's length runs past the file's end
  QByteArray foxLongLength = foxPro.bytes;
  foxLongLength[512 + 4] = '\x01';
  QByteArray noBlockSize = foxPro.bytes;
  noBlockSize[6] = noBlockSize[7] = '\0';
  QByteArray unended = QByteArray(512, '\0') + "nota";  // dBASE III: the file's end ends it
  QByteArray endless = QByteArray(512, '\0') + QByteArray(1536 * 1024, 'x');
  const struct {
    const char* name;
    int version;
    const char* file;  // nullptr: none
    QByteArray bytes;
    QByteArray pointer;
    QVariant note;
  } cases[] = {
      {"the dBASE IV memo", 0x8B, "t.dbt", dbase4.bytes, BlockDigits(1), QStringLiteral("nota")},
      {"no memo file", 0x8B, nullptr, {}, BlockDigits(1), {}},
      {"a memo file of two bytes", 0x8B, "t.dbt", "\x02\x00", BlockDigits(1), {}},
      {"a block past the file's end", 0x8B, "t.dbt", dbase4.bytes, BlockDigits(99), {}},
      {"a block in the header", 0x30, "t.fpt", foxPro.bytes, Le32(1), {}},
      {"a block number of no digits", 0x8B, "t.dbt", dbase4.bytes, "12ab", {}},
      {"a length past the file's end", 0x8B, "t.dbt", longLength, BlockDigits(1), {}},
      {"a FoxPro length past the file's end", 0x30, "t.fpt", foxLongLength, Le32(8), {}},
      {"a head cut by the file's end", 0x8B, "t.dbt", dbase4.bytes.left(516), BlockDigits(1), {}},
      {"a FoxPro memo file without a block size", 0x30, "t.fpt", noBlockSize, Le32(8), {}},
      {"a FoxPro picture", 0x30, "t.fpt", testing::FoxProMemos({"nota"}, 64, 0).bytes, Le32(8), {}},
      {"a dBASE III memo ended by the file's end", 0x83, "t.dbt", unended, BlockDigits(1), QStringLiteral("nota")},
      {"a dBASE III memo with no end", 0x83, "t.dbt", endless, BlockDigits(1), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DbfFixture table;
    table.version = c.version;
    table.fields = {{"ID", 'N', 3}, {"NOTE", 'M', static_cast<int>(c.pointer.size() == 4 ? 4 : 10)}};
    table.Add({"7", c.pointer});
    QTemporaryDir dir;
    std::vector<std::pair<QString, QByteArray>> beside;
    if (c.file != nullptr) beside.emplace_back(QString::fromLatin1(c.file), c.bytes);
    const SourceTable read = ReadFixture(dir, table, beside);
    ASSERT_EQ(read.rows.size(), 1u);
    EXPECT_EQ(read.rows[0][0], QVariant(qint64{7}));
    EXPECT_EQ(read.rows[0][1], c.note) << testing::Describe(read.rows[0][1]).toStdString();
  }
}

// Visual FoxPro: every field type, the null flags (a bit for each varying
// field's length, then one for each field that may be Null) winning over
// what the field holds, and the flags' own column hidden.
TEST(DBaseReader, VisualFoxProFieldsOfEveryTypeWithNulls) {
  const MemoFixture memo = testing::FoxProMemos({"nota"}, 64);
  const auto dateTime = [](QDate date, qint32 milliseconds) {
    return Le32(static_cast<qint32>(date.toJulianDay())) + Le32(milliseconds);
  };
  const auto flags = [](int bits) { return Le32(bits).left(2); };
  DbfFixture table;
  table.version = 0x32;
  table.driver = 0x03;
  table.fields = {
      {"NOME", 'C', 10, 0, 0x02},   // null bit 0
      {"IMPORTO", 'N', 8, 2},       //
      {"PESO", 'F', 10, 3},         //
      {"NATO", 'D', 8, 0, 0x02},    // null bit 1
      {"ATTIVO", 'L', 1},           //
      {"NOTE", 'M', 4, 0, 0x02},    // null bit 2
      {"FOTO", 'G', 4},             //
      {"QUANTI", 'I', 4, 0, 0x02},  // null bit 3
      {"QUANDO", 'T', 8, 0, 0x02},  // null bit 4
      {"PREZZO", 'Y', 8, 4, 0x02},  // null bit 5
      {"MISURA", 'B', 8, 2, 0x02},  // null bit 6
      {"SIGLA", 'V', 10, 0, 0x02},  // length bit 7, null bit 8
      {"CODICE", 'Q', 6},           // length bit 9
      {"DATI", 'W', 4},             //
      {"_NullFlags", '0', 2, 0, 0x05},
  };
  table.Add({"  Rossi", "  123.45", "  -3.125", "20231231", "T", Le32(static_cast<qint32>(memo.blocks[0])), Le32(0),
             Le32(1), dateTime(QDate(2024, 2, 29), 49530250), Le64(180000), LeDouble(2.5),
             QByteArray("abc").leftJustified(9, '\0') + '\x03', QByteArray("\x01\x02\0\0\0\x02", 6), Le32(0),
             flags(1 << 7 | 1 << 9)});
  // Flagged Null while the fields hold values.
  table.Add({"Bianchi", "-7", "", "20000101", "?", Le32(static_cast<qint32>(memo.blocks[0])), Le32(0), Le32(5),
             dateTime(QDate(2000, 1, 1), 0), Le64(1), LeDouble(1), "pieno     ", "", Le32(0), flags(0x17F)});
  // Full-width varying text, the extremes, and the empty date-time.
  table.Add({"", "", "", "", "F", Le32(0), Le32(0), Le32(std::numeric_limits<qint32>::min()), Le64(0), Le64(-12345),
             LeDouble(-0.125), "ABCDEFGHIJ", "", Le32(0), flags(0)});
  QTemporaryDir dir;
  const auto exact = [](qint64 units) { return QVariant::fromValue(ExactDecimal::FromScaled(units, 4)); };
  SourceTable expected;
  expected.columns = {
      {QStringLiteral("NOME"), ColumnType::Text},       {QStringLiteral("IMPORTO"), ColumnType::Double},
      {QStringLiteral("PESO"), ColumnType::Double},     {QStringLiteral("NATO"), ColumnType::Date},
      {QStringLiteral("ATTIVO"), ColumnType::Boolean},  {QStringLiteral("NOTE"), ColumnType::Text},
      {QStringLiteral("FOTO"), ColumnType::Text},       {QStringLiteral("QUANTI"), ColumnType::Integer},
      {QStringLiteral("QUANDO"), ColumnType::DateTime}, {QStringLiteral("PREZZO"), ColumnType::Decimal},
      {QStringLiteral("MISURA"), ColumnType::Double},   {QStringLiteral("SIGLA"), ColumnType::Text},
      {QStringLiteral("CODICE"), ColumnType::Text},     {QStringLiteral("DATI"), ColumnType::Text},
  };
  expected.rows = {
      {QStringLiteral("  Rossi"),
       123.45,
       -3.125,
       QDate(2023, 12, 31),
       true,
       QStringLiteral("nota"),
       {},
       qint64{1},
       QDateTime(QDate(2024, 2, 29), QTime(13, 45, 30, 250), Qt::UTC),
       exact(180000),
       2.5,
       QStringLiteral("abc"),
       {},
       {}},
      {{}, -7.0, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}},
      {{},
       {},
       {},
       {},
       false,
       {},
       {},
       qint64{std::numeric_limits<qint32>::min()},
       {},
       exact(-12345),
       -0.125,
       QStringLiteral("ABCDEFGHIJ"),
       {},
       {}},
  };
  ExpectSameTable(ReadFixture(dir, table, {{QStringLiteral("t.fpt"), memo.bytes}}), expected);
  EXPECT_EQ(OpenFolder(dir.path())->Columns(QStringLiteral("t")).size(), 14u);
}

// A table of no fields is a table of records with no columns.
TEST(DBaseReader, ATableOfNoFieldsHasRowsOfNothing) {
  for (const int version : {0x03, 0x30}) {
    SCOPED_TRACE(version);
    DbfFixture table;
    table.version = version;
    table.Add({});
    table.Add({}, true);
    table.Add({});
    QTemporaryDir dir;
    const SourceTable read = ReadFixture(dir, table);
    EXPECT_TRUE(read.columns.empty());
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_TRUE(read.rows[0].empty());
    EXPECT_TRUE(OpenFolder(dir.path())->Columns(QStringLiteral("t")).empty());
  }
}

// The file may end right after its last record, or hold more; one byte
// fewer leaves a record outside it.
TEST(DBaseReader, AFileWhoseRecordsAreAllInsideItReads) {
  DbfFixture table;
  table.version = 0x30;
  table.fields = {{"N", 'I', 4}, {"T", 'C', 3}};
  table.Add({Le32(1), "a"});
  table.Add({Le32(2), "b"});
  const QByteArray bytes = table.Bytes();
  ASSERT_TRUE(bytes.endsWith('\x1A'));
  for (const QByteArray& whole : {bytes.chopped(1), bytes, bytes + QByteArray(4096, '\x55')}) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("t.dbf")), whole);
    EXPECT_EQ(OpenFolder(dir.path())->ReadTable(QStringLiteral("t")).rows.size(), 2u) << whole.size();
  }
  QTemporaryDir dir;
  ExpectDamagedFilesFail({{"a record a byte short", bytes.left(bytes.size() - 2), "troncato"},
                          {"the header cut", bytes.left(100), "troncato"}},
                         dir.filePath(QStringLiteral("t.dbf")),
                         [&] { OpenFolder(dir.path())->ReadTable(QStringLiteral("t")); });
}

}  // namespace
}  // namespace pv
