#include "datasources/readers/sourcereader.h"
#include "platform/cp1252.h"
#include "platform/exactdecimal.h"
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
#include <cstdlib>
#include <cstring>

namespace pv {
namespace {

using testing::DamagedFile;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
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

TEST(DBaseReader, MemosReadEmptyAndOtherWidthsKeepTheirType) {
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
  expected.rows = {{QVariant(QString()), QVariant(-3.125), exact("12345678901234567890"),
                    QVariant(qint64{376123450000000017}), exact("-12345678901234567.89"), QVariant(1234567.89)}};
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("m")), expected);
}

// A field ends at its first NUL, and loses the spaces (only they) around it.
// The NULs are patched into the file ('~' as written).
TEST(DBaseReader, AFieldIsItsTextUpToANulWithoutTheSpacesAround) {
  const struct {
    QByteArray raw;
    QVariant text;
    QVariant number;
  } cases[] = {
      {"  ab~cd  ", QVariant(QStringLiteral("ab")), QVariant(qint64{12})},
      {" x\t      ", QVariant(QStringLiteral("x\t")), QVariant(qint64{-7})},
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
  // blocks the file is read in. Text loses the blanks around it (shapelib
  // trims them) and reads Null when blank; deleted records stay out.
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
      EXPECT_EQ(values[1], QVariant(FromAnsi(t.trimmed()))) << r;
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

}  // namespace
}  // namespace pv
