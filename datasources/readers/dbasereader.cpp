// dBASE tables: one .dbf file per table in a folder, read with shapelib.
#include "datasources/readers/folderreader.h"

#include "platform/exactdecimal.h"

#include <shapefil.h>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace pv {

namespace {

thread_local QString g_shapelibError;  // the last complaint of shapelib, for our message

void RecordShapelibError(const char* message) { g_shapelibError = QString::fromUtf8(message); }

// shapelib seeks before every record it reads; through stdio each seek drops
// the buffer and costs system calls. These hooks read the file in blocks
// (growing while the reads go on) and seek without calling the system.
struct BlockFile {
  int fd = -1;
  qint64 pos = 0;
  qint64 start = 0;         // where `block` was read from
  std::vector<char> block;  // the bytes read last
  size_t next = 16 * 1024;  // the size of the next read

  bool Fill() {
    block.resize(next);
    ssize_t n = 0;
    do {
      n = ::pread(fd, block.data(), block.size(), static_cast<off_t>(pos));
    } while (n < 0 && errno == EINTR);
    block.resize(n > 0 ? static_cast<size_t>(n) : 0);
    start = pos;
    next = std::min<size_t>(next * 2, 1024 * 1024);
    return n > 0;
  }
};

BlockFile* AsBlockFile(SAFile file) { return reinterpret_cast<BlockFile*>(file); }

SAFile BlockOpen(const char* name, const char* access) {
  if (std::strpbrk(access, "wa+") != nullptr) return nullptr;  // tables are only read
  const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  auto* file = new BlockFile;
  file->fd = fd;
  return reinterpret_cast<SAFile>(file);
}

SAOffset BlockRead(void* p, SAOffset size, SAOffset count, SAFile handle) {
  BlockFile* f = AsBlockFile(handle);
  if (size == 0 || count == 0 || f->pos < 0) return 0;
  const SAOffset wanted = size * count;
  char* out = static_cast<char*>(p);
  SAOffset done = 0;
  while (done < wanted) {
    const qint64 end = f->start + static_cast<qint64>(f->block.size());
    if (f->pos >= f->start && f->pos < end) {
      const SAOffset n = std::min<SAOffset>(wanted - done, static_cast<SAOffset>(end - f->pos));
      std::memcpy(out + done, f->block.data() + (f->pos - f->start), n);
      done += n;
      f->pos += static_cast<qint64>(n);
    } else if (!f->Fill()) {
      break;
    }
  }
  return done / size;
}

SAOffset BlockWrite(void*, SAOffset, SAOffset, SAFile) { return 0; }

SAOffset BlockSeek(SAFile handle, SAOffset offset, int whence) {
  BlockFile* f = AsBlockFile(handle);
  qint64 base = 0;
  if (whence == SEEK_CUR) {
    base = f->pos;
  } else if (whence == SEEK_END) {
    struct stat info {};
    if (::fstat(f->fd, &info) != 0) return static_cast<SAOffset>(-1);
    base = static_cast<qint64>(info.st_size);
  }
  const qint64 pos = base + static_cast<qint64>(offset);
  if (pos < 0) return static_cast<SAOffset>(-1);
  f->pos = pos;
  return 0;
}

SAOffset BlockTell(SAFile handle) { return static_cast<SAOffset>(AsBlockFile(handle)->pos); }

int BlockFlush(SAFile) { return 0; }

int BlockClose(SAFile handle) {
  BlockFile* f = AsBlockFile(handle);
  const int rc = ::close(f->fd);
  delete f;
  return rc;
}

int NoRemove(const char*) { return -1; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// A date written as eight digits, as QDate::fromString(text, "yyyyMMdd")
// reads it; any other text goes to that parse.
QDate DateOfDigits(const QByteArray& text) {
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

struct DbfField {
  QString name;
  char nativeType = 'C';
  int offset = 0;  // in the record
  int width = 0;
  int decimals = 0;
  ColumnType type = ColumnType::Text;
  bool memo = false;
};

class DbfFile {
 public:
  explicit DbfFile(const QString& path) : m_path(path) {
    RequireReadableFile(path);
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = BlockOpen;
    hooks.FRead = BlockRead;
    hooks.FWrite = BlockWrite;
    hooks.FSeek = BlockSeek;
    hooks.FTell = BlockTell;
    hooks.FFlush = BlockFlush;
    hooks.FClose = BlockClose;
    hooks.Remove = NoRemove;
    hooks.Error = RecordShapelibError;
    g_shapelibError.clear();
    m_handle = DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks);
    if (m_handle == nullptr) Fail(g_shapelibError);
    // A refused file is closed here: the destructor does not run when the
    // constructor throws.
    try {
      CheckShape();
      const char* codePage = DBFGetCodePage(m_handle);
      m_text = CodePageText(codePage != nullptr ? CodePageOfName(codePage) : 1252);
      ReadFields();
    } catch (...) {
      DBFClose(m_handle);
      m_handle = nullptr;
      throw;
    }
  }
  ~DbfFile() {
    if (m_handle != nullptr) DBFClose(m_handle);
  }
  DbfFile(const DbfFile&) = delete;
  DbfFile& operator=(const DbfFile&) = delete;

  std::vector<SourceColumn> Columns() const {
    std::vector<SourceColumn> columns;
    for (const DbfField& field : m_fields) columns.push_back({field.name, field.type});
    return columns;
  }

  void Read(RowSink& sink) {
    sink.Columns(Columns());
    const int records = DBFGetRecordCount(m_handle);
    sink.Reserve(static_cast<size_t>(std::max(records, 0)));
    std::vector<QVariant> row;
    for (int record = 0; record < records; ++record) {
      // The record as it is in the file, its fields cut from it here: the
      // library would copy and trim each field apart.
      const char* data = DBFReadTuple(m_handle, record);
      if (data == nullptr) Fail(g_shapelibError);
      if (data[0] == '*') continue;  // deleted
      row.clear();
      row.reserve(m_fields.size());
      for (const DbfField& field : m_fields) row.push_back(Value(field, data));
      sink.Row(row);
    }
  }

 private:
  [[noreturn]] void Fail(const QString& why) const {
    ThrowUnreadableFile(m_path, QStringLiteral("una tabella dBASE"), why);
  }

  // A damaged or foreign file must not lead shapelib to read past its records.
  void CheckShape() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) Fail(QString());
    const QByteArray head = file.read(32);
    if (head.size() < 32) Fail(QString());
    const int version = static_cast<unsigned char>(head[0]);
    const int level = version & 0x07;
    const bool known = level == 3 || level == 4 || level == 5 || version == 0x02 || version == 0x30 ||
                       version == 0x31 || version == 0x32;
    if (!known) Fail(QStringLiteral("Intestazione sconosciuta."));
    const int fields = DBFGetFieldCount(m_handle);
    int width = 1;  // the deletion flag
    for (int i = 0; i < fields; ++i) {
      int fieldWidth = 0;
      int decimals = 0;
      if (DBFGetFieldInfo(m_handle, i, nullptr, &fieldWidth, &decimals) == FTInvalid &&
          DBFGetNativeFieldType(m_handle, i) == '\0')
        Fail(QString());
      if (fieldWidth <= 0) Fail(QStringLiteral("Campo di larghezza nulla."));
      // Fields are cut from the record by their place: each lies within it.
      const int offset = m_handle->panFieldOffset[i];
      if (offset < 1 || fieldWidth > m_handle->nRecordLength - offset) Fail(QStringLiteral("Campi incoerenti."));
      width += fieldWidth;
    }
    if (fields <= 0 || width > m_handle->nRecordLength) Fail(QStringLiteral("Campi incoerenti."));
    const qint64 needed = static_cast<qint64>(m_handle->nHeaderLength) +
                          static_cast<qint64>(m_handle->nRecords) * m_handle->nRecordLength;
    if (m_handle->nRecords < 0 || file.size() < needed) Fail(QStringLiteral("Il file è troncato."));
  }

