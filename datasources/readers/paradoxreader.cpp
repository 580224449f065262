// Paradox tables: one .db file per table in a folder, read with pxlib.
#include "datasources/readers/folderreader.h"
#include "datasources/readers/paradoxmemo.h"

#include "platform/exactdecimal.h"

// pxlib's header declares its functions without C linkage.
extern "C" {
#include <paradox.h>
}

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>

namespace pv {

namespace {

// The Paradox calendar counts days from 1 January of year 1.
constexpr qint64 kJulianDayOfDayZero = 1721425;

// Where the field descriptors start (a type byte and a width byte each):
// after the header, and after the second header of newer versions.
constexpr int kFieldsWithoutDataHeader = 0x58;
constexpr int kFieldsWithDataHeader = 0x78;
constexpr int kBcdWidth = 17;

void RecordPxError(pxdoc_t*, int, const char* message, void* data) {
  if (data != nullptr && message != nullptr) *static_cast<QString*>(data) = QString::fromUtf8(message).trimmed();
}

quint16 Word(const QByteArray& b, int at) {
  return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

// A whole number as Paradox stores it: big-endian with the sign bit
// flipped, all zeros for Null. (pxlib's own reader of 4-byte numbers looks
// at 8 bytes where long is 64 bits wide, and takes the next field for part
// of the value.)
std::optional<qint64> PxWholeNumber(const char* data, int size) {
  if (size < 1 || size > 8) return std::nullopt;  // the header check keeps fields to their width
  quint64 bits = 0;
  bool zero = true;
  for (int i = 0; i < size; ++i) {
    const unsigned char byte = static_cast<unsigned char>(data[i]);
    zero = zero && byte == 0;
    bits = (bits << 8) | byte;
  }
  if (zero) return std::nullopt;
  const int width = size * 8;
  bits ^= quint64{1} << (width - 1);
  if (width < 64 && (bits & (quint64{1} << (width - 1)))) bits |= ~quint64{0} << width;  // negative
  return static_cast<qint64>(bits);
}

// A BCD number as Paradox stores it in 17 bytes: a head byte (the sign bit
// set for positive numbers, the count of decimals in its low six bits) and
// 32 digits of one nibble each, the last `decimals` of them the fraction.
// A negative number keeps its digits inverted (15 minus the digit). All
// zeros for Null, and Null for anything that is no number of this field.
// (pxlib's own text of a number with 32 decimals holds no number.)
std::optional<ExactDecimal> PxBcd(const unsigned char* data, int decimals) {
  if (data[0] == 0 || (data[0] & 0x3f) != decimals || decimals > 32) return std::nullopt;
  const bool negative = (data[0] & 0x80) == 0;
  QString text;
  text.reserve(36);
  if (negative) text += QLatin1Char('-');
  const int firstDecimal = 34 - decimals;
  for (int i = 2; i < 34; ++i) {
    if (i == firstDecimal) text += i == 2 ? QStringLiteral("0.") : QStringLiteral(".");
    int digit = i % 2 != 0 ? data[i / 2] & 0x0f : data[i / 2] >> 4;
    if (negative) digit ^= 0x0f;
    if (digit > 9) return std::nullopt;
    text += QLatin1Char(static_cast<char>('0' + digit));
  }
  return ExactDecimal::FromText(text);
}

class PxFile {
 public:
  explicit PxFile(const QString& path) : m_path(path), m_memos(path) {
    RequireReadableFile(path);
    const int codePage = CheckFile();
    m_owner.reset(PX_new3(RecordPxError, nullptr, nullptr, nullptr, &m_error));
    m_doc = m_owner.get();
    if (m_doc == nullptr) Fail(QString());
    // PX_open_file opens the table for writing too, which a file the user
    // may only read (and the confined reader) refuses: it is opened here
    // for reading, and pxlib reads it from there.
    m_file.reset(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!m_file) Fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (PX_open_fp(m_doc, m_file.get()) < 0) Fail(m_error);
    m_text = CodePageText(codePage);
    const int count = PX_get_num_fields(m_doc);
    pxfield_t* fields = PX_get_fields(m_doc);
    if (count <= 0 || fields == nullptr) Fail(m_error);
    int size = 0;
    for (int i = 0; i < count; ++i) {
      const pxfield_t& field = fields[i];
      m_fields.push_back(
          {m_text.Decode(QByteArray(field.px_fname != nullptr ? field.px_fname : "")), TypeOf(field.px_ftype)});
      size += field.px_flen;
    }
    if (size != PX_get_recordsize(m_doc)) Fail(QStringLiteral("Campi incoerenti."));
  }
  PxFile(const PxFile&) = delete;
  PxFile& operator=(const PxFile&) = delete;

  const std::vector<SourceColumn>& Columns() const { return m_fields; }

  void Read(RowSink& sink) {
    sink.Columns(m_fields);
    const int records = PX_get_num_records(m_doc);
    QByteArray data(PX_get_recordsize(m_doc), '\0');
    pxfield_t* fields = PX_get_fields(m_doc);
    sink.Reserve(static_cast<size_t>(std::max(records, 0)));
    std::vector<QVariant> row;
    for (int r = 0; r < records; ++r) {
      if (PX_get_record(m_doc, r, data.data()) == nullptr) Fail(m_error);
      row.clear();
      row.reserve(m_fields.size());
      int offset = 0;
      for (size_t i = 0; i < m_fields.size(); ++i) {
        row.push_back(Value(fields[i], data.data() + offset));
        offset += fields[i].px_flen;
      }
      sink.Row(row);
    }
  }

 private:
  static ColumnType TypeOf(char type) {
    switch (type) {
      case pxfShort:
      case pxfLong:
      case pxfAutoInc: return ColumnType::Integer;
      case pxfNumber:
      case pxfCurrency: return ColumnType::Double;  // kept as doubles in the file
      case pxfBCD: return ColumnType::Decimal;
      case pxfDate: return ColumnType::Date;
      case pxfTime:
      case pxfTimestamp: return ColumnType::DateTime;
      case pxfLogical: return ColumnType::Boolean;
      default: return ColumnType::Text;
    }
  }

  [[noreturn]] void Fail(const QString& why) const {
    ThrowUnreadableFile(m_path, QStringLiteral("una tabella Paradox"), why);
  }

  // pxlib trusts the header: a field wider than its type overruns its
  // buffers, a version it does not know leaves part of its header unread,
  // and it follows the chain of data blocks as it finds it, past the end or
  // round in a circle. The header and the chain are checked here first.
  // Returns the table's code page.
  int CheckFile() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) Fail(QString());
    const QByteArray head = file.read(kFieldsWithDataHeader + 2 * 255);
    if (head.size() < kFieldsWithoutDataHeader) Fail(QString());
    const int recordSize = Word(head, 0);
    const int headerSize = Word(head, 2);
    const int fileType = static_cast<unsigned char>(head[4]);
    const int blockKb = static_cast<unsigned char>(head[5]);
    const qint64 records = static_cast<qint64>(Word(head, 6)) | (static_cast<qint64>(Word(head, 8)) << 16);
    const int fileBlocks = Word(head, 12);
    const int firstBlock = Word(head, 14);
    const int fieldCount = Word(head, 0x21);
    const int blockSize = blockKb * 1024;
    if ((fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB) ||
        !(blockKb == 1 || blockKb == 2 || blockKb == 3 || blockKb == 4 || blockKb == 8 || blockKb == 16 ||
          blockKb == 32) ||
        recordSize <= 0 || recordSize > blockSize - 6 || headerSize < 0x58 || fieldCount <= 0 || fieldCount > 255)
      Fail(QStringLiteral("Intestazione sconosciuta."));
    // Versions 3.0 and 3.5 (bytes 3 and 4), 4.x, 5.x and 7.x; newer ones
    // have a second header, with the code page, before the fields.
    const int version = static_cast<unsigned char>(head[0x39]);
    if (version < 3 || version > 12) Fail(QStringLiteral("La versione del formato (%1) è sconosciuta.").arg(version));
    const bool dataHeader = version >= 5;
    const int fieldsAt = dataHeader ? kFieldsWithDataHeader : kFieldsWithoutDataHeader;
    if (head.size() < fieldsAt + 2 * fieldCount || headerSize < fieldsAt + 2 * fieldCount)
      Fail(QStringLiteral("Intestazione danneggiata."));
    int widths = 0;
    for (int i = 0; i < fieldCount; ++i) {
      const char type = head[fieldsAt + 2 * i];
      const int declared = static_cast<unsigned char>(head[fieldsAt + 2 * i + 1]);
      const QString why = FieldWidthProblem(type, declared);
      if (!why.isEmpty()) Fail(QStringLiteral("Il campo %1 %2").arg(i + 1).arg(why));
      widths += type == pxfBCD ? kBcdWidth : declared;
    }
    if (widths != recordSize) Fail(QStringLiteral("Campi incoerenti."));
    // Blocks of a password-protected table are scrambled: neither this walk
    // nor pxlib could trust what they read there.
    // The key stands in the header, or in the second header of newer files
    // when the first holds FF00FF00.
    auto longAt = [&](int at) {
      return static_cast<quint32>(Word(head, at)) | (static_cast<quint32>(Word(head, at + 2)) << 16);
    };
    quint32 key = longAt(0x25);
    if (key == 0xFF00FF00u) key = dataHeader ? longAt(0x5C) : 0;
    if (key != 0) Fail(QStringLiteral("La tabella è protetta da una password."));
    std::set<int> seen;
    qint64 counted = 0;
    for (int block = firstBlock; block != 0;) {
      if (block > fileBlocks || !seen.insert(block).second) Fail(QStringLiteral("Catena di blocchi danneggiata."));
      if (!file.seek(headerSize + static_cast<qint64>(block - 1) * blockSize)) Fail(QString());
      const QByteArray blockHead = file.read(6);
      if (blockHead.size() < 6) Fail(QStringLiteral("Il file è troncato."));
      const int added = static_cast<qint16>(Word(blockHead, 4));
      if (added < 0 || added + recordSize > blockSize - 6) Fail(QStringLiteral("Blocco danneggiato."));
      // A file may end before the last block does (its unused tail never
      // written): what counts is that every record lies inside it.
      if (file.pos() + added + recordSize > file.size()) Fail(QStringLiteral("Il file è troncato."));
      counted += added / recordSize + 1;
      block = Word(blockHead, 0);
    }
    if (counted != records) Fail(QStringLiteral("Il numero dei record non torna."));
    // Old versions name no code page: they come from DOS.
    return dataHeader ? Word(head, 0x6A) : 850;
  }

