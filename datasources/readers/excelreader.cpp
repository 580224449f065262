// Excel workbooks (.xls, BIFF 5 and 8), read with freexl. Each sheet is a
// table named "Name$"; its first row names the columns.
#include "datasources/readers/excelprechecks.h"
#include "datasources/readers/readerkit.h"

#include <freexl.h>

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <map>
#include <optional>

namespace pv {

namespace {

// freexl sizes a sheet's cell table by the sheet's dimensions record and
// never looks at what the records hold: a record that overstates them makes
// the reader walk millions of empty cells, one beyond the format's limits
// overflows freexl's table. The workbook's own records are read here first:
// the dimensions must be ones a workbook can have, and a sheet is read up to
// the last row and column its cell records (blank cells among them) reach.
struct SheetExtent {
  quint32 rows = 0;
  quint32 columns = 0;
};

// Excel's limits: 65,536 rows (16,384 before Excel 97) of 256 columns.
constexpr quint32 kMaxRows = 65536;
constexpr quint32 kMaxColumns = 256;

quint16 Word16(QByteArrayView b, qsizetype at) {
  return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

quint32 Word32(QByteArrayView b, qsizetype at) {
  return static_cast<quint32>(Word16(b, at)) | (static_cast<quint32>(Word16(b, at + 2)) << 16);
}

// The streams of a compound file (the container of BIFF 5 and 8 workbooks),
// each sector chain checked against the file's size and for loops.
class CompoundFile {
 public:
  static constexpr quint32 kEndOfChain = 0xFFFFFFFEu;
  static constexpr quint32 kFree = 0xFFFFFFFFu;

  static bool IsOne(QByteArrayView file) {
    return file.size() >= 512 && file.first(8) == QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  }

  explicit CompoundFile(QByteArrayView file) : m_file(file) {}

  // The stream named like freexl looks for it ("Workbook", or "Book" in BIFF 5).
  std::optional<QByteArray> Workbook() {
    const int shift = Word16(m_file, 0x1E);
    if (shift != 9 && shift != 12) return std::nullopt;
    m_sectorSize = qsizetype{1} << shift;
    m_sectors = m_file.size() / m_sectorSize - 1;
    if (!ReadFat()) return std::nullopt;
    const std::optional<QByteArray> directory = Chain(Word32(m_file, 0x30), -1);
    if (!directory || !ExcelDirectoryNamesFit(*directory)) return std::nullopt;
    std::optional<std::pair<quint32, quint32>> root, book;
    for (qsizetype at = 0; at + 128 <= directory->size(); at += 128) {
      const QByteArrayView entry = QByteArrayView(*directory).sliced(at, 128);
      const int nameBytes = Word16(entry, 0x40);
      if (nameBytes < 2 || nameBytes > 64) continue;
      const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(entry.data()), nameBytes / 2 - 1);
      const std::pair<quint32, quint32> where{Word32(entry, 0x74), Word32(entry, 0x78)};
      if (!root && entry[0x42] == 5) root = where;
      if (!book && (name == QLatin1String("Workbook") || name == QLatin1String("Book"))) book = where;
    }
    if (!book) return std::nullopt;
    // A stream below the cutoff size lives in the mini stream, in sectors of
    // its own.
    if (book->second >= Word32(m_file, 0x38) || Word32(m_file, 0x40) == 0) return Chain(book->first, book->second);
    if (!root) return std::nullopt;
    const std::optional<QByteArray> mini = Chain(root->first, root->second);
    const std::optional<QByteArray> miniFat = Chain(Word32(m_file, 0x3C), -1);
    const int miniShift = Word16(m_file, 0x20);
    if (!mini || !miniFat || miniShift < 6 || miniShift > 12) return std::nullopt;
    const qsizetype miniSize = qsizetype{1} << miniShift;
    QByteArray stream;
    qsizetype steps = 0;
    for (quint32 sector = book->first; stream.size() < book->second && sector != kEndOfChain;) {
      const qsizetype at = static_cast<qsizetype>(sector) * miniSize;
      if (at + miniSize > mini->size() || static_cast<qsizetype>(sector) * 4 + 4 > miniFat->size() ||
          ++steps > mini->size() / miniSize)
        return std::nullopt;
      stream += QByteArrayView(*mini).sliced(at, miniSize);
      sector = Word32(*miniFat, static_cast<qsizetype>(sector) * 4);
    }
    if (stream.size() < book->second) return std::nullopt;
    stream.truncate(book->second);
    return stream;
  }

 private:
  QByteArrayView Sector(quint32 sector) const {
    return m_file.sliced((static_cast<qsizetype>(sector) + 1) * m_sectorSize, m_sectorSize);
  }

  // The sector allocation table, from the header's list of its sectors and
  // the list's continuation sectors.
  bool ReadFat() {
    std::vector<quint32> fatSectors;
    for (int i = 0; i < 109; ++i) fatSectors.push_back(Word32(m_file, 0x4C + 4 * i));
    quint32 next = Word32(m_file, 0x44);
    for (quint32 n = Word32(m_file, 0x48); n > 0 && next != kEndOfChain && next != kFree; --n) {
      if (next >= m_sectors || fatSectors.size() > static_cast<size_t>(m_sectors) + 109) return false;
      const QByteArrayView sector = Sector(next);
      for (qsizetype at = 0; at + 4 < m_sectorSize; at += 4) fatSectors.push_back(Word32(sector, at));
      next = Word32(sector, m_sectorSize - 4);
    }
    for (const quint32 sector : fatSectors) {
      if (sector == kFree) continue;
      if (sector >= m_sectors) return false;
      const QByteArrayView bytes = Sector(sector);
      for (qsizetype at = 0; at < m_sectorSize; at += 4) m_fat.push_back(Word32(bytes, at));
      if (static_cast<qsizetype>(m_fat.size()) > m_sectors + m_sectorSize) break;  // more than the file holds
    }
    return !m_fat.empty();
  }

  // The bytes of a chain of sectors; `size` of them, or the whole chain when
  // negative.
  std::optional<QByteArray> Chain(quint32 start, qint64 size) const {
    QByteArray bytes;
    qsizetype steps = 0;
    for (quint32 sector = start; sector != kEndOfChain && (size < 0 || bytes.size() < size);) {
      if (sector >= m_sectors || sector >= m_fat.size() || ++steps > m_sectors) return std::nullopt;
      bytes += Sector(sector);
      sector = m_fat[sector];
    }
    if (size >= 0) {
      if (bytes.size() < size) return std::nullopt;
      bytes.truncate(static_cast<qsizetype>(size));
    }
    return bytes;
  }

  QByteArrayView m_file;
  qsizetype m_sectorSize = 512;
  qsizetype m_sectors = 0;
  std::vector<quint32> m_fat;
};

// The extents of the sheets, in the order freexl lists them; nullopt with a
// reason when the records break the format's limits.
std::optional<std::vector<SheetExtent>> SheetExtents(QByteArrayView stream, QString* why) {
  enum : quint16 {
    kBof2 = 0x0009,
    kBof3 = 0x0209,
    kBof4 = 0x0409,
    kBof = 0x0809,
    kEof = 0x000A,
    kBoundSheet = 0x0085,
    kDimensions2 = 0x0000,
    kDimensions = 0x0200,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kFormula = 0x0006,
    kFormula3 = 0x0206,
    kFormula4 = 0x0406,
    kRk = 0x027E,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kLabelSst = 0x00FD,
    kRString = 0x00D6,
  };
  const auto isBof = [](quint16 type) { return type == kBof || type == kBof2 || type == kBof3 || type == kBof4; };
  int biff = 8;
  std::vector<quint32> sheetOffsets;
  std::map<quint32, SheetExtent> extents;  // by the offset of the sheet's first record
  SheetExtent* current = nullptr;
  bool dimensionsSeen = false;
  int depth = 0;
  for (qsizetype at = 0; at + 4 <= stream.size();) {
    const quint16 type = Word16(stream, at);
    const quint16 size = Word16(stream, at + 2);
    if (type == 0 && size == 0) break;  // padding after the last record
    if (at + 4 + size > stream.size()) break;
    const QByteArrayView data = stream.sliced(at + 4, size);
    if (isBof(type)) {
      if (at == 0) {
        const quint16 version = size >= 2 ? Word16(data, 0) : 0;
        biff = type == kBof2 ? 2 : type == kBof3 ? 3 : type == kBof4 ? 4 : version == 0x0500 ? 5 : 8;
      }
      if (++depth == 1) {
        current = &extents[static_cast<quint32>(at)];
        dimensionsSeen = false;
      }
    } else if (type == kEof) {
      depth = std::max(depth - 1, 0);
    } else if (type == kBoundSheet && depth == 1 && size >= 4) {
      sheetOffsets.push_back(Word32(data, 0));
    } else if (type == (biff == 2 ? kDimensions2 : kDimensions)) {
      const bool wide = biff == 8;
      if (size < (wide ? 12 : 8)) {
        *why = QStringLiteral("Un foglio ha dimensioni danneggiate.");
        return std::nullopt;
      }
      const quint32 rows = wide ? Word32(data, 4) : Word16(data, 2);
      const quint32 columns = Word16(data, wide ? 10 : 6);
      if (rows > kMaxRows || columns > kMaxColumns) {
        *why = QStringLiteral("Un foglio dichiara %1 righe per %2 colonne, più di quante un foglio di Excel ne abbia.")
                   .arg(rows)
                   .arg(columns);
        return std::nullopt;
      }
      if (depth == 1 && dimensionsSeen) {
        *why = QStringLiteral("Un foglio dichiara le sue dimensioni due volte.");
        return std::nullopt;
      }
      dimensionsSeen = dimensionsSeen || depth == 1;
    } else if (depth == 1 && current != nullptr && size >= 4) {
      const bool legacy = biff == 2 && type >= 0x0001 && type <= 0x0006;
      const bool cell = legacy || type == kBlank || type == kNumber || type == kLabel || type == kBoolErr ||
                        type == kFormula || type == kFormula3 || type == kFormula4 || type == kRk ||
                        type == kLabelSst || type == kRString || type == kMulRk || type == kMulBlank;
      if (cell) {
        const quint32 row = Word16(data, 0);
        quint32 lastColumn = Word16(data, 2);
        if ((type == kMulRk || type == kMulBlank) && size >= 6)
          lastColumn = std::max<quint32>(lastColumn, Word16(data, size - 2));
        current->rows = std::max(current->rows, row + 1);
        current->columns = std::max(current->columns, lastColumn + 1);
      }
    }
    at += 4 + size;
  }
  std::vector<SheetExtent> sheets;
  if (biff < 5) {
    // An old single-sheet file: the one worksheet freexl reads.
    sheets.push_back(extents.empty() ? SheetExtent{} : extents.begin()->second);
  } else {
    for (const quint32 offset : sheetOffsets) {
      const auto found = extents.find(offset);
      sheets.push_back(found == extents.end() ? SheetExtent{} : found->second);
    }
  }
  return sheets;
}

// The sheets' extents of a workbook file, or nullopt and the reason.
std::optional<std::vector<SheetExtent>> WorkbookExtents(const QString& path, QString* why) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray copy;
  const uchar* mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
  if (mapped == nullptr) copy = file.readAll();
  const QByteArrayView bytes =
      mapped != nullptr ? QByteArrayView(reinterpret_cast<const char*>(mapped), file.size()) : QByteArrayView(copy);
  std::optional<QByteArray> stream;
  if (CompoundFile::IsOne(bytes)) {
    stream = CompoundFile(bytes).Workbook();
    if (!stream) return std::nullopt;
  }
  const QByteArrayView records = stream ? QByteArrayView(*stream) : bytes;
  std::optional<std::vector<SheetExtent>> extents = SheetExtents(records, why);
  if (extents) *why = ExcelRecordsFault(records);
  if (!why->isEmpty()) return std::nullopt;
  return extents;
}

// One cell as freexl gives it, before its column's type is known.
struct Cell {
  enum Kind : quint8 { Empty, Whole, Decimal, Text, Date, DateTime, Time } kind = Empty;
  QVariant value;  // qint64, double, QString, QDate, QDateTime
};

Cell CellOf(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT: return {Cell::Whole, QVariant(qint64{cell.value.int_value})};
    case FREEXL_CELL_DOUBLE: return {Cell::Decimal, QVariant(cell.value.double_value)};
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT: return {Cell::Text, QVariant(QString::fromUtf8(cell.value.text_value))};
    case FREEXL_CELL_DATE: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
      return date.isValid() ? Cell{Cell::Date, QVariant(date)} : Cell{Cell::Text, QVariant(text)};
    }
    case FREEXL_CELL_DATETIME: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
      when.setTimeSpec(Qt::UTC);
      return when.isValid() ? Cell{Cell::DateTime, QVariant(when)} : Cell{Cell::Text, QVariant(text)};
    }
    case FREEXL_CELL_TIME: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
      return time.isValid() ? Cell{Cell::Time, QVariant(TimeOfDay(time))} : Cell{Cell::Text, QVariant(text)};
    }
    default: return {};
  }
}

