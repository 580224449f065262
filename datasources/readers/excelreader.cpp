// Excel workbooks (.xls): BIFF 5 and 8 workbooks, and the one worksheet of
// an Excel 2.1, 3.0 or 4.0 file, read from their records. Each sheet is a
// table named "Name$"; its first row names the columns.
#include "datasources/readers/excelbook.h"
#include "datasources/readers/excelcontainer.h"
#include "datasources/readers/readerkit.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace pv {

namespace {

using excel::Cell;

// A cell's value as text, for columns that mix kinds; a logical as Excel
// shows it in Italian.
QString TextOf(const Cell& cell) {
  switch (cell.kind) {
    case Cell::Whole: return QString::number(cell.value.toLongLong());
    case Cell::Decimal: return QString::number(cell.value.toDouble(), 'g', 15);
    case Cell::Date: return cell.value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case Cell::DateTime: return cell.value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Cell::Time: return cell.value.toDateTime().time().toString(QStringLiteral("HH:mm:ss"));
    case Cell::Text: return cell.value.toString();
    case Cell::Logical: return cell.value.toBool() ? QStringLiteral("VERO") : QStringLiteral("FALSO");
    case Cell::Empty: break;
  }
  return {};
}

// The kinds of values a column's cells hold.
struct Kinds {
  bool whole = false, decimal = false, text = false, logical = false, date = false, dateTime = false;

  void Add(Cell::Kind kind) {
    switch (kind) {
      case Cell::Whole: whole = true; break;
      case Cell::Decimal: decimal = true; break;
      case Cell::Text: text = true; break;
      case Cell::Logical: logical = true; break;
      case Cell::Date: date = true; break;
      case Cell::DateTime:
      case Cell::Time: dateTime = true; break;
      case Cell::Empty: break;
    }
  }

  // The type the cells agree on; a column mixing numbers, dates, logicals
  // and text is text.
  ColumnType Type() const {
    const bool numbers = whole || decimal;
    const bool dates = date || dateTime;
    if (text || int{numbers} + int{dates} + int{logical} != 1) return ColumnType::Text;
    if (logical) return ColumnType::Boolean;
    if (numbers) return decimal ? ColumnType::Double : ColumnType::Integer;
    return dateTime ? ColumnType::DateTime : ColumnType::Date;
  }
};

QVariant ValueOf(Cell& cell, ColumnType type) {
  if (cell.kind == Cell::Empty) return {};
  if (type == ColumnType::Text) return TextOf(cell);
  if (cell.kind == Cell::Whole && type == ColumnType::Double) return static_cast<double>(cell.value.toLongLong());
  if (cell.kind == Cell::Date && type == ColumnType::DateTime)
    return QDateTime(cell.value.toDate(), QTime(0, 0), Qt::UTC);
  return std::move(cell.value);
}

// The workbook stream of a file: the compound file's, or the file's own
// bytes (Excel 2.1-4.0 write their records straight into the file).
std::optional<QByteArray> StreamOf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  if (file.size() == 0) return std::nullopt;
  const uchar* mapped = file.map(0, file.size());
  if (mapped == nullptr) {
    const QByteArray bytes = file.readAll();
    return excel::IsCompoundFile(bytes) ? excel::WorkbookStream(bytes) : bytes;
  }
  const QByteArrayView bytes(reinterpret_cast<const char*>(mapped), file.size());
  if (excel::IsCompoundFile(bytes)) return excel::WorkbookStream(bytes);
  return bytes.toByteArray();
}

class ExcelReader : public SourceReader {
 public:
  explicit ExcelReader(const QString& path) : m_path(path) {
    RequireReadableFile(path);
    std::optional<QByteArray> stream = StreamOf(path);
    if (!stream) Fail(QString());
    try {
      m_book.emplace(std::move(*stream), QFileInfo(path).completeBaseName());
    } catch (const excel::Unreadable& unreadable) {
      Fail(unreadable.why);
    }
  }

  QStringList Tables() override {
    QStringList names;
    for (const QString& sheet : m_book->Sheets()) names.append(sheet + QLatin1Char('$'));
    return names;
  }

  std::vector<SourceColumn> Columns(const QString& table) override { return Read(table).columns; }

  SourceTable ReadTable(const QString& table) override {
    TableCollector collector;
    ReadTableRows(table, collector);
    return collector.Take();
  }

  void ReadTableRows(const QString& table, RowSink& sink) override {
    Sheet sheet = Read(table);
    sink.Columns(sheet.columns);
    if (sheet.rows > 1) sink.Reserve(sheet.rows - 1);
    std::vector<QVariant> row;
    auto cell = sheet.cells.begin();
    while (cell != sheet.cells.end() && cell->row == 0) ++cell;
    for (quint32 r = 1; r < sheet.rows; ++r) {
      row.assign(sheet.columns.size(), QVariant());
      for (; cell != sheet.cells.end() && cell->row == r; ++cell)
        row[cell->column] = ValueOf(cell->cell, sheet.columns[cell->column].type);
      sink.Row(row);
    }
  }

  QString TableFile(const QString& table) override {
    Find(table);
    return m_path;
  }

 private:
  // A sheet's columns, named by its first row and typed by the rest, and
  // its cells in row and column order.
  struct Sheet {
    std::vector<SourceColumn> columns;
    quint32 rows = 0;
    std::vector<excel::PlacedCell> cells;
  };

  Sheet Read(const QString& table) {
    const qsizetype index = Find(table);
    excel::SheetCells read;
    try {
      read = m_book->ReadSheet(index);
    } catch (const excel::Unreadable& unreadable) {
      Fail(unreadable.why);
    }
    Sheet sheet;
    sheet.rows = read.rows;
    sheet.cells = std::move(read.cells);
    // In order, a later record of the same cell after the earlier.
    std::stable_sort(sheet.cells.begin(), sheet.cells.end(),
                     [](const auto& a, const auto& b) { return a.row != b.row ? a.row < b.row : a.column < b.column; });
    std::vector<QString> names(read.columns);
    std::vector<Kinds> kinds(read.columns);
    for (const excel::PlacedCell& cell : sheet.cells) {
      if (cell.row == 0) {
        names[cell.column] = TextOf(cell.cell).trimmed();
      } else {
        kinds[cell.column].Add(cell.cell.kind);
      }
    }
    for (quint32 c = 0; c < read.columns; ++c) {
      // A column without a heading is named by its position, as Excel's
      // own drivers do.
      sheet.columns.push_back({names[c].isEmpty() ? QStringLiteral("F%1").arg(c + 1) : names[c], kinds[c].Type()});
    }
    return sheet;
  }

  [[noreturn]] void Fail(const QString& why) const {
    ThrowUnreadableFile(m_path, QStringLiteral("una cartella di lavoro Excel"), why);
  }

  // A sheet is opened as "Name$".
  qsizetype Find(const QString& table) const {
    const qsizetype found = table.endsWith(QLatin1Char('$')) ? MatchName(m_book->Sheets(), table.chopped(1)) : -1;
    if (found < 0)
      ThrowSourceError(
          QStringLiteral("Il foglio \"%1\" non esiste nella cartella di lavoro \"%2\".").arg(table, m_path));
    return found;
  }

  QString m_path;
  std::optional<excel::Workbook> m_book;
};

}  // namespace

std::unique_ptr<SourceReader> OpenExcelFile(const QString& path) { return std::make_unique<ExcelReader>(path); }

}  // namespace pv
