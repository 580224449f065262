#include "datasources/sourcerecordset.h"

#include "datasources/connectionstring.h"
#include "datasources/process/waitedwork.h"
#include "datasources/querytext.h"
#include "datasources/registrations.h"
#include "datasources/tablecache.h"
#include "platform/exactdecimal.h"
#include "platform/freedmemory.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <optional>

namespace pv {

namespace {

constexpr const char* kResultTable = "pv_result";

QString DeclaredType(ColumnType type) {
  switch (type) {
    case ColumnType::Integer: return QStringLiteral("INTEGER");
    case ColumnType::Double: return QStringLiteral("REAL");
    case ColumnType::Text: return QStringLiteral("TEXT");
    case ColumnType::Date: return QStringLiteral("DATE");
    case ColumnType::DateTime: return QStringLiteral("DATETIME");
    case ColumnType::Boolean: return QStringLiteral("BOOLEAN");
    case ColumnType::Decimal: return QString::fromLatin1(kDecimalDeclaredType);
  }
  return QStringLiteral("TEXT");
}

std::optional<ColumnType> ColumnTypeOf(int metaType) {
  switch (metaType) {
    case QMetaType::LongLong: return ColumnType::Integer;
    case QMetaType::Double: return ColumnType::Double;
    case QMetaType::QString: return ColumnType::Text;
    case QMetaType::QDate: return ColumnType::Date;
    case QMetaType::QDateTime: return ColumnType::DateTime;
    case QMetaType::Bool: return ColumnType::Boolean;
    default:
      if (metaType == ExactDecimal::MetaTypeId()) return ColumnType::Decimal;
      return std::nullopt;
  }
}

std::vector<SqliteColumn> SqliteColumns(const std::vector<SourceColumn>& columns) {
  std::vector<SqliteColumn> out;
  for (const SourceColumn& c : columns) out.push_back({c.name, DeclaredType(c.type)});
  return out;
}

// The name inside [brackets] or "quotes", else the trimmed text.
QString Unbracketed(const QString& text) {
  const QString t = text.trimmed();
  if (t.size() >= 2 && ((t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) ||
                        (t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"'))))) {
    return t.mid(1, t.size() - 2);
  }
  return t;
}

// Whether a source that names no table of the source was meant as a table
// name: bracketed or quoted whole, a single word, or a sheet ("Name$").
bool NamesATable(const QString& source) {
  const QString t = source.trimmed();
  if (t != Unbracketed(t) || t.endsWith(QLatin1Char('$'))) return true;
  return !t.isEmpty() && std::none_of(t.cbegin(), t.cend(), [](QChar c) {
    return c.isSpace() || c == QLatin1Char('(') || c == QLatin1Char(';') || c == QLatin1Char(',');
  });
}

// What a source says of a table it does not have, whoever asked for it.
DbError NoSuchTable(const QString& name) {
  return DbError(DbErrProvider,
                 QStringLiteral("La tabella o il foglio \"%1\" non esiste nell'origine dati.").arg(name));
}

// A filter or a sort the in-memory database could not apply: its own text
// is for developers, never for the user.
DbError CannotApply() {
  return DbError(DbErrProvider, QStringLiteral("Impossibile applicare il filtro o l'ordinamento all'origine dati."));
}

// The table an SQLite error says is missing, or "".
QString MissingTable(const DbError& e) {
  static const QRegularExpression re(QStringLiteral(R"(^no such table: (?:main\.)?(.+)$)"));
  const auto m = re.match(e.Description());
  return m.hasMatch() ? m.captured(1) : QString();
}

QSqlDatabase Database(const QString& name) { return QSqlDatabase::database(name, false); }

// The SQL name of a result's or a stored table's column by its position.
QString PositionalName(qsizetype index) { return QStringLiteral("c%1").arg(index); }

// Whether a value of a column reads back from the in-memory database as
// itself, the same type and value: Null, whole numbers, finite doubles (not
// -0), text, Booleans, and dates of four-digit years ("yyyy-MM-dd").
bool KeptAsIs(const QVariant& value, ColumnType type) {
  if (!value.isValid()) return true;
  if (value.isNull()) return false;  // bound as Null: read back invalid
  const int id = value.metaType().id();
  switch (type) {
    case ColumnType::Integer: return id == QMetaType::LongLong;
    case ColumnType::Double: {
      if (id != QMetaType::Double) return false;
      // SQLite keeps NaN as Null and may keep -0.0 as the integer 0.
      const double d = *static_cast<const double*>(value.constData());
      return !std::isnan(d) && !(d == 0 && std::signbit(d));
    }
    case ColumnType::Text: return id == QMetaType::QString;
    case ColumnType::Boolean: return id == QMetaType::Bool;
    case ColumnType::Decimal: return id == ExactDecimal::MetaTypeId();  // kept as a double or as its text
    case ColumnType::Date: {
      if (id != QMetaType::QDate) return false;
      const int year = static_cast<const QDate*>(value.constData())->year();
      return year >= 1000 && year <= 9999;
    }
    case ColumnType::DateTime: return false;  // read back without the time spec and milliseconds
  }
  return false;
}

bool TableKeptAsIs(const SourceTable& table) {
  for (const std::vector<QVariant>& row : table.rows) {
    for (size_t i = 0; i < row.size() && i < table.columns.size(); ++i) {
      if (!KeptAsIs(row[i], table.columns[i].type)) return false;
    }
  }
  return true;
}

// A value as the in-memory database gives it back from a column of its type
// (StoredValue there, TypedValue back); nullopt where only SQLite can say
// (a value of another type, which the column's affinity may convert).
std::optional<QVariant> AsStored(const QVariant& value, ColumnType type) {
  if (KeptAsIs(value, type)) return value;
  const int id = value.metaType().id();
  if (!value.isNull() && (type == ColumnType::Date || type == ColumnType::DateTime) &&
      (id == QMetaType::QDate || id == QMetaType::QDateTime)) {
    // Kept as ISO text, which no column affinity takes for a number.
    const int metaType = type == ColumnType::Date ? QMetaType::QDate : QMetaType::QDateTime;
    QVariant back = TypedValue(StoredValue(value), metaType);
    if (back.metaType().id() == metaType) return back;
  }
  return std::nullopt;
}

const QVariant kNull;

// A count of rows as the recordset counts them; throws past its reach.
int RowCountOf(size_t rows) {
  if (rows > static_cast<size_t>(INT_MAX))
    throw DbError(DbErrProvider, QStringLiteral("Troppi record nell'origine dati."));
  return static_cast<int>(rows);
}

}  // namespace

SourceRecordset::SourceRecordset(ReaderFactory factory) : m_factory(std::move(factory)) {
  if (!m_factory) m_factory = [](const SourceLocation& l) { return OpenSourceReader(l); };
}

SourceRecordset::~SourceRecordset() { Close(); }

void SourceRecordset::Close() {
  if (Release()) GiveBackFreedMemory();
}

bool SourceRecordset::Release() {
  // What goes with this recordset alone: its copy of the rows, the tables in
  // its database, rows that no cache keeps (weak_ptr seen after the close).
  bool freesRows = !m_values.empty();
  std::vector<std::weak_ptr<const SourceTable>> rows;
  for (const LoadedTable& t : m_loaded) {
    freesRows = freesRows || t.stored;
    rows.push_back(t.rows);
  }
  m_open = false;
  m_reader.reset();
  if (!m_dbName.isEmpty()) {
    {
      QSqlDatabase db = Database(m_dbName);
      db.close();
    }
    QSqlDatabase::removeDatabase(m_dbName);
    m_dbName.clear();
  }
  m_connection.clear();
  m_source.clear();
  m_isTable = false;
  m_query.clear();
  m_base.clear();
  m_loaded.clear();
  m_fields.clear();
  m_fieldSql.clear();
  m_types.clear();
  m_binding = SqliteCriteria();
  m_filterText.clear();
  m_criteria = Criteria();
  m_sortText.clear();
  m_sort.clear();
  m_table.reset();
  m_order.clear();
  m_values.clear();
  m_rowCount = 0;
  m_pos = -1;
  return freesRows || std::any_of(rows.begin(), rows.end(), [](const auto& r) { return r.expired(); });
}

void SourceRecordset::Open(const Registration& registration) {
  Open(EffectiveConnectionString(registration), registration.recordSetName);
}

void SourceRecordset::Open(const QString& connectionString, const QString& source) {
  RefuseWhileWorking();
  // The rows that go are kept by the C library for the rows read next:
  // given back here, they would only be asked for again at once.
  Release();
  try {
    const SourceLocation location = ParseConnectionString(connectionString);
    m_reader = m_factory(location);
    m_kind = location.kind;
    if (!m_reader) throw DbError(DbErrProvider, QStringLiteral("Origine dati non disponibile."));
    m_connection = connectionString;
    m_source = source;

    OpenDatabase();

    const QString table = ReaderTableNamed(Unbracketed(source));
    m_isTable = !table.isEmpty();
    if (m_isTable) {
      LoadTable(table, table);
      m_base = QuoteIdentifier(table);
    } else {
      if (source.trimmed().isEmpty()) throw DbError(DbErrProvider, QStringLiteral("Nessuna tabella o query indicata."));
      if (NamesATable(source)) throw NoSuchTable(Unbracketed(source));
      m_query = m_reader->RunsQueries() ? source : TranslateQuery(source);
      m_base = QString::fromLatin1(kResultTable);
      BuildQueryResult();
    }
    ReadRows(m_criteria, m_sort);
    m_open = true;
  } catch (...) {
    Close();
    throw;
  }
}

void SourceRecordset::RefuseWhileWorking() const {
  // An event the window handles while it waits for this recordset's rows.
  if (m_working)
    throw DbError(DbErrProvider, QStringLiteral("L'origine dati sta già leggendo: attendere la fine della lettura."));
}

void SourceRecordset::OpenDatabase() {
  static std::atomic<int> counter{0};
  const QString name = QStringLiteral("pv_source_%1").arg(++counter);
  try {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open()) throw DbError(DbErrProvider, db.lastError().text());
    // Text kept as QString keeps it: no conversion to compare or read.
    ExecSql(db, QStringLiteral("PRAGMA encoding = 'UTF-16le'"));
    InstallSqliteFunctions(db, &m_binding);
    // Query texts run here: nothing beyond this database is reachable.
    RestrictSqliteConnection(db);
  } catch (...) {
    QSqlDatabase::removeDatabase(name);
    throw;
  }
  m_dbName = name;
}

QString SourceRecordset::ReaderTableNamed(const QString& name) {
  if (name.isEmpty()) return QString();
  for (const QString& t : m_reader->Tables()) {
    if (t.compare(name, Qt::CaseInsensitive) == 0) return t;
  }
  return QString();
}

std::shared_ptr<const SourceTable> SourceRecordset::ReadSourceTable(const QString& readerName) {
  // ODBC tables live on a server that may change at any time: never kept.
  return m_kind == SourceKind::Odbc ? std::make_shared<const SourceTable>(m_reader->ReadTable(readerName))
                                    : ReadTableCached(*m_reader, m_connection, readerName);
}

void SourceRecordset::LoadTable(const QString& readerName, const QString& alias,
                                std::shared_ptr<const SourceTable> rows) {
  const auto table = rows ? std::move(rows) : ReadSourceTable(readerName);
  m_loaded.push_back({readerName, alias, table});
  // A query reads its tables from the database; a table waits for a filter
  // or a sort to need it there.
  if (!m_isTable) {
    StoreTable(Database(m_dbName), m_loaded.back());
  } else {
    m_loaded.back().keptAsIs = TableKeptAsIs(*table);
    QStringList names, sql;
    std::vector<int> types;
    for (const SourceColumn& c : table->columns) {
      names << c.name;
      sql << PositionalName(sql.size());
      types.push_back(MetaTypeOfDeclared(DeclaredType(c.type)));
    }
    m_fields = names;
    m_fieldSql = sql;
    m_types = std::move(types);
  }
}

void SourceRecordset::StoreTable(const QSqlDatabase& db, LoadedTable& table) {
  if (table.stored) return;
  // A load that failed half way may have left the table empty.
  ExecSql(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(QuoteIdentifier(table.alias)));
  std::vector<SqliteColumn> columns = SqliteColumns(table.rows->columns);
  // A table opened by name names its columns by position: a column of the
  // source called "rowid" must not hide the row id its order is kept by.
  if (m_isTable) {
    for (size_t i = 0; i < columns.size(); ++i) columns[i].name = PositionalName(static_cast<qsizetype>(i));
  }
  CreateFilledTable(db, table.alias, columns, table.rows->rows);
  table.stored = true;
}

// The rows of the table opened by name, in its order, copied as the
// database would give them back. Nothing when a value could come back
// otherwise; the rows are then read from the database.
std::optional<SourceRecordset::ShownRows> SourceRecordset::CopyTableRows() const {
  const SourceTable& table = *m_loaded.front().rows;
  const size_t width = table.columns.size();
  ShownRows shown;
  shown.rowCount = RowCountOf(table.rows.size());
  shown.values.reserve(table.rows.size() * width);
  for (const std::vector<QVariant>& row : table.rows) {
    for (size_t i = 0; i < width; ++i) {
      std::optional<QVariant> v = i < row.size() ? AsStored(row[i], table.columns[i].type) : QVariant();
      if (!v) return std::nullopt;
      shown.values.push_back(std::move(*v));
    }
  }
  return shown;
}

void SourceRecordset::BuildQueryResult() {
  const QSqlDatabase db = Database(m_dbName);
  if (m_reader->RunsQueries()) {
    const SourceTable result = m_reader->RunQuery(m_query);
    std::vector<SourceColumn> positional = result.columns;
    QStringList names;
    for (size_t i = 0; i < positional.size(); ++i) {
      names << positional[i].name;
      positional[i].name = PositionalName(static_cast<qsizetype>(i));
    }
    CreateFilledTable(db, m_base, SqliteColumns(positional), result.rows);
    Describe(SqliteColumns(positional), names);
    return;
  }
  // Load the tables the query names as it asks for them.
  std::vector<SqliteColumn> columns;
  for (int attempt = 0;; ++attempt) {
    try {
      columns = CreateTableFromQuery(db, m_base, m_query);
      break;
    } catch (const DbError& e) {
      const QString missing = MissingTable(e);
      if (missing.isEmpty()) throw;
      const QString table = ReaderTableNamed(missing);
      if (table.isEmpty()) throw NoSuchTable(missing);
      if (attempt > 256) throw;
      LoadTable(table, missing);
    }
  }
  QStringList names;
  std::vector<SqliteColumn> positional;
  for (size_t i = 0; i < columns.size(); ++i) {
    names << columns[i].name;
    positional.push_back({PositionalName(static_cast<qsizetype>(i)), columns[i].declaredType});
  }
  Describe(positional, names);
}

void SourceRecordset::Describe(const std::vector<SqliteColumn>& columns, const QStringList& names) {
  m_fields = names;
  m_fieldSql.clear();
  m_types.clear();
  for (const SqliteColumn& c : columns) {
    m_fieldSql << QuoteIdentifier(c.name);
    m_types.push_back(MetaTypeOfDeclared(c.declaredType));
  }
}

void SourceRecordset::ReadRows(const Criteria& criteria, const std::vector<SortKey>& sort) {
  // A database is made on this thread, which its connection belongs to; the
  // worker only uses it.
  if (m_dbName.isEmpty() && (!criteria.IsEmpty() || !sort.empty())) OpenDatabase();
  const QSqlDatabase db = m_dbName.isEmpty() ? QSqlDatabase() : Database(m_dbName);
  ShownRows shown;
  m_working = true;
  try {
    RunWaited([&] { shown = PickRows(db, criteria, sort); },
              [&] {
                if (db.isValid()) InterruptSqlite(db);
              });
  } catch (...) {
    m_working = false;
    throw;
  }
  m_working = false;
  m_table = std::move(shown.table);
  m_allRows = shown.allRows;
  m_order = std::move(shown.order);
  m_values = std::move(shown.values);
  m_rowCount = shown.rowCount;
  m_pos = 0;
}

SourceRecordset::ShownRows SourceRecordset::PickRows(const QSqlDatabase& db, const Criteria& criteria,
                                                     const std::vector<SortKey>& sort) {
  // A table whose values all read back as they are shows its own rows: the
  // database only picks and orders them.
  bool pickRows = false;
  if (m_isTable) {
    LoadedTable& table = m_loaded.front();
    pickRows = table.keptAsIs;
    if (criteria.IsEmpty() && sort.empty()) {
      if (pickRows) {
        ShownRows all;
        all.rowCount = RowCountOf(table.rows->rows.size());
        all.table = table.rows;
        all.allRows = true;
        return all;
      }
      if (std::optional<ShownRows> copied = CopyTableRows()) return std::move(*copied);
    }
  }
  // Each key is a term of the ORDER BY, and so is the source order that
  // breaks ties.
  const int maxKeys = SqliteColumnLimit(db) - 1;
  if (static_cast<int>(sort.size()) > maxKeys) {
    throw DbError(DbErrArguments,
                  QStringLiteral("L'ordinamento usa troppi campi diversi: al massimo %1.").arg(std::max(maxKeys, 0)));
  }
  // The filter is one call over the fields it reads; one that reads more
  // fields than a call can take is applied to the rows as they come back.
  const std::vector<int>& fields = criteria.Fields();
  const bool filterAfter = !criteria.IsEmpty() && static_cast<int>(fields.size()) > SqliteArgumentLimit(db);

  QString sql = QStringLiteral("SELECT %1 FROM %2")
                    .arg(pickRows ? QStringLiteral("rowid") : m_fieldSql.join(QStringLiteral(", ")), m_base);
  if (!criteria.IsEmpty() && !filterAfter) {
    QStringList args;
    for (int f : fields) args << m_fieldSql.at(f);
    sql += QStringLiteral(" WHERE %1(%2)").arg(QString::fromLatin1(kMatchFunction), args.join(QStringLiteral(", ")));
  }
  QStringList order;
  for (const SortKey& k : sort) {
    // Exact decimals sort by their keys (SQLite keeps them as doubles or
    // text); text by the sort collation.
    const QString term =
        m_types.at(static_cast<size_t>(k.field)) == ExactDecimal::MetaTypeId()
            ? QStringLiteral("%1(%2)").arg(QString::fromLatin1(kDecimalKeyFunction), m_fieldSql.at(k.field))
            : m_fieldSql.at(k.field) + QStringLiteral(" COLLATE ") + QString::fromLatin1(kSortCollation);
    order << term + (k.descending ? QStringLiteral(" DESC") : QString());
  }
  order << QStringLiteral("rowid");
  sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));