// A cell's value as text, as freexl writes it, for columns that mix kinds.
QString TextOf(const Cell& cell) {
  switch (cell.kind) {
    case Cell::Whole: return QString::number(cell.value.toLongLong());
    case Cell::Decimal: return QString::number(cell.value.toDouble(), 'g', 15);
    case Cell::Date: return cell.value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case Cell::DateTime: return cell.value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Cell::Time: return cell.value.toDateTime().time().toString(QStringLiteral("HH:mm:ss"));
    case Cell::Text: return cell.value.toString();
    case Cell::Empty: break;
  }
  return {};
}

// The type a column's cells agree on; a column mixing numbers, dates and
// text is text.
ColumnType TypeOf(const std::vector<std::vector<Cell>>& rows, size_t column) {
  bool whole = false, decimal = false, text = false, date = false, dateTime = false;
  for (const auto& row : rows) {
    switch (row[column].kind) {
      case Cell::Whole: whole = true; break;
      case Cell::Decimal: decimal = true; break;
      case Cell::Text: text = true; break;
      case Cell::Date: date = true; break;
      case Cell::DateTime:
      case Cell::Time: dateTime = true; break;
      case Cell::Empty: break;
    }
  }
  const bool numbers = whole || decimal;
  const bool dates = date || dateTime;
  if (text || (numbers && dates) || (!numbers && !dates)) return ColumnType::Text;
  if (numbers) return decimal ? ColumnType::Double : ColumnType::Integer;
  return dateTime ? ColumnType::DateTime : ColumnType::Date;
}