  // Why a field's declared width does not fit its type; empty when it fits.
  static QString FieldWidthProblem(char type, int declared) {
    const auto exactly = [&](int width, const char* name) {
      return declared == width ? QString()
                               : QStringLiteral("(%1) è largo %2 byte invece di %3.")
                                     .arg(QString::fromUtf8(name))
                                     .arg(declared)
                                     .arg(width);
    };
    switch (type) {
      case pxfShort: return exactly(2, "intero corto");
      case pxfLong: return exactly(4, "intero lungo");
      case pxfAutoInc: return exactly(4, "contatore");
      case pxfDate: return exactly(4, "data");
      case pxfTime: return exactly(4, "ora");
      case pxfCurrency: return exactly(8, "valuta");
      case pxfNumber: return exactly(8, "numero");
      case pxfTimestamp: return exactly(8, "data e ora");
      case pxfLogical: return exactly(1, "logico");
      case pxfBCD:
        // The width byte of a BCD field holds its decimals; the field is 17 bytes.
        return declared <= 32 ? QString() : QStringLiteral("(BCD) dichiara %1 decimali, più di 32.").arg(declared);
      case pxfAlpha:
      case pxfBytes: return declared >= 1 ? QString() : QStringLiteral("è largo 0 byte.");
      case pxfMemoBLOb:
      case pxfBLOb:
      case pxfFmtMemoBLOb:
      case pxfOLE:
      case pxfGraphic:
        // The last 10 bytes point into the memo file.
        return declared >= 10 ? QString() : QStringLiteral("(memo) è largo %1 byte, meno di 10.").arg(declared);
      default: return QStringLiteral("è di un tipo sconosciuto (%1).").arg(static_cast<unsigned char>(type));
    }
  }