  m_binding.criteria = &criteria;
  m_binding.fieldTypes = m_types;
  m_binding.row.clear();
  SqliteRows rows;
  try {
    if (m_isTable) StoreTable(db, m_loaded.front());
    rows = SelectRows(db, sql, {}, pickRows ? std::vector<int>() : m_types);
  } catch (const DbError&) {
    m_binding.criteria = nullptr;
    if (criteria.IsEmpty() && sort.empty()) throw;
    throw CannotApply();
  }
  m_binding.criteria = nullptr;

  const std::shared_ptr<const SourceTable>& table = pickRows ? m_loaded.front().rows : nullptr;
  const auto width = static_cast<size_t>(m_fields.size());
  std::vector<int> picked;
  std::vector<QVariant> values;
  if (pickRows) {
    // The table was filled in its order: row n has rowid n + 1.
    picked.reserve(rows.values.size());
    for (const QVariant& id : rows.values) {
      const qint64 n = id.toLongLong() - 1;
      if (n < 0 || n >= static_cast<qint64>(table->rows.size()))
        throw DbError(DbErrProvider, QStringLiteral("Riga fuori dalla tabella."));
      if (!filterAfter || criteria.Matches(table->rows[static_cast<size_t>(n)])) picked.push_back(static_cast<int>(n));
    }
  } else if (filterAfter) {
    std::vector<QVariant> row(width);
    for (size_t r = 0; r < static_cast<size_t>(rows.rowCount); ++r) {
      const auto first = rows.values.begin() + static_cast<std::ptrdiff_t>(r * width);
      std::copy(first, first + static_cast<std::ptrdiff_t>(width), row.begin());
      if (criteria.Matches(row)) values.insert(values.end(), row.begin(), row.end());
    }
  } else {
    values = std::move(rows.values);
  }
  ShownRows shown;
  shown.rowCount = RowCountOf(pickRows      ? picked.size()
                              : filterAfter ? values.size() / width
                                            : static_cast<size_t>(rows.rowCount));
  if (pickRows) {
    shown.table = table;
    shown.order = std::move(picked);
  } else {
    shown.values = std::move(values);
  }
  return shown;
}

