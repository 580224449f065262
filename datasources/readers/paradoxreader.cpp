// Paradox tables: one .db file per table in a folder, read with pxlib.
#include "datasources/readers/folderreader.h"

// pxlib's header declares its functions without C linkage.
extern "C" {
#include <paradox.h>
}

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <cstring>
#include <optional>
#include <set>

namespace pv {

namespace {

// The Paradox calendar counts days from 1 January of year 1.
constexpr qint64 kJulianDayOfDayZero = 1721425;

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
  if (bits & (quint64{1} << (width - 1))) bits |= ~quint64{0} << width;  // negative
  return static_cast<qint64>(bits);
}

class PxFile {
 public:
  explicit PxFile(const QString& path) : m_path(path) {
    RequireReadableFile(path);
    CheckBlocks();
    m_owner.reset(PX_new3(RecordPxError, nullptr, nullptr, nullptr, &m_error));
    m_doc = m_owner.get();
    if (m_doc == nullptr) Fail(QString());
    if (PX_open_file(m_doc, QFile::encodeName(path).constData()) < 0) Fail(m_error);
    m_text = CodePageText(m_doc->px_head->px_doscodepage);
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

  SourceTable Read() {
    SourceTable table;
    table.columns = m_fields;
    const int records = PX_get_num_records(m_doc);
    QByteArray data(PX_get_recordsize(m_doc), '\0');
    pxfield_t* fields = PX_get_fields(m_doc);
    table.rows.reserve(static_cast<size_t>(records));
    for (int r = 0; r < records; ++r) {
      if (PX_get_record(m_doc, r, data.data()) == nullptr) Fail(m_error);
      std::vector<QVariant> row;
      row.reserve(m_fields.size());
      int offset = 0;
      for (size_t i = 0; i < m_fields.size(); ++i) {
        row.push_back(Value(fields[i], data.data() + offset));
        offset += fields[i].px_flen;
      }
      table.rows.push_back(std::move(row));
    }
    return table;
  }

 private:
  static ColumnType TypeOf(char type) {
    switch (type) {
      case pxfShort:
      case pxfLong:
      case pxfAutoInc: return ColumnType::Integer;
      case pxfNumber:
      case pxfCurrency:
      case pxfBCD: return ColumnType::Double;
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

  // pxlib follows the chain of data blocks as it finds it; a damaged file
  // could send it past the end or round in a circle. Walk it first.
  void CheckBlocks() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) Fail(QString());
    const QByteArray head = file.read(0x78);
    if (head.size() < 0x58) Fail(QString());
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
    // Blocks of a password-protected table are scrambled: neither this walk
    // nor pxlib could trust what they read there.
    // The key stands in the header, or in the second header of newer files
    // when the first holds FF00FF00.
    const bool dataHeader = static_cast<unsigned char>(head[0x39]) >= 5 && head.size() >= 0x60;
    auto longAt = [&](int at) {
      return static_cast<quint32>(Word(head, at)) | (static_cast<quint32>(Word(head, at + 2)) << 16);
    };
    quint32 key = longAt(0x25);
    if (key == 0xFF00FF00u) key = dataHeader ? longAt(0x5C) : 0;
    if (key != 0) Fail(QStringLiteral("La tabella è protetta da una password."));
    if (static_cast<qint64>(headerSize) + static_cast<qint64>(fileBlocks) * blockSize > file.size())
      Fail(QStringLiteral("Il file è troncato."));
    std::set<int> seen;
    qint64 counted = 0;
    for (int block = firstBlock; block != 0;) {
      if (block > fileBlocks || !seen.insert(block).second) Fail(QStringLiteral("Catena di blocchi danneggiata."));
      if (!file.seek(headerSize + static_cast<qint64>(block - 1) * blockSize)) Fail(QString());
      const QByteArray blockHead = file.read(6);
      if (blockHead.size() < 6) Fail(QStringLiteral("Il file è troncato."));
      const int added = static_cast<qint16>(Word(blockHead, 4));
      if (added < 0 || added + recordSize > blockSize - 6) Fail(QStringLiteral("Blocco danneggiato."));
      counted += added / recordSize + 1;
      block = Word(blockHead, 0);
    }
    if (counted != records) Fail(QStringLiteral("Il numero dei record non torna."));
  }

  QVariant Value(const pxfield_t& field, char* data) const {
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
        char* text = nullptr;
        if (PX_get_data_bcd(m_doc, reinterpret_cast<unsigned char*>(data), field.px_fdc, &text) <= 0 || text == nullptr)
          return {};
        bool ok = false;
        const double value = QByteArray(text).toDouble(&ok);
        m_doc->free(m_doc, text);
        return ok ? QVariant(value) : QVariant();
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
        const qint64 whole = static_cast<qint64>(msecs);
        const QDate date = QDate::fromJulianDay(whole / 86400000 + kJulianDayOfDayZero);
        if (!date.isValid()) return {};
        return QDateTime(date, QTime(0, 0), Qt::UTC).addMSecs(whole % 86400000);
      }
      case pxfLogical: {
        char value = 0;
        return PX_get_data_byte(m_doc, data, field.px_flen, &value) > 0 ? QVariant(value != 0) : QVariant();
      }
      default: return QString();  // memos and pictures live in another file: read empty
    }
  }

  QString m_path;
  QString m_error;
  std::unique_ptr<pxdoc_t, decltype(&PX_delete)> m_owner{nullptr, &PX_delete};
  pxdoc_t* m_doc = nullptr;
  CodePageText m_text;
  std::vector<SourceColumn> m_fields;
};

}  // namespace

std::unique_ptr<SourceReader> OpenParadoxFolder(const QString& folder) {
  return std::make_unique<FolderReader<PxFile>>(folder, QStringLiteral("db"));
}

}  // namespace pv