  void ReadFields() {
    const int fields = DBFGetFieldCount(m_handle);
    for (int i = 0; i < fields; ++i) {
      char name[XBASE_FLDNAME_LEN_READ + 1] = {};
      DbfField field;
      DBFGetFieldInfo(m_handle, i, name, &field.width, &field.decimals);
      field.offset = m_handle->panFieldOffset[i];
      field.name = m_text.Decode(QByteArray(name)).trimmed();
      field.nativeType =
          static_cast<char>(std::toupper(static_cast<unsigned char>(DBFGetNativeFieldType(m_handle, i))));
      switch (field.nativeType) {
        case 'N':
          // Whole numbers of up to 18 digits as 64-bit integers; numbers of
          // up to 15 digits with decimals as doubles, which hold them
          // exactly; wider ones as exact decimals.
          if (field.decimals == 0) {
            field.type = field.width <= 18 ? ColumnType::Integer : ColumnType::Decimal;
          } else {
            field.type = field.width - 1 <= 15 ? ColumnType::Double : ColumnType::Decimal;
          }
          break;
        case 'F': field.type = ColumnType::Double; break;
        case 'D': field.type = ColumnType::Date; break;
        case 'L': field.type = ColumnType::Boolean; break;
        case 'M':
        case 'B':
        case 'G':
        case 'P': field.memo = true; break;
        default: break;
      }
      m_fields.push_back(field);
    }
  }