void SourceRecordset::SetFilter(const QString& filter) {
  RefuseWhileWorking();
  if (!m_open) throw DbError(DbErrClosed, QStringLiteral("Operazione non consentita quando l'oggetto è chiuso."));
  Criteria parsed = Criteria::Parse(filter, m_fields);
  ReadRows(parsed, m_sort);
  m_criteria = std::move(parsed);
  m_filterText = m_criteria.IsEmpty() ? QString() : filter;
}

void SourceRecordset::SetSort(const QString& sort) {
  RefuseWhileWorking();
  if (!m_open) throw DbError(DbErrClosed, QStringLiteral("Operazione non consentita quando l'oggetto è chiuso."));
  std::vector<SortKey> keys = ParseSort(sort, m_fields);
  ReadRows(m_criteria, keys);
  m_sort = std::move(keys);
  m_sortText = m_sort.empty() ? QString() : sort;
}

void SourceRecordset::Requery() {
  RefuseWhileWorking();
  if (!m_open) throw DbError(DbErrClosed, QStringLiteral("Operazione non consentita quando l'oggetto è chiuso."));
  // Every table is read first: a table that cannot be read leaves the rows
  // on show as they were.
  std::vector<std::shared_ptr<const SourceTable>> fresh;
  for (const LoadedTable& t : m_loaded) {
    try {
      fresh.push_back(ReadSourceTable(t.name));
    } catch (const DbError&) {
      if (ReaderTableNamed(t.name).isEmpty()) throw NoSuchTable(t.name);
      throw;
    }
  }
  // Tables whose file is unchanged are still loaded as they were.
  bool changed = m_kind == SourceKind::Odbc;
  try {
    const QSqlDatabase db = Database(m_dbName);
    std::vector<LoadedTable> loaded;
    loaded.swap(m_loaded);
    for (size_t i = 0; i < loaded.size(); ++i) {
      LoadedTable& t = loaded[i];
      if (fresh[i] == t.rows) {
        m_loaded.push_back(std::move(t));
        continue;
      }
      changed = true;
      if (t.stored) ExecSql(db, QStringLiteral("DROP TABLE %1").arg(QuoteIdentifier(t.alias)));
      LoadTable(t.name, t.alias, std::move(fresh[i]));
    }
    if (!m_isTable && changed) {
      ExecSql(db, QStringLiteral("DROP TABLE %1").arg(m_base));
      BuildQueryResult();
    }
    // The source may have changed shape: the filter and sort are read again.
    Criteria criteria = Criteria::Parse(m_filterText, m_fields);
    std::vector<SortKey> sort = ParseSort(m_sortText, m_fields);
    ReadRows(criteria, sort);
    m_criteria = std::move(criteria);
    m_sort = std::move(sort);
  } catch (const DbError& e) {
    // Cancelled with nothing read again: the rows on show stay.
    if (e.Number() == DbErrCancelled && !changed) throw;
    Close();
    throw;
  } catch (...) {
    // Half the source is read again: nothing on show can be trusted.
    Close();
    throw;
  }
}

