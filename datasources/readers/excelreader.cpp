// Excel workbooks (.xls, BIFF 5 and 8), read with freexl. Each sheet is a
// table named "Name$"; its first row names the columns.
#include "datasources/readers/readerkit.h"

#include <freexl.h>

#include <QDate>
#include <QDateTime>
#include <QFile>

namespace pv {

namespace {

// One cell as freexl gives it, before its column's type is known.
struct Cell {
  enum Kind { Empty, Whole, Decimal, Text, Date, DateTime, Time } kind = Empty;
  QVariant value;  // qint64, double, QString, QDate, QDateTime
  QString text;    // the value as text, for columns that mix kinds
};

Cell CellOf(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return {Cell::Whole, QVariant(qint64{cell.value.int_value}), QString::number(cell.value.int_value)};
    case FREEXL_CELL_DOUBLE:
      return {Cell::Decimal, QVariant(cell.value.double_value), QString::number(cell.value.double_value, 'g', 15)};
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      return {Cell::Text, QVariant(text), text};
    }
    case FREEXL_CELL_DATE: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
      return date.isValid() ? Cell{Cell::Date, QVariant(date), text} : Cell{Cell::Text, QVariant(text), text};
    }
    case FREEXL_CELL_DATETIME: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
      when.setTimeSpec(Qt::UTC);
      return when.isValid() ? Cell{Cell::DateTime, QVariant(when), text} : Cell{Cell::Text, QVariant(text), text};
    }
    case FREEXL_CELL_TIME: {
      const QString text = QString::fromUtf8(cell.value.text_value);
      const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
      return time.isValid() ? Cell{Cell::Time, QVariant(TimeOfDay(time)), text}
                            : Cell{Cell::Text, QVariant(text), text};
    }
    default: return {};
  }
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

QVariant ValueOf(const Cell& cell, ColumnType type) {
  if (cell.kind == Cell::Empty) return {};
  if (type == ColumnType::Text) return cell.text;
  if (cell.kind == Cell::Whole && type == ColumnType::Double) return static_cast<double>(cell.value.toLongLong());
  if (cell.kind == Cell::Date && type == ColumnType::DateTime)
    return QDateTime(cell.value.toDate(), QTime(0, 0), Qt::UTC);
  return cell.value;
}

class ExcelReader : public SourceReader {
 public:
  explicit ExcelReader(const QString& path) : m_path(path) {
    RequireReadableFile(path);
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
    std::vector<std::vector<Cell>> cells;
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
      const QString name = header[c].text.trimmed();
      result.columns.push_back({name.isEmpty() ? QStringLiteral("F%1").arg(c + 1) : name, TypeOf(cells, c)});
    }
    result.rows.reserve(cells.size());
    for (const auto& row : cells) {
      std::vector<QVariant> values;
      values.reserve(row.size());
      for (size_t c = 0; c < row.size(); ++c) values.push_back(ValueOf(row[c], result.columns[c].type));
      result.rows.push_back(std::move(values));
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
};

}  // namespace

std::unique_ptr<SourceReader> OpenExcelFile(const QString& path) { return std::make_unique<ExcelReader>(path); }

}  // namespace pv