  // A field of a record, as shapelib reads it: up to its first NUL, without
  // the spaces before and after. Views of the record: no copy for each value.
  QVariant Value(const DbfField& field, const char* data) {
    if (field.memo) return QString();
    const char* raw = data + field.offset;
    qsizetype size = static_cast<qsizetype>(::strnlen(raw, static_cast<size_t>(field.width)));
    while (size > 0 && raw[0] == ' ') {
      ++raw;
      --size;
    }
    while (size > 0 && raw[size - 1] == ' ') --size;
    qsizetype first = 0, last = size;
    while (first < last && IsBlank(raw[first])) ++first;
    while (last > first && IsBlank(raw[last - 1])) --last;
    const QByteArray text = QByteArray::fromRawData(raw + first, last - first);
    switch (field.type) {
      case ColumnType::Integer: {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        return ok ? QVariant(value) : QVariant();
      }
      case ColumnType::Double: {
        // Our own parse: the C library's would follow the user's locale.
        bool ok = false;
        const double value = text.toDouble(&ok);
        return ok ? QVariant(value) : QVariant();
      }
      case ColumnType::Decimal: {
        const auto value = ExactDecimal::FromText(QString::fromLatin1(text));
        return value ? QVariant::fromValue(*value) : QVariant();
      }
      case ColumnType::Date: {
        const QDate date = DateOfDigits(text);
        return date.isValid() ? QVariant(date) : QVariant();
      }
      case ColumnType::Boolean: {
        const char c = text.isEmpty() ? '?' : static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (c == 'T' || c == 'Y') return true;
        if (c == 'F' || c == 'N') return false;
        return {};
      }
      default: {
        if (size == 0) return {};
        return m_text.Decode(QByteArrayView(raw, size));
      }
    }
  }

  QString m_path;
  DBFHandle m_handle = nullptr;
  CodePageText m_text;
  std::vector<DbfField> m_fields;
};

}  // namespace

std::unique_ptr<SourceReader> OpenDBaseFolder(const QString& folder) {
  return std::make_unique<FolderReader<DbfFile>>(folder, FolderTableExtension(SourceKind::DBase));
}

}  // namespace pv
