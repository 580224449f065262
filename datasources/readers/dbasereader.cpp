// dBASE tables: one .dbf file per table in a folder, with the memo file
// beside it (datasources/readers/dbasememo.h). dBASE III and IV, FoxPro and
// Visual FoxPro, whose binary fields (integers, date-times, currencies,
// doubles) and null flags are read as such.
#include "datasources/readers/dbasememo.h"
#include "datasources/readers/folderreader.h"

#include "platform/exactdecimal.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace pv {

namespace {

constexpr int kFileHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr char kDescriptorsEnd = '\x0D';
constexpr int kFieldNameSize = 11;
// Visual FoxPro's field flags.
constexpr int kSystemField = 0x01;
constexpr int kNullableField = 0x02;
constexpr qint64 kMillisecondsPerDay = 86400000;
// Records are read in pieces of about this size.
constexpr qint64 kReadSize = 1024 * 1024;

bool IsVisualFoxPro(int version) { return version >= 0x30 && version <= 0x32; }
bool IsFoxPro(int version) { return IsVisualFoxPro(version) || version == 0xF5 || version == 0xFB; }

// FoxPro keeps memos in a .fpt file; dBASE in a .dbt, whose blocks are of
// 512 bytes up to dBASE III and of the size its header gives from dBASE IV.
MemoLayout MemoLayoutOf(int version) {
  if (IsFoxPro(version)) return MemoLayout::FoxPro;
  if ((version & 0x07) >= 4 || version == 0x8B || version == 0xCB) return MemoLayout::DBase4;
  return MemoLayout::DBase3;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// A date written as eight digits, as QDate::fromString(text, "yyyyMMdd")
// reads it; any other text goes to that parse.
QDate DateOfDigits(QByteArrayView text) {
  if (text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    const auto number = [&](int from, int length) {
      int n = 0;
      for (int i = from; i < from + length; ++i) n = n * 10 + (text[i] - '0');
      return n;
    };
    return QDate(number(0, 4), number(4, 2), number(6, 2));
  }
  return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyyMMdd"));
}

// Code pages of the language driver byte of the header.
int CodePageOfDriver(int driver) {
  switch (driver) {
    case 0x01: return 437;
    case 0x02: return 850;
    case 0x03: return 1252;
    case 0x57:
    case 0x58:
    case 0x59: return 1252;
    case 0x64: return 852;
    case 0x65: return 865;
    case 0x66: return 866;
    case 0x67: return 861;
    case 0x6A: return 737;
    case 0x6B: return 857;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    case 0xCA: return 1254;
    case 0xCB: return 1253;
    default: return 1252;
  }
}

// The code page a .cpg file names ("1252", "UTF-8", "ISO-8859-1", "CP850"...).
int CodePageOfName(QByteArray name) {
  name = name.trimmed().toUpper();
  if (name == "UTF-8" || name == "UTF8") return 65001;
  if (name.startsWith("ISO") && (name.endsWith("8859-1") || name.endsWith("8859_1") || name.endsWith("88591")))
    return 28591;
  if (name == "8859_1" || name == "LATIN1") return 28591;
  for (const char* prefix : {"WINDOWS-", "ANSI ", "CP", "IBM", "LDID/"}) {
    if (name.startsWith(prefix)) {
      name = name.mid(static_cast<qsizetype>(std::strlen(prefix)));
      if (std::strcmp(prefix, "LDID/") == 0) {
        bool ok = false;
        const int driver = name.toInt(&ok);
        return ok ? CodePageOfDriver(driver) : 1252;
      }
      break;
    }
  }
  bool ok = false;
  const int number = name.toInt(&ok);
  return ok && number > 0 ? number : 1252;
}

// The table's code page: the first line of a .cpg file beside it, else its
// language driver byte, else Windows-1252.
int TableCodePage(const QString& table, int driver) {
  const QString path = SiblingFile(table, QStringLiteral("cpg"));
  QFile cpg(path);
  if (!path.isEmpty() && cpg.open(QIODevice::ReadOnly)) {
    QByteArray line = cpg.read(500);
    const auto end = std::find_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r' || c == 0; });
    line.truncate(end - line.begin());
    if (!line.isEmpty()) return CodePageOfName(line);
  }
  return driver != 0 ? CodePageOfDriver(driver) : 1252;
}

// How a field's bytes are read.
enum class FieldKind {
  Text,          // C: the text up to the padding
  VarText,       // V: the text of its stored length
  Number,        // N, F: digits (Integer, Double or Decimal as the column's type)
  Date,          // D: yyyyMMdd
  Logical,       // L: T/Y, F/N, else Null
  Memo,          // M: a block number, the text in the memo file
  Int32,         // I: 4 bytes
  DateTime,      // T: Julian day and milliseconds, 4 bytes each
  Currency,      // Y: 8 bytes, ten-thousandths
  BinaryDouble,  // B of Visual FoxPro: 8 bytes
  NoValue,       // pictures, objects, binary data, and fields of a width their type has not: Null
};

struct DbfField {
  QString name;
  FieldKind kind = FieldKind::Text;
  ColumnType type = ColumnType::Text;
  int offset = 0;  // in the record
  int width = 0;
  bool hidden = false;  // Visual FoxPro's system fields (the null flags)
  int nullBit = -1;     // its bit in the null flags, set when the value is Null
  int lengthBit = -1;   // V: its bit in the null flags, set when its last byte holds its length
};

class DbfFile {
 public:
  explicit DbfFile(const QString& path) : m_path(path), m_file(path) {
    RequireReadableFile(path);
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) Fail(QString());
    const qint64 size = m_file.size();
    const QByteArray head = m_file.read(kFileHeaderSize);
    if (head.size() < kFileHeaderSize) Fail(QString());
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    m_version = bytes[0];
    const int level = m_version & 0x07;
    const bool known = level == 3 || level == 4 || level == 5 || m_version == 0x02 || IsFoxPro(m_version);
    if (!known) Fail(QStringLiteral("Intestazione sconosciuta."));
    m_records = qFromLittleEndian<quint32>(bytes + 4);
    m_headerLength = qFromLittleEndian<quint16>(bytes + 8);
    m_recordLength = qFromLittleEndian<quint16>(bytes + 10);
    if (m_headerLength < kFileHeaderSize) Fail(QString());
    const QByteArray descriptors = m_file.read(m_headerLength - kFileHeaderSize);
    if (descriptors.size() != m_headerLength - kFileHeaderSize) Fail(QStringLiteral("Il file è troncato."));
    m_text = CodePageText(TableCodePage(path, bytes[29]));
    ReadFields(descriptors);
    // Every record lies within the file.
    if (m_headerLength + static_cast<qint64>(m_records) * m_recordLength > size)
      Fail(QStringLiteral("Il file è troncato."));
  }

  std::vector<SourceColumn> Columns() const {
    std::vector<SourceColumn> columns;
    for (const DbfField& field : m_fields) {
      if (!field.hidden) columns.push_back({field.name, field.type});
    }
    return columns;
  }

  void Read(RowSink& sink) {
    sink.Columns(Columns());
    sink.Reserve(static_cast<size_t>(m_records));
    std::optional<DbaseMemoFile> memo;
    if (std::any_of(m_fields.begin(), m_fields.end(), [](const DbfField& f) { return f.kind == FieldKind::Memo; })) {
      const MemoLayout layout = MemoLayoutOf(m_version);
      memo.emplace(SiblingFile(m_path, layout == MemoLayout::FoxPro ? QStringLiteral("fpt") : QStringLiteral("dbt")),
                   layout);
    }
    if (!m_file.seek(m_headerLength)) Fail(QString());
    const qint64 perRead = std::max<qint64>(1, kReadSize / m_recordLength);
    QByteArray records;
    std::vector<QVariant> row;
    for (qint64 done = 0; done < m_records;) {
      const qint64 count = std::min<qint64>(perRead, m_records - done);
      records.resize(count * m_recordLength);
      if (m_file.read(records.data(), records.size()) != records.size()) Fail(QStringLiteral("Il file è troncato."));
      done += count;
      for (qint64 r = 0; r < count; ++r) {
        const char* data = records.constData() + r * m_recordLength;
        if (data[0] == '*') continue;  // deleted
        row.clear();
        row.reserve(m_fields.size());
        for (const DbfField& field : m_fields) {
          if (!field.hidden) row.push_back(Value(field, data, memo ? &*memo : nullptr));
        }
        sink.Row(row);
      }
    }
  }

 private:
  [[noreturn]] void Fail(const QString& why) const {
    ThrowUnreadableFile(m_path, QStringLiteral("una tabella dBASE"), why);
  }

  // The field descriptors, up to their end mark. A damaged or foreign file
  // must not lead the reader past its records: each field lies within the
  // record.
  void ReadFields(const QByteArray& descriptors) {
    const bool visualFoxPro = IsVisualFoxPro(m_version);
    int offset = 1;  // after the deletion flag
    int flagBits = 0;
    int nullFlags = -1;
    for (qsizetype at = 0; at + kDescriptorSize <= descriptors.size(); at += kDescriptorSize) {
      const char* descriptor = descriptors.constData() + at;
      if (descriptor[0] == kDescriptorsEnd) break;
      const char type = static_cast<char>(std::toupper(static_cast<unsigned char>(descriptor[11])));
      if (type == '\0') Fail(QString());
      DbfField field;
      field.width = static_cast<unsigned char>(descriptor[16]);
      if (field.width == 0) Fail(QStringLiteral("Campo di larghezza nulla."));
      field.offset = offset;
      if (field.width > m_recordLength - offset) Fail(QStringLiteral("Campi incoerenti."));
      offset += field.width;
      field.name = m_text.Decode(QByteArrayView(descriptor, ::strnlen(descriptor, kFieldNameSize))).trimmed();
      const int flags = visualFoxPro ? static_cast<unsigned char>(descriptor[18]) : 0;
      SetKind(field, type, type == 'N' || type == 'F' ? static_cast<unsigned char>(descriptor[17]) : 0);
      field.hidden = type == '0' || (flags & kSystemField) != 0;
      // Visual FoxPro's null flags: a bit for each varying field's length,
      // then one for each field that may be Null, in the fields' order.
      if (visualFoxPro && (type == 'V' || type == 'Q')) field.lengthBit = flagBits++;
      if (visualFoxPro && (flags & kNullableField) != 0) field.nullBit = flagBits++;
      if (type == '0') nullFlags = static_cast<int>(m_fields.size());
      m_fields.push_back(field);
    }
    if (offset > m_recordLength) Fail(QStringLiteral("Campi incoerenti."));
    if (nullFlags >= 0) {
      m_nullFlagsOffset = m_fields[nullFlags].offset;
      m_nullFlagsBits = m_fields[nullFlags].width * 8;
    }
  }

  static void SetKind(DbfField& field, char type, int decimals) {
    const auto binary = [&](int width, FieldKind kind, ColumnType column) {
      field.kind = field.width == width ? kind : FieldKind::NoValue;
      field.type = field.width == width ? column : ColumnType::Text;
    };
    switch (type) {
      case 'N':
        // Whole numbers of up to 18 digits as 64-bit integers; numbers of
        // up to 15 digits with decimals as doubles, which hold them
        // exactly; wider ones as exact decimals.
        field.kind = FieldKind::Number;
        if (decimals == 0) {
          field.type = field.width <= 18 ? ColumnType::Integer : ColumnType::Decimal;
        } else {
          field.type = field.width - 1 <= 15 ? ColumnType::Double : ColumnType::Decimal;
        }
        break;
      case 'F':
        field.kind = FieldKind::Number;
        field.type = ColumnType::Double;
        break;
      case 'D':
        field.kind = FieldKind::Date;
        field.type = ColumnType::Date;
        break;
      case 'L':
        field.kind = FieldKind::Logical;
        field.type = ColumnType::Boolean;
        break;
      case 'V': field.kind = FieldKind::VarText; break;
      case 'M': field.kind = FieldKind::Memo; break;
      case 'I': binary(4, FieldKind::Int32, ColumnType::Integer); break;
      case 'T': binary(8, FieldKind::DateTime, ColumnType::DateTime); break;
      case 'Y': binary(8, FieldKind::Currency, ColumnType::Decimal); break;
      // B is a double in Visual FoxPro, a binary memo in dBASE.
      case 'B': binary(8, FieldKind::BinaryDouble, ColumnType::Double); break;
      case 'G':
      case 'P':
      case 'W':
      case 'Q':
      case '0': field.kind = FieldKind::NoValue; break;
      default: break;
    }
  }

  bool FlagSet(const char* data, int bit) const {
    if (bit < 0 || bit >= m_nullFlagsBits) return false;
    return (static_cast<unsigned char>(data[m_nullFlagsOffset + bit / 8]) >> (bit % 8)) & 1;
  }

  // A field of a record. Text is as stored up to its padding (the spaces
  // after it, or a NUL); numbers, dates and logicals lose the blanks around
  // them. Views of the record: no copy for each value.
  QVariant Value(const DbfField& field, const char* data, DbaseMemoFile* memo) const {
    if (FlagSet(data, field.nullBit)) return {};
    const char* raw = data + field.offset;
    switch (field.kind) {
      case FieldKind::Text: {
        qsizetype size = static_cast<qsizetype>(::strnlen(raw, static_cast<size_t>(field.width)));
        while (size > 0 && raw[size - 1] == ' ') --size;
        if (size == 0) return {};
        return m_text.Decode(QByteArrayView(raw, size));
      }
      case FieldKind::VarText: {
        qsizetype size = field.width;
        if (FlagSet(data, field.lengthBit)) {
          size = static_cast<unsigned char>(raw[field.width - 1]);
          if (size >= field.width) return {};
        }
        if (size == 0) return {};
        return m_text.Decode(QByteArrayView(raw, size));
      }
      case FieldKind::Memo: return MemoText(field, raw, memo);
      case FieldKind::Int32: return QVariant(qint64{qFromLittleEndian<qint32>(raw)});
      case FieldKind::Currency: return QVariant::fromValue(ExactDecimal::FromScaled(qFromLittleEndian<qint64>(raw), 4));
      case FieldKind::BinaryDouble: {
        double value = 0;
        const quint64 bits = qFromLittleEndian<quint64>(raw);
        std::memcpy(&value, &bits, sizeof value);
        return value;
      }
      case FieldKind::DateTime: return DateTime(raw);
      case FieldKind::NoValue: return {};
      default: break;
    }
    qsizetype first = 0, last = static_cast<qsizetype>(::strnlen(raw, static_cast<size_t>(field.width)));
    while (first < last && IsBlank(raw[first])) ++first;
    while (last > first && IsBlank(raw[last - 1])) --last;
    const QByteArrayView text(raw + first, last - first);
    switch (field.kind) {
      case FieldKind::Number: return Number(field.type, text);
      case FieldKind::Date: {
        const QDate date = DateOfDigits(text);
        return date.isValid() ? QVariant(date) : QVariant();
      }
      default: {
        const char c = text.isEmpty() ? '?' : static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (c == 'T' || c == 'Y') return true;
        if (c == 'F' || c == 'N') return false;
        return {};
      }
    }
  }

  static QVariant Number(ColumnType type, QByteArrayView text) {
    bool ok = false;
    switch (type) {
      case ColumnType::Integer: {
        const qint64 value = text.toLongLong(&ok);
        return ok ? QVariant(value) : QVariant();
      }
      case ColumnType::Double: {
        // Our own parse: the C library's would follow the user's locale.
        const double value = text.toDouble(&ok);
        return ok ? QVariant(value) : QVariant();
      }
      default: {
        const auto value = ExactDecimal::FromText(QString::fromLatin1(text));
        return value ? QVariant::fromValue(*value) : QVariant();
      }
    }
  }

  // Visual FoxPro's date-time: the Julian day and the milliseconds of the
  // day; both 0 (or blanks) when empty.
  static QVariant DateTime(const char* raw) {
    const qint32 day = qFromLittleEndian<qint32>(raw);
    const qint32 milliseconds = qFromLittleEndian<qint32>(raw + 4);
    if (day == 0 && milliseconds == 0) return {};
    if (std::all_of(raw, raw + 8, [](char c) { return c == ' '; })) return {};
    const QDate date = QDate::fromJulianDay(day);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999 || milliseconds < 0 ||
        milliseconds >= kMillisecondsPerDay)
      return {};
    return QDateTime(date, QTime(0, 0), Qt::UTC).addMSecs(milliseconds);
  }