QVariant ValueOf(Cell& cell, ColumnType type) {
  if (cell.kind == Cell::Empty) return {};
  if (type == ColumnType::Text) return TextOf(cell);
  if (cell.kind == Cell::Whole && type == ColumnType::Double) return static_cast<double>(cell.value.toLongLong());
  if (cell.kind == Cell::Date && type == ColumnType::DateTime)
    return QDateTime(cell.value.toDate(), QTime(0, 0), Qt::UTC);
  return std::move(cell.value);
}

class ExcelReader : public SourceReader {
 public:
  explicit ExcelReader(const QString& path) : m_path(path) {
    RequireReadableFile(path);
    QString why;
    std::optional<std::vector<SheetExtent>> extents = WorkbookExtents(path, &why);
    if (!extents) Fail(why);
    m_extents = std::move(*extents);
    const void* handle = nullptr;
    const int result = freexl_open(QFile::encodeName(path).constData(), &handle);
    m_handle = handle;
    if (result != FREEXL_OK || m_handle == nullptr) {
      Close();
      Fail(QString());
    }
    unsigned int sheets = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK) {
      Close();
      Fail(QString());
    }
    for (unsigned int i = 0; i < sheets && i < 0xffff; ++i) {
      const char* name = nullptr;
      if (freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &name) == FREEXL_OK && name != nullptr)
        m_sheets.append(QString::fromUtf8(name));
    }
  }
  ~ExcelReader() override { Close(); }
  ExcelReader(const ExcelReader&) = delete;
  ExcelReader& operator=(const ExcelReader&) = delete;

  QStringList Tables() override {
    QStringList names;
    for (const QString& sheet : m_sheets) names.append(sheet + QLatin1Char('$'));
    return names;
  }

  std::vector<SourceColumn> Columns(const QString& table) override { return ReadTable(table).columns; }

  SourceTable ReadTable(const QString& table) override {
    const int sheet = Find(table);
    if (freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(sheet)) != FREEXL_OK) Fail(QString());
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_worksheet_dimensions(m_handle, &rowCount, &columnCount) != FREEXL_OK) Fail(QString());
    // Only as far as the sheet's records reach: the dimensions record may
    // claim more.
    if (static_cast<size_t>(sheet) < m_extents.size()) {
      rowCount = std::min<unsigned int>(rowCount, m_extents[static_cast<size_t>(sheet)].rows);
      columnCount = static_cast<unsigned short>(
          std::min<unsigned int>(columnCount, m_extents[static_cast<size_t>(sheet)].columns));
    }
    std::vector<std::vector<Cell>> cells;
    cells.reserve(rowCount);
    for (unsigned int r = 0; r < rowCount; ++r) {
      std::vector<Cell> row;
      row.reserve(columnCount);
      for (unsigned short c = 0; c < columnCount; ++c) {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(m_handle, r, c, &value) != FREEXL_OK) Fail(QString());
        row.push_back(CellOf(value));
      }
      cells.push_back(std::move(row));
    }
    SourceTable result;
    if (cells.empty()) return result;
    const std::vector<Cell> header = std::move(cells.front());
    cells.erase(cells.begin());
    for (size_t c = 0; c < header.size(); ++c) {
      // A column without a heading is named by its position, as Excel's
      // own drivers do.
      const QString name = TextOf(header[c]).trimmed();
      result.columns.push_back({name.isEmpty() ? QStringLiteral("F%1").arg(c + 1) : name, TypeOf(cells, c)});
    }
    result.rows.reserve(cells.size());
    for (auto& row : cells) {
      std::vector<QVariant> values;
      values.reserve(row.size());
      for (size_t c = 0; c < row.size(); ++c) values.push_back(ValueOf(row[c], result.columns[c].type));
      result.rows.push_back(std::move(values));
      row = {};
    }
    return result;
  }

  QString TableFile(const QString& table) override {
    Find(table);
    return m_path;
  }

 private:
  void Close() {
    if (m_handle != nullptr) freexl_close(m_handle);
    m_handle = nullptr;
  }

  [[noreturn]] void Fail(const QString& why) const {
    ThrowUnreadableFile(m_path, QStringLiteral("una cartella di lavoro Excel"), why);
  }

  // A sheet is opened as "Name$".
  int Find(const QString& table) const {
    const qsizetype found = table.endsWith(QLatin1Char('$')) ? MatchName(m_sheets, table.chopped(1)) : -1;
    if (found < 0)
      ThrowSourceError(
          QStringLiteral("Il foglio \"%1\" non esiste nella cartella di lavoro \"%2\".").arg(table, m_path));
    return static_cast<int>(found);
  }

  QString m_path;
  const void* m_handle = nullptr;
  QStringList m_sheets;
  std::vector<SheetExtent> m_extents;  // of each sheet, as its records reach
};

}  // namespace

std::unique_ptr<SourceReader> OpenExcelFile(const QString& path) { return std::make_unique<ExcelReader>(path); }

}  // namespace pv