bool SourceRecordset::MoveNext() {
  if (m_pos < m_rowCount) ++m_pos;
  return !Eof();
}

bool SourceRecordset::MovePrevious() {
  if (m_pos >= 0) --m_pos;
  return !Bof();
}

bool SourceRecordset::MoveTo(int n) {
  m_pos = n < 0 ? -1 : std::min(n, m_rowCount);
  return !Bof() && !Eof();
}

QString SourceRecordset::FieldName(int index) const {
  if (index < 0 || index >= m_fields.size())
    throw DbError(DbErrItemNotFound, QStringLiteral("Elemento non trovato nell'insieme."));
  return m_fields[index];
}

ColumnType SourceRecordset::FieldType(int index) const {
  FieldName(index);
  if (const auto t = ColumnTypeOf(m_types[static_cast<size_t>(index)])) return *t;
  // A computed column: the type of its first value.
  for (int r = 0; r < m_rowCount; ++r) {
    const QVariant& v = At(r, index);
    if (v.isValid()) {
      const int id = v.metaType().id();
      return id == QMetaType::LongLong          ? ColumnType::Integer
             : id == QMetaType::Double          ? ColumnType::Double
             : id == ExactDecimal::MetaTypeId() ? ColumnType::Decimal
                                                : ColumnType::Text;
    }
  }
  return ColumnType::Text;
}