  // A memo field holds the number of its first block: 4 bytes in Visual
  // FoxPro, else digits.
  QVariant MemoText(const DbfField& field, const char* raw, DbaseMemoFile* memo) const {
    quint32 block = 0;
    if (field.width == 4) {
      block = qFromLittleEndian<quint32>(raw);
    } else {
      const QByteArrayView digits = QByteArrayView(raw, field.width).trimmed();
      bool ok = false;
      block = digits.toUInt(&ok);
      if (!ok) return {};
    }
    const std::optional<QByteArray> text = memo != nullptr ? memo->Text(block) : std::nullopt;
    if (!text || text->isEmpty()) return {};
    return m_text.Decode(*text);
  }

  QString m_path;
  QFile m_file;
  int m_version = 0;
  quint32 m_records = 0;
  int m_headerLength = 0;
  int m_recordLength = 0;
  CodePageText m_text;
  std::vector<DbfField> m_fields;
  int m_nullFlagsOffset = 0;
  int m_nullFlagsBits = 0;  // 0: the table has no null flags
};

}  // namespace

std::unique_ptr<SourceReader> OpenDBaseFolder(const QString& folder) {
  return std::make_unique<FolderReader<DbfFile>>(folder, FolderTableExtension(SourceKind::DBase));
}

}  // namespace pv
