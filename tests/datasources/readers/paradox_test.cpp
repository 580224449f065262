#include "datasources/readers/sourcereader.h"
#include "platform/cp1252.h"
#include "platform/exactdecimal.h"
#include "sampletable.h"
#include "testfiles.h"

// pxlib's header declares its functions without C linkage.
extern "C" {
#include <paradox.h>
}

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace pv {
namespace {

using testing::DamagedFile;
using testing::ExactValue;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
using testing::ReadBytes;
using testing::SampleTable;
using testing::WriteBytes;

constexpr int kTextWidth = 30;
constexpr int kBcdDecimals = 4;

constexpr int kMemoWidth = 20;  // 10 bytes of the memo's start, 10 of its place

// Writes a table with pxlib. Text goes in as Windows-1252 bytes. The text
// column memoColumn, when there is one, is a memo field, with its memo file
// beside the table (the same name, .mb).
bool WriteParadox(const QString& path, const SourceTable& table, int memoColumn = -1) {
  pxdoc_t* doc = PX_new();
  const int count = static_cast<int>(table.columns.size());
  auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * static_cast<size_t>(count), "fields"));
  for (int i = 0; i < count; ++i) {
    fields[i].px_fname = PX_strdup(doc, table.columns[static_cast<size_t>(i)].name.toLatin1().constData());
    fields[i].px_fdc = 0;
    switch (table.columns[static_cast<size_t>(i)].type) {
      case ColumnType::Integer:
        fields[i].px_ftype = pxfLong;
        fields[i].px_flen = 4;
        break;
      case ColumnType::Double:
        fields[i].px_ftype = pxfNumber;
        fields[i].px_flen = 8;
        break;
      case ColumnType::Date:
        fields[i].px_ftype = pxfDate;
        fields[i].px_flen = 4;
        break;
      case ColumnType::DateTime:
        fields[i].px_ftype = pxfTimestamp;
        fields[i].px_flen = 8;
        break;
      case ColumnType::Boolean:
        fields[i].px_ftype = pxfLogical;
        fields[i].px_flen = 1;
        break;
      case ColumnType::Text:
        fields[i].px_ftype = i == memoColumn ? pxfMemoBLOb : pxfAlpha;
        fields[i].px_flen = i == memoColumn ? kMemoWidth : kTextWidth;
        break;
      case ColumnType::Decimal:
        fields[i].px_ftype = pxfBCD;
        fields[i].px_flen = 17;
        fields[i].px_fdc = kBcdDecimals;
        break;
    }
  }
  if (PX_create_file(doc, fields, count, QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) < 0) {
    PX_delete(doc);
    return false;
  }
  if (memoColumn >= 0) {
    const QString memoPath = path.left(path.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".mb");
    if (PX_create_blob_file(PX_new_blob(doc), QFile::encodeName(memoPath).constData()) < 0) {
      PX_delete(doc);
      return false;
    }
  }
  QByteArray data(PX_get_recordsize(doc), '\0');
  for (const auto& row : table.rows) {
    data.fill('\0');
    int offset = 0;
    for (int i = 0; i < count; ++i) {
      const QVariant& value = row[static_cast<size_t>(i)];
      char* at = data.data() + offset;
      offset += fields[i].px_flen;
      if (!value.isValid()) continue;  // all zeros: Null
      switch (fields[i].px_ftype) {
        case pxfLong: PX_put_data_long(doc, at, 4, static_cast<int>(value.toLongLong())); break;
        case pxfNumber: PX_put_data_double(doc, at, 8, value.toDouble()); break;
        case pxfDate: {
          const QDate d = value.toDate();
          pxval_t* made = PX_make_date(doc, d.year(), d.month(), d.day());
          PX_put_data_long(doc, at, 4, static_cast<int>(made->value.lval));
          doc->free(doc, made);
          break;
        }
        case pxfTimestamp: {
          const QDateTime t = value.toDateTime();
          pxval_t* made = PX_make_timestamp(doc, t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
                                            t.time().minute(), t.time().second());
          PX_put_data_double(doc, at, 8, made->value.dval);
          doc->free(doc, made);
          break;
        }
        case pxfLogical: PX_put_data_byte(doc, at, 1, value.toBool() ? 1 : 0); break;
        case pxfBCD: {
          // pxlib reads past the end of digits without a point.
          QByteArray digits = value.toString().toLatin1();
          if (!digits.contains('.')) digits += ".0";
          PX_put_data_bcd(doc, at, kBcdDecimals, digits.data());
          break;
        }
        case pxfMemoBLOb: {
          QByteArray bytes = ToAnsi(value.toString());
          PX_put_data_blob(doc, at, kMemoWidth, bytes.data(), static_cast<int>(bytes.size()));
          break;
        }
        default: {
          QByteArray bytes = ToAnsi(value.toString()).left(kTextWidth);
          std::memcpy(at, bytes.constData(), static_cast<size_t>(bytes.size()));
          break;
        }
      }
    }
    if (PX_put_record(doc, data.data()) < 0) {
      PX_delete(doc);
      return false;
    }
  }
  PX_close(doc);
  PX_delete(doc);
  return true;
}