  QVariant Value(const pxfield_t& field, char* data) {
    switch (field.px_ftype) {
      case pxfAlpha: {
        const QByteArray bytes(data, static_cast<qsizetype>(strnlen(data, static_cast<size_t>(field.px_flen))));
        return bytes.isEmpty() ? QVariant() : QVariant(m_text.Decode(bytes));
      }
      case pxfShort:
      case pxfLong:
      case pxfAutoInc: {
        const std::optional<qint64> value = PxWholeNumber(data, field.px_flen);
        return value ? QVariant(*value) : QVariant();
      }
      case pxfNumber:
      case pxfCurrency: {
        double value = 0;
        return PX_get_data_double(m_doc, data, field.px_flen, &value) > 0 ? QVariant(value) : QVariant();
      }
      case pxfBCD: {
        // Up to 32 digits, exactly.
        const auto value = PxBcd(reinterpret_cast<const unsigned char*>(data), field.px_fdc);
        return value ? QVariant::fromValue(*value) : QVariant();
      }
      case pxfDate: {
        const std::optional<qint64> days = PxWholeNumber(data, field.px_flen);
        if (!days) return {};
        const QDate date = QDate::fromJulianDay(*days + kJulianDayOfDayZero);
        return date.isValid() ? QVariant(date) : QVariant();
      }
      case pxfTime: {
        const std::optional<qint64> msecs = PxWholeNumber(data, field.px_flen);
        if (!msecs) return {};
        return TimeOfDay(QTime(0, 0)).addMSecs(*msecs);
      }
      case pxfTimestamp: {
        double msecs = 0;
        if (PX_get_data_double(m_doc, data, field.px_flen, &msecs) <= 0) return {};
        // Beyond any calendar (or not a number): no date.
        if (!(std::fabs(msecs) < 1e17)) return {};
        const qint64 whole = static_cast<qint64>(msecs);
        const QDate date = QDate::fromJulianDay(whole / 86400000 + kJulianDayOfDayZero);
        if (!date.isValid()) return {};
        return QDateTime(date, QTime(0, 0), Qt::UTC).addMSecs(whole % 86400000);
      }
      case pxfLogical: {
        char value = 0;
        return PX_get_data_byte(m_doc, data, field.px_flen, &value) > 0 ? QVariant(value != 0) : QVariant();
      }
      case pxfMemoBLOb: {
        // In the table's code page; Null when its memo file cannot give it.
        const std::optional<QByteArray> memo = m_memos.Read(data, field.px_flen);
        return memo ? QVariant(m_text.Decode(*memo)) : QVariant();
      }
      default: return QString();  // formatted memos and pictures: read empty
    }
  }

  QString m_path;
  QString m_error;
  // Closed after pxlib is done with it (pxlib leaves a file it was given open).
  std::unique_ptr<std::FILE, decltype(&std::fclose)> m_file{nullptr, &std::fclose};
  std::unique_ptr<pxdoc_t, decltype(&PX_delete)> m_owner{nullptr, &PX_delete};
  pxdoc_t* m_doc = nullptr;
  CodePageText m_text;
  std::vector<SourceColumn> m_fields;
  ParadoxMemoFile m_memos;
};

}  // namespace

std::unique_ptr<SourceReader> OpenParadoxFolder(const QString& folder) {
  return std::make_unique<FolderReader<PxFile>>(folder, FolderTableExtension(SourceKind::Paradox));
}

}  // namespace pv