int SourceRecordset::FieldIndex(const QString& name) const { return pv::FieldIndex(m_fields, name); }

QVariant SourceRecordset::ValueAt(int row, int index) const {
  if (!m_open) throw DbError(DbErrClosed, QStringLiteral("Operazione non consentita quando l'oggetto è chiuso."));
  if (index < 0 || index >= m_fields.size()) FieldName(index);  // throws
  if (row < 0 || row >= m_rowCount) {
    throw DbError(DbErrNoCurrentRecord,
                  QStringLiteral("BOF o EOF è True oppure il record corrente è stato eliminato."));
  }
  return At(row, index);
}

const QVariant& SourceRecordset::At(int row, int index) const {
  if (m_table) {
    const auto& values = m_table->rows[static_cast<size_t>(m_allRows ? row : m_order[static_cast<size_t>(row)])];
    return static_cast<size_t>(index) < values.size() ? values[static_cast<size_t>(index)] : kNull;
  }
  return m_values[static_cast<size_t>(row) * static_cast<size_t>(m_fields.size()) + static_cast<size_t>(index)];
}

QVariant SourceRecordset::Value(int index) const { return ValueAt(m_pos, index); }

QVariant SourceRecordset::Value(const QString& name) const {
  const int i = FieldIndex(name);
  if (i < 0) throw DbError(DbErrItemNotFound, QStringLiteral("Elemento non trovato nell'insieme: ") + name);
  return Value(i);
}

}  // namespace pv