std::unique_ptr<SourceReader> OpenFolder(const QString& folder) {
  return OpenSourceReader({SourceKind::Paradox, folder, {}, {}});
}

TEST(ParadoxReader, ReadsTheSampleTableTypedFromTheFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteParadox(dir.filePath(QStringLiteral("Anagrafe.db")), SampleTable()));
  auto reader = OpenFolder(dir.path());
  ExpectSameTable(reader->ReadTable(QStringLiteral("Anagrafe")), SampleTable());

  SourceTable stamps;
  stamps.columns = {{QStringLiteral("QUANDO"), ColumnType::DateTime}};
  stamps.rows = {{QVariant(QDateTime(QDate(2023, 6, 30), QTime(18, 45, 30), Qt::UTC))}, {QVariant()}};
  ASSERT_TRUE(WriteParadox(dir.filePath(QStringLiteral("orari.db")), stamps));
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("ORARI")), stamps);
}

// A BCD field keeps every digit: an exact decimal, never a double.
TEST(ParadoxReader, BcdFieldsAreExact) {
  QTemporaryDir dir;
  SourceTable amounts;
  amounts.columns = {{QStringLiteral("IMPORTO"), ColumnType::Decimal}};
  amounts.rows = {{ExactValue("12345678901234567.8901")},
                  {ExactValue("-0.0001")},
                  {ExactValue("1234.5")},
                  {ExactValue("7")},
                  {ExactValue("0")}};
  ASSERT_TRUE(WriteParadox(dir.filePath(QStringLiteral("importi.db")), amounts));
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("importi")), amounts);
}

// Bytes of a BCD field with the given decimals: the head byte (its high bit
// set for positive numbers, the next for negative ones, the decimals below
// them) and 32 digits of a nibble each, inverted for negative numbers.
QByteArray BcdBytes(const QString& number, int decimals) {
  const bool negative = number.startsWith(QLatin1Char('-'));
  const QStringList parts = number.mid(negative ? 1 : 0).split(QLatin1Char('.'));
  const QString whole = parts[0] == QStringLiteral("0") ? QString() : parts[0];
  const QString digits =
      whole.rightJustified(32 - decimals, QLatin1Char('0')) + parts.value(1).leftJustified(decimals, QLatin1Char('0'));
  QByteArray bytes(17, '\0');
  bytes[0] = static_cast<char>((negative ? 0x40 : 0x80) | decimals);
  for (int i = 0; i < 32; ++i) {
    int digit = digits[i].digitValue();
    if (negative) digit ^= 0x0f;
    const int nibble = i + 2;
    bytes[nibble / 2] = static_cast<char>(bytes[nibble / 2] | (nibble % 2 != 0 ? digit : digit << 4));
  }
  return bytes;
}

// Fields of 32 decimals hold no integer digits: every digit is a decimal.
TEST(ParadoxReader, BcdFieldsOfEveryWidthOfDecimals) {
  const struct {
    int decimals;
    std::vector<const char*> numbers;
  } cases[] = {
      {32, {"0.123", "-0.123", "0.9999", "0.00000000000000000000000000000001"}},
      {0, {"12345678901234567890123456789012", "-7"}},
      {2, {"-123456789012345678901234567890.12", "0.5"}},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bcd.db"));
    SourceTable table;
    table.columns = {{QStringLiteral("N"), ColumnType::Decimal}};
    for (size_t i = 0; i <= c.numbers.size(); ++i) table.rows.push_back({QVariant(QStringLiteral("1"))});
    ASSERT_TRUE(WriteParadox(path, table));
    // The field's width byte holds its decimals; the records follow the
    // header and the block's 6-byte head; the last one stays Null.
    QByteArray bytes = ReadBytes(path);
    const int headerSize = static_cast<unsigned char>(bytes[2]) | (static_cast<unsigned char>(bytes[3]) << 8);
    bytes[0x78 + 1] = static_cast<char>(c.decimals);
    SourceTable expected;
    expected.columns = table.columns;
    for (size_t i = 0; i < c.numbers.size(); ++i) {
      bytes.replace(headerSize + 6 + static_cast<int>(i) * 17, 17,
                    BcdBytes(QString::fromLatin1(c.numbers[i]), c.decimals));
      expected.rows.push_back({ExactValue(c.numbers[i])});
    }
    bytes.replace(headerSize + 6 + static_cast<int>(c.numbers.size()) * 17, 17, QByteArray(17, '\0'));
    expected.rows.push_back({QVariant()});
    WriteBytes(path, bytes);
    ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("bcd")), expected);
  }
}

// Memos too long for their field stand in the memo file, small ones packed
// several to a block and long ones in blocks of their own; all read in the
// table's code page. Without their memo file, or from a damaged one, those
// read as Null and the table still opens.
TEST(ParadoxReader, ReadsMemosFromTheMemoFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Note.db"));
  const QString small = QString::fromUtf8("breve");  // inside the field
  const QString middle = QString::fromUtf8("Perché più € l'anno, in una nota di media lunghezza.");
  QString long_;
  for (int i = 0; long_.size() < 6000; ++i) long_ += QStringLiteral("riga %1 della nota lunga; ").arg(i);
  SourceTable table;
  table.columns = {{QStringLiteral("N"), ColumnType::Integer}, {QStringLiteral("NOTA"), ColumnType::Text}};
  table.rows = {{QVariant(1), QVariant(small)},
                {QVariant(2), QVariant(middle)},
                {QVariant(3), QVariant(long_)},
                {QVariant(4), QVariant()}};
  ASSERT_TRUE(WriteParadox(path, table, 1));
  const QString memoPath = dir.filePath(QStringLiteral("Note.mb"));
  ASSERT_TRUE(QFile::exists(memoPath));
  SourceTable expected = table;
  for (auto& row : expected.rows) row[0] = QVariant(row[0].toLongLong());
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("note")), expected);

  // The memo file is found in any letter case.
  ASSERT_TRUE(QFile::rename(memoPath, dir.filePath(QStringLiteral("NOTE.MB"))));
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("note")), expected);

  const QByteArray memos = ReadBytes(dir.filePath(QStringLiteral("NOTE.MB")));
  QByteArray kinds;  // each 4 KB block's kind: 2 for one memo, 3 for small ones
  for (qsizetype at = 0; at < memos.size(); at += 4096) kinds.append(memos[at]);
  ASSERT_TRUE(kinds.contains('\2') && kinds.contains('\3')) << kinds.toHex().toStdString();
  ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("NOTE.MB"))));
  SourceTable without = expected;
  without.rows[1][1] = QVariant();
  without.rows[2][1] = QVariant();
  const struct {
    const char* name;
    QByteArray bytes;  // empty: no memo file
  } cases[] = {
      {"missing", QByteArray()},
      {"cut after its first block", memos.left(4096)},
      {"cut inside the long memo", memos.left(memos.size() - 100)},
      {"overwritten", QByteArray(memos.size(), '\xff')},
  };
  for (const auto& c : cases) {
    QFile::remove(memoPath);
    if (!c.bytes.isEmpty()) WriteBytes(memoPath, c.bytes);
    const SourceTable read = OpenFolder(dir.path())->ReadTable(QStringLiteral("note"));
    ASSERT_EQ(read.rows.size(), 4u) << c.name;
    EXPECT_EQ(read.rows[0][1].toString(), small) << c.name;
    EXPECT_FALSE(read.rows[2][1].isValid()) << c.name;
    EXPECT_FALSE(read.rows[3][1].isValid()) << c.name;
    if (c.bytes.isEmpty()) ExpectSameTable(read, without);
  }
}

TEST(ParadoxReader, TextFollowsTheTablesCodePage) {
  // The same letters in Windows-1252 and in DOS code page 850.
  const QString text = QString::fromUtf8("Città è più");
  const struct {
    int codePage;
    QByteArray bytes;
  } cases[] = {{1252, ToAnsi(text)}, {850, QByteArray("Citt\x85 \x8A pi\x97")}};
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.db"));
    SourceTable table;
    table.columns = {{QStringLiteral("T"), ColumnType::Text}};
    table.rows = {{QVariant(QStringLiteral("x"))}};
    ASSERT_TRUE(WriteParadox(path, table));
    QByteArray bytes = ReadBytes(path);
    ASSERT_TRUE(bytes.contains('x'));
    bytes.replace(bytes.lastIndexOf('x'), 1, c.bytes);  // the record holds room for it
    bytes.chop(c.bytes.size() - 1);
    bytes[0x6A] = static_cast<char>(c.codePage & 0xff);
    bytes[0x6B] = static_cast<char>(c.codePage >> 8);
    WriteBytes(path, bytes);
    const SourceTable read = OpenFolder(dir.path())->ReadTable(QStringLiteral("t"));
    ASSERT_EQ(read.rows.size(), 1u) << c.codePage;
    EXPECT_EQ(read.rows[0][0].toString(), text) << c.codePage;
  }
}

TEST(ParadoxReader, ListsTheFoldersTablesWithoutReadingThem) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteParadox(dir.filePath(QStringLiteral("clienti.db")), SampleTable()));
  ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("clienti.db")), dir.filePath(QStringLiteral("ORDINI.DB"))));
  WriteBytes(dir.filePath(QStringLiteral("clienti.px")), "index");
  WriteBytes(dir.filePath(QStringLiteral("vecchi.dbf")), "dbase");
  auto reader = OpenFolder(dir.path());
  EXPECT_EQ(reader->Tables(), (QStringList{QStringLiteral("clienti"), QStringLiteral("ORDINI")}));
  const std::vector<SourceColumn> columns = reader->Columns(QStringLiteral("Ordini"));
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(columns[3].name, QStringLiteral("DATA"));
  EXPECT_EQ(columns[3].type, ColumnType::Date);
  EXPECT_EQ(reader->TableFile(QStringLiteral("ordini")), dir.filePath(QStringLiteral("ORDINI.DB")));
  EXPECT_THROW(reader->ReadTable(QStringLiteral("vecchi")), DbError);
}

// A table of many blocks: its bytes, and where its parts lie.
struct BlockedTable {
  SourceTable table;
  QByteArray bytes;
  int headerSize = 0;
  int blockSize = 0;
  int blocks = 0;
  int recordsEnd = 0;  // where the last record of the last block ends
};

BlockedTable WriteBlockedTable(const QString& path) {
  BlockedTable t;
  t.table = SampleTable();
  for (int i = 0; i < 300; ++i) t.table.rows.push_back(t.table.rows[static_cast<size_t>(i % 3)]);
  EXPECT_TRUE(WriteParadox(path, t.table));
  t.bytes = ReadBytes(path);
  const auto word = [&](int at) {
    return static_cast<unsigned char>(t.bytes[at]) | (static_cast<unsigned char>(t.bytes[at + 1]) << 8);
  };
  t.headerSize = word(2);
  t.blockSize = static_cast<unsigned char>(t.bytes[5]) * 1024;
  t.blocks = word(12);
  // Blocks are written in order: the last in the file is the last of the chain.
  const int lastBlock = t.headerSize + (t.blocks - 1) * t.blockSize;
  t.recordsEnd = lastBlock + 6 + word(lastBlock + 4) + word(0);
  return t;
}

// A file that ends before its last block does, its records all inside it,
// reads whole; one that ends inside a record does not.
TEST(ParadoxReader, ReadsAFileShorterThanItsBlocksWhoseRecordsAreAllInside) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("corto.db"));
  const BlockedTable t = WriteBlockedTable(path);
  ASSERT_GE(t.blocks, 2);
  ASSERT_LE(t.recordsEnd, t.bytes.size() - 1024);
  WriteBytes(path, t.bytes.left(t.recordsEnd));
  ExpectSameTable(OpenFolder(dir.path())->ReadTable(QStringLiteral("corto")), t.table);
  WriteBytes(path, t.bytes.left(t.recordsEnd - 1));
  try {
    OpenFolder(dir.path())->ReadTable(QStringLiteral("corto"));
    ADD_FAILURE() << "a record cut short was read";
  } catch (const DbError& error) {
    EXPECT_TRUE(error.Description().contains(QString::fromUtf8("troncato"))) << error.Description().toStdString();
  }
}

TEST(ParadoxReader, DamagedOrForeignFilesFailToOpen) {
  QTemporaryDir dir;
  const QString goodPath = dir.filePath(QStringLiteral("buono.db"));
  const BlockedTable t = WriteBlockedTable(goodPath);
  const SourceTable& big = t.table;
  const QByteArray& good = t.bytes;
  const int headerSize = t.headerSize;
  const int blockSize = t.blockSize;
  ASSERT_GE(t.blocks, 2);
  ASSERT_EQ(OpenFolder(dir.path())->ReadTable(QStringLiteral("buono")).rows.size(), big.rows.size());
  QByteArray circle = good;  // the second block leads back to the first
  circle[headerSize + blockSize] = 1;
  circle[headerSize + blockSize + 1] = 0;
  QByteArray selfLoop = good;  // the first block leads to itself
  selfLoop[headerSize] = 1;
  selfLoop[headerSize + 1] = 0;
  QByteArray badType = good;
  badType[4] = 9;
  QByteArray locked = good;  // a password's key in the header scrambles the blocks
  locked[0x25] = 0x12;
  // The field descriptors (a type byte and a width byte each) follow both
  // headers: NOME, NUMERO, IMPORTO, DATA, ATTIVO.
  constexpr int kFields = 0x78;
  const auto field = [&](int index, char type, int width) {
    QByteArray bytes = good;
    bytes[kFields + 2 * index] = type;
    bytes[kFields + 2 * index + 1] = static_cast<char>(width);
    return bytes;
  };
  const auto patched = [&](int at, std::initializer_list<int> values) {
    QByteArray bytes = good;
    for (const int value : values) bytes[at++] = static_cast<char>(value);
    return bytes;
  };
  const std::vector<DamagedFile> cases = {
      {"truncated inside the last record", good.left(t.recordsEnd - 1), "troncato"},
      {"truncated after the first block", good.left(headerSize + blockSize), "troncato"},
      {"header only", good.left(headerSize)},
      {"empty", QByteArray()},
      {"text", QByteArray("Nome;Cognome\r\nMario;Rossi\r\n").repeated(200)},
      {"blocks in a circle", circle},
      {"block leading to itself", selfLoop},
      {"not a table file", badType},
      {"password-protected", locked},
      // Whole numbers, dates and times wider than their type were read with
      // an over-wide shift; wide decimals overran pxlib's buffer.
      {"short 4 bytes wide", field(1, pxfShort, 4), "(intero corto) è largo 4 byte invece di 2"},
      {"long 8 bytes wide", field(1, pxfLong, 8), "(intero lungo) è largo 8 byte invece di 4"},
      {"counter 8 bytes wide", field(1, pxfAutoInc, 8), "(contatore)"},
      {"date 8 bytes wide", field(3, pxfDate, 8), "(data)"},
      {"time 6 bytes wide", field(3, pxfTime, 6), "(ora)"},
      {"long 2 bytes wide", field(1, pxfLong, 2), "invece di 4"},
      {"currency 12 bytes wide", field(2, pxfCurrency, 12), "(valuta) è largo 12 byte invece di 8"},
      {"number 16 bytes wide", field(2, pxfNumber, 16), "(numero)"},
      {"timestamp 255 bytes wide", field(2, pxfTimestamp, 255), "(data e ora)"},
      {"logical 2 bytes wide", field(4, pxfLogical, 2), "(logico)"},
      {"text 0 bytes wide", field(0, pxfAlpha, 0), "Il campo 1"},
      {"BCD with 40 decimals", field(2, pxfBCD, 40), "40 decimali"},
      {"unknown field type", field(1, 0x33, 4), "tipo sconosciuto"},
      {"record size against the fields", patched(0, {good[0] + 1, good[1]}), "Campi incoerenti"},
      {"header smaller than its fields", patched(2, {0x80, 0}), "Intestazione danneggiata"},
      // pxlib leaves its header half read for versions it does not know.
      {"version 0", patched(0x39, {0}), "versione del formato (0)"},
      {"version 2", patched(0x39, {2}), "sconosciuta"},
      {"version 13", patched(0x39, {13}), "sconosciuta"},
      {"version 255", patched(0x39, {255}), "sconosciuta"},
  };
  ExpectDamagedFilesFail(cases, dir.filePath(QStringLiteral("rotto.db")),
                         [&] { OpenFolder(dir.path())->ReadTable(QStringLiteral("rotto")); });
}

}  // namespace
}  // namespace pv
