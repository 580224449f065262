#include "platform/db/sqlitefunctions.h"

#include "platform/db/dberror.h"
#include "platform/db/sortcollation.h"
#include "platform/exactdecimal.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QSqlDriver>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

namespace pv {

namespace {

int CompareSorted(void*, int lengthA, const void* a, int lengthB, const void* b) {
  const QStringView x(static_cast<const char16_t*>(a), lengthA / 2);
  const QStringView y(static_cast<const char16_t*>(b), lengthB / 2);
  return CompareForSort(x, y);
}

QVariant ValueOf(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return QVariant(static_cast<qint64>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return QVariant(sqlite3_value_double(v));
    case SQLITE_TEXT:
      return QVariant(QString(reinterpret_cast<const QChar*>(sqlite3_value_text16(v)), sqlite3_value_bytes16(v) / 2));
    case SQLITE_NULL: return QVariant();
    default: return QVariant(QByteArray(static_cast<const char*>(sqlite3_value_blob(v)), sqlite3_value_bytes(v)));
  }
}

// The values come from the database; the row is the criteria's own, sized
// to the fields the statement was built for.
void Match(sqlite3_context* context, int count, sqlite3_value** args) {
  const auto* binding = static_cast<const SqliteCriteria*>(sqlite3_user_data(context));
  if (binding == nullptr || binding->criteria == nullptr ||
      binding->criteria->Fields().size() != static_cast<size_t>(count)) {
    sqlite3_result_error(context, "Filtro non disponibile.", -1);
    return;
  }
  try {
    const std::vector<int>& fields = binding->criteria->Fields();
    std::vector<QVariant>& row = binding->row;
    if (!fields.empty() && row.size() <= static_cast<size_t>(fields.back()))
      row.resize(static_cast<size_t>(fields.back()) + 1);
    for (int i = 0; i < count; ++i) {
      const auto field = static_cast<size_t>(fields[static_cast<size_t>(i)]);
      row[field] = TypedValue(ValueOf(args[i]), field < binding->fieldTypes.size() ? binding->fieldTypes[field] : 0);
    }
    sqlite3_result_int(context, binding->criteria->Matches(row) ? 1 : 0);
  } catch (...) {
    // Nothing may leave through SQLite's frames.
    sqlite3_result_error(context, "Filtro non applicabile.", -1);
  }
}

// pv_decimalkey(value): the sort key of an exact decimal column's value,
// whether SQLite keeps it as a number or as its text.
void DecimalKey(sqlite3_context* context, int count, sqlite3_value** args) {
  if (count != 1 || sqlite3_value_type(args[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  std::optional<ExactDecimal> decimal;
  switch (sqlite3_value_type(args[0])) {
    case SQLITE_INTEGER: decimal = ExactDecimal::FromScaled(sqlite3_value_int64(args[0]), 0); break;
    case SQLITE_FLOAT: decimal = ExactDecimal::FromDouble(sqlite3_value_double(args[0])); break;
    default: {
      const QVariant text = ValueOf(args[0]);
      decimal = ExactDecimal::FromText(text.toString());
      if (!decimal) {
        // Not a number: after every number, as SQLite puts text after them.
        sqlite3_result_value(context, args[0]);
        return;
      }
    }
  }
  const QByteArray key = decimal->SortKey();
  sqlite3_result_blob(context, key.constData(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
}

sqlite3* Handle(const QSqlDatabase& db) {
  const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
    throw DbError(DbErrProvider, QStringLiteral("La connessione non è un database SQLite."));
  }
  sqlite3* h = *static_cast<sqlite3* const*>(handle.data());
  if (h == nullptr) throw DbError(DbErrProvider, QStringLiteral("La connessione SQLite è chiusa."));
  return h;
}

[[noreturn]] void Fail(sqlite3* h) { throw DbError(DbErrProvider, QString::fromUtf8(sqlite3_errmsg(h))); }

// A prepared statement, finalized on every way out.
class Statement {
 public:
  Statement(sqlite3* h, const QString& sql) : m_h(h) {
    if (sqlite3_prepare16_v2(h, sql.utf16(), static_cast<int>(sql.size() * 2), &m_stmt, nullptr) != SQLITE_OK) Fail(h);
  }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return m_stmt; }

  void Bind(int index, const QVariant& value) {
    const int id = value.metaType().id();
    const bool asIs = id != QMetaType::Bool && id != QMetaType::QDate && id != QMetaType::QDateTime &&
                      id != ExactDecimal::MetaTypeId();
    const QVariant converted = asIs ? QVariant() : StoredValue(value);
    const QVariant& v = asIs ? value : converted;
    int rc = SQLITE_OK;
    if (v.isNull() || !v.isValid()) {
      rc = sqlite3_bind_null(m_stmt, index);
    } else {
      switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong: rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong()); break;
        case QMetaType::Double:
        case QMetaType::Float: rc = sqlite3_bind_double(m_stmt, index, v.toDouble()); break;
        case QMetaType::QString: {
          // The caller's own text outlives the statement's steps: SQLite
          // need not copy it. Its units are read without utf16(), which
          // would turn a null text the caller holds (a loaded table's) into
          // an empty one; a null text goes in as an empty one, as before.
          const QString& text = *static_cast<const QString*>(v.constData());
          const void* units = text.isNull() ? static_cast<const void*>(u"") : text.constData();
          rc = sqlite3_bind_text16(m_stmt, index, units, static_cast<int>(text.size() * 2),
                                   asIs ? SQLITE_STATIC : SQLITE_TRANSIENT);
          break;
        }
        default: {
          const QString text = v.toString();
          rc = sqlite3_bind_text16(m_stmt, index, text.utf16(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
        }
      }
    }
    if (rc != SQLITE_OK) Fail(m_h);
  }

 private:
  sqlite3* m_h;
  sqlite3_stmt* m_stmt = nullptr;
};

}  // namespace

QString QuoteIdentifier(const QString& name) {
  QString n = name;
  n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + n + QLatin1Char('"');
}

int MetaTypeOfDeclared(const QString& declaredType) {
  const QString t = declaredType.toUpper();
  if (t == QLatin1String("INTEGER")) return QMetaType::LongLong;
  if (t == QLatin1String("REAL")) return QMetaType::Double;
  if (t == QLatin1String("TEXT")) return QMetaType::QString;
  if (t == QLatin1String("DATE")) return QMetaType::QDate;
  if (t == QLatin1String("DATETIME")) return QMetaType::QDateTime;
  if (t == QLatin1String("BOOLEAN")) return QMetaType::Bool;
  if (t == QLatin1String(kDecimalDeclaredType)) return ExactDecimal::MetaTypeId();
  return 0;
}

void ExecSql(const QSqlDatabase& db, const QString& sql) {
  sqlite3* h = Handle(db);
  const QByteArray utf8 = sql.toUtf8();
  if (sqlite3_exec(h, utf8.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail(h);
}

void InterruptSqlite(const QSqlDatabase& db) { sqlite3_interrupt(Handle(db)); }

void CreateFilledTable(const QSqlDatabase& db, const QString& table, const std::vector<SqliteColumn>& columns,
                       const std::vector<std::vector<QVariant>>& rows) {
  sqlite3* h = Handle(db);
  QStringList defs, marks;
  for (const SqliteColumn& c : columns) {
    defs << QuoteIdentifier(c.name) + QLatin1Char(' ') + c.declaredType;
    marks << QStringLiteral("?");
  }
  ExecSql(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(QuoteIdentifier(table), defs.join(QStringLiteral(", "))));
  ExecSql(db, QStringLiteral("BEGIN"));
  try {
    Statement insert(
        h, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(QuoteIdentifier(table), marks.join(QStringLiteral(", "))));
    static const QVariant null;
    for (const auto& row : rows) {
      for (size_t i = 0; i < columns.size(); ++i) insert.Bind(static_cast<int>(i) + 1, i < row.size() ? row[i] : null);
      if (sqlite3_step(insert.get()) != SQLITE_DONE) Fail(h);
      sqlite3_reset(insert.get());
    }
  } catch (...) {
    sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  ExecSql(db, QStringLiteral("COMMIT"));
}

SqliteRows SelectRows(const QSqlDatabase& db, const QString& sql, const QVariantList& binds,
                      const std::vector<int>& types) {
  sqlite3* h = Handle(db);
  Statement st(h, sql);
  for (int i = 0; i < binds.size(); ++i) st.Bind(i + 1, binds[i]);
  SqliteRows out;
  const int n = sqlite3_column_count(st.get());
  for (int i = 0; i < n; ++i) {
    const void* name = sqlite3_column_name16(st.get(), i);
    const char* decl = sqlite3_column_decltype(st.get(), i);
    out.columns.push_back(
        {QString::fromUtf16(static_cast<const char16_t*>(name)), decl ? QString::fromUtf8(decl) : QString()});
  }
  for (;;) {
    const int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) Fail(h);
    for (int i = 0; i < n; ++i) {
      QVariant v = ValueOf(sqlite3_column_value(st.get(), i));
      out.values.push_back(static_cast<size_t>(i) < types.size()
                               ? TypedValue(std::move(v), types[static_cast<size_t>(i)])
                               : std::move(v));
    }
    ++out.rowCount;
  }
  return out;
}

void InstallSqliteFunctions(const QSqlDatabase& db, const SqliteCriteria* binding) {
  sqlite3* h = Handle(db);
  if (sqlite3_create_collation(h, kSortCollation, SQLITE_UTF16_ALIGNED, nullptr, &CompareSorted) != SQLITE_OK ||
      sqlite3_create_function(h, kMatchFunction, -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                              const_cast<SqliteCriteria*>(binding), &Match, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(h, kDecimalKeyFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &DecimalKey,
                              nullptr, nullptr) != SQLITE_OK) {
    throw DbError(DbErrProvider, QString::fromUtf8(sqlite3_errmsg(h)));
  }
}

void RestrictSqliteConnection(const QSqlDatabase& db) {
  sqlite3* h = Handle(db);
  sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 0);
  int off = 0, on = 1;
  if (sqlite3_enable_load_extension(h, 0) != SQLITE_OK ||
      sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, &off) != SQLITE_OK ||
      sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0, &off) != SQLITE_OK ||
      sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, &on) != SQLITE_OK ||
      sqlite3_db_config(h, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &off) != SQLITE_OK || off != 0 || on != 1 ||
      sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, -1) != 0) {
    throw DbError(DbErrProvider, QStringLiteral("Impossibile proteggere il database in memoria."));
  }
}

int SqliteArgumentLimit(const QSqlDatabase& db) { return sqlite3_limit(Handle(db), SQLITE_LIMIT_FUNCTION_ARG, -1); }

int SqliteColumnLimit(const QSqlDatabase& db) { return sqlite3_limit(Handle(db), SQLITE_LIMIT_COLUMN, -1); }

namespace {

const char* const kDeniedFunctions[] = {"load_extension", "fts3_tokenizer", "readfile",
                                        "writefile",      "edit",           kMatchFunction};

// While it lives, statements prepared on the connection may only read and
// call plain functions; what was refused is remembered.
class ReadOnlyScope {
 public:
  explicit ReadOnlyScope(sqlite3* h) : m_h(h) { sqlite3_set_authorizer(h, &Authorize, this); }
  ~ReadOnlyScope() { sqlite3_set_authorizer(m_h, nullptr, nullptr); }
  ReadOnlyScope(const ReadOnlyScope&) = delete;
  ReadOnlyScope& operator=(const ReadOnlyScope&) = delete;
  bool Denied() const { return m_denied; }

 private:
  static int Authorize(void* self, int action, const char*, const char* name, const char*, const char*) {
    switch (action) {
      case SQLITE_SELECT:
      case SQLITE_READ:
      case SQLITE_RECURSIVE: return SQLITE_OK;
      case SQLITE_FUNCTION: {
        bool denied = name == nullptr;
        for (const char* f : kDeniedFunctions) denied = denied || sqlite3_stricmp(name, f) == 0;
        if (!denied) return SQLITE_OK;
        break;
      }
      default: break;
    }
    static_cast<ReadOnlyScope*>(self)->m_denied = true;
    return SQLITE_DENY;
  }

  sqlite3* m_h;
  bool m_denied = false;
};

const QString& OneSelectOnly() {
  static const QString text = QStringLiteral("La query dell'origine dati deve essere una sola istruzione SELECT.");
  return text;
}

const QString& NoWrites() {
  static const QString text = QStringLiteral("La query dell'origine dati non può modificare dati o file.");
  return text;
}

// Whether the text after a statement holds nothing more: blanks, ";" and
// comments ("--" to the end of the line, "/* */", an unclosed one to the end).
bool NothingMore(QStringView rest) {
  qsizetype i = 0;
  while (i < rest.size()) {
    const QChar c = rest[i];
    if (c.isSpace() || c == QLatin1Char(';')) {
      ++i;
    } else if (rest.mid(i).startsWith(QLatin1String("--"))) {
      const qsizetype end = rest.indexOf(QLatin1Char('\n'), i);
      i = end < 0 ? rest.size() : end + 1;
    } else if (rest.mid(i).startsWith(QLatin1String("/*"))) {
      const qsizetype end = rest.indexOf(QLatin1String("*/"), i + 2);
      i = end < 0 ? rest.size() : end + 2;
    } else {
      return false;
    }
  }
  return true;
}

// The column names of a query made unique in any letter case, as SQLite
// names the columns of a subquery: a repeated name gets ":1", ":2"...
QStringList UniqueNames(const QStringList& names) {
  QStringList out;
  QSet<QString> taken;
  for (const QString& name : names) {
    QString unique = name;
    QString base = name;
    const qsizetype colon = base.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && colon + 1 < base.size() &&
        std::all_of(base.cbegin() + colon + 1, base.cend(), [](QChar c) { return c.isDigit(); })) {
      base.truncate(colon);
    }
    for (int n = 1; taken.contains(unique.toCaseFolded()); ++n) unique = base + QLatin1Char(':') + QString::number(n);
    taken.insert(unique.toCaseFolded());
    out << unique;
  }
  return out;
}

using StatementPtr = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

// A user's query prepared under ReadOnlyScope, or a DbError.
StatementPtr PrepareUserQuery(sqlite3* h, const QString& query) {
  ReadOnlyScope scope(h);
  sqlite3_stmt* raw = nullptr;
  const void* tail = nullptr;
  const int rc = sqlite3_prepare16_v2(h, query.utf16(), static_cast<int>(query.size() * 2), &raw, &tail);
  StatementPtr st(raw, &sqlite3_finalize);
  if (rc != SQLITE_OK) {
    if (scope.Denied()) throw DbError(DbErrProvider, NoWrites());
    Fail(h);
  }
  const qsizetype used = tail == nullptr ? query.size() : static_cast<const ushort*>(tail) - query.utf16();
  if (raw == nullptr || !NothingMore(QStringView(query).mid(used)) || sqlite3_stmt_isexplain(raw) != 0)
    throw DbError(DbErrProvider, OneSelectOnly());
  if (sqlite3_stmt_readonly(raw) == 0) throw DbError(DbErrProvider, NoWrites());
  return st;
}

std::chrono::milliseconds g_queryTimeLimit = std::chrono::seconds(60);

// Bounds the time a user's query may run: a recursive query without an end
// would otherwise fill memory for ever. Interrupts the statement when the
// time is up.
class QueryDeadline {
 public:
  explicit QueryDeadline(sqlite3* h) : m_h(h), m_end(std::chrono::steady_clock::now() + g_queryTimeLimit) {
    sqlite3_progress_handler(m_h, 10000, &QueryDeadline::Check, this);
  }
  ~QueryDeadline() { sqlite3_progress_handler(m_h, 0, nullptr, nullptr); }
  QueryDeadline(const QueryDeadline&) = delete;
  QueryDeadline& operator=(const QueryDeadline&) = delete;
  bool Passed() const { return m_passed; }

 private:
  static int Check(void* self) {
    auto* d = static_cast<QueryDeadline*>(self);
    d->m_passed = std::chrono::steady_clock::now() >= d->m_end;
    return d->m_passed ? 1 : 0;
  }
  sqlite3* m_h;
  std::chrono::steady_clock::time_point m_end;
  bool m_passed = false;
};

}  // namespace

void SetUserQueryTimeLimit(std::chrono::milliseconds limit) { g_queryTimeLimit = limit; }

std::vector<SqliteColumn> CreateTableFromQuery(const QSqlDatabase& db, const QString& table, const QString& query) {
  sqlite3* h = Handle(db);
  StatementPtr select = PrepareUserQuery(h, query);
  const int n = sqlite3_column_count(select.get());
  QStringList names;
  std::vector<SqliteColumn> columns;
  QStringList defs, marks;
  for (int i = 0; i < n; ++i) {
    const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(select.get(), i));
    names << (name != nullptr ? QString::fromUtf16(name) : QString());
    const char* decl = sqlite3_column_decltype(select.get(), i);
    // Only the types this program declares name a column of its own table.
    QString type = decl != nullptr ? QString::fromUtf8(decl) : QString();
    if (MetaTypeOfDeclared(type) == 0) type.clear();
    columns.push_back({QString(), type});
    defs << QStringLiteral("c%1 %2").arg(i).arg(type);
    marks << QStringLiteral("?");
  }
  names = UniqueNames(names);
  for (int i = 0; i < n; ++i) columns[static_cast<size_t>(i)].name = names[i];

  ExecSql(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(QuoteIdentifier(table), defs.join(QStringLiteral(", "))));
  bool inTransaction = false;
  try {
    // Prepared again on the new schema, the query runs as it was checked:
    // the table it fills changes no schema while it runs.
    select = PrepareUserQuery(h, query);
    if (sqlite3_column_count(select.get()) != n) throw DbError(DbErrProvider, OneSelectOnly());
    Statement insert(
        h, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(QuoteIdentifier(table), marks.join(QStringLiteral(", "))));
    ExecSql(db, QStringLiteral("BEGIN"));
    inTransaction = true;
    const QueryDeadline deadline(h);
    // Either statement may be the one running when the time is up.
    const auto fail = [&] {
      if (deadline.Passed()) {
        const auto seconds = std::chrono::ceil<std::chrono::seconds>(g_queryTimeLimit).count();
        throw DbError(DbErrProvider, QStringLiteral("La query dell'origine dati ha superato il tempo massimo di %1 s.")
                                         .arg(std::max<qint64>(1, seconds)));
      }
      Fail(h);
    };
    for (;;) {
      const int rc = sqlite3_step(select.get());
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) fail();
      for (int i = 0; i < n; ++i) {
        if (sqlite3_bind_value(insert.get(), i + 1, sqlite3_column_value(select.get(), i)) != SQLITE_OK) fail();
      }
      if (sqlite3_step(insert.get()) != SQLITE_DONE) fail();
      sqlite3_reset(insert.get());
    }
    select.reset();
    ExecSql(db, QStringLiteral("COMMIT"));
  } catch (...) {
    // The table goes with the rows: the query may be run again.
    select.reset();
    if (inTransaction) sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    const QByteArray drop = QStringLiteral("DROP TABLE IF EXISTS %1").arg(QuoteIdentifier(table)).toUtf8();
    sqlite3_exec(h, drop.constData(), nullptr, nullptr, nullptr);
    throw;
  }
  return columns;
}

QVariant StoredValue(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::Bool: return QVariant(static_cast<qint64>(value.toBool() ? -1 : 0));
    case QMetaType::QDate: {
      // As toString(Qt::ISODate) writes it, without its formatting machinery.
      const QDate date = *static_cast<const QDate*>(value.constData());
      if (!date.isValid() || date.year() < 1 || date.year() > 9999) return QVariant(date.toString(Qt::ISODate));
      const int parts[3] = {date.year(), date.month(), date.day()};
      QString text(10, QLatin1Char('-'));
      QChar* out = text.data();
      for (int i = 0, at = 0; i < 3; ++i) {
        const int width = i == 0 ? 4 : 2;
        for (int d = width - 1, n = parts[i]; d >= 0; --d, n /= 10)
          out[at + d] = QLatin1Char(static_cast<char>('0' + n % 10));
        at += width + 1;
      }
      return QVariant(text);
    }
    case QMetaType::QDateTime: {
      // Milliseconds only where there are some: "...:ss" sorts before
      // "...:ss.001" as the times do.
      const QDateTime d = value.toDateTime();
      return QVariant(d.toString(d.time().msec() != 0 ? QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")
                                                      : QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    }
    default:
      if (const ExactDecimal* decimal = AsExactDecimal(value)) {
        // A number SQLite computes with where a double holds it, else its text.
        if (decimal->FitsDouble()) return QVariant(decimal->ToDouble());
        return QVariant(decimal->Text());
      }
      return value;
  }
}

QVariant TypedValue(QVariant stored, int metaType) {
  if (stored.isNull() || !stored.isValid()) return QVariant();
  if (stored.metaType().id() == metaType) return stored;
  switch (metaType) {
    case QMetaType::Bool: return QVariant(stored.toLongLong() != 0);
    case QMetaType::LongLong: return QVariant(stored.toLongLong());
    case QMetaType::Double: return QVariant(stored.toDouble());
    case QMetaType::QString: return QVariant(stored.toString());
    case QMetaType::QDate: {
      const QDate d = QDate::fromString(stored.toString().left(10), Qt::ISODate);
      return d.isValid() ? QVariant(d) : stored;
    }
    case QMetaType::QDateTime: {
      // Wall-clock time as the sources give it (UTC, no zone): read as local
      // time, an hour that the clocks skip would not be a time at all.
      const QString text = stored.toString();
      const QDate day = QDate::fromString(text.left(10), Qt::ISODate);
      const QTime time = text.size() > 11 ? QTime::fromString(text.mid(11), Qt::ISODateWithMs) : QTime(0, 0);
      if (!day.isValid() || !time.isValid() ||
          (text.size() > 10 && text[10] != QLatin1Char('T') && text[10] != QLatin1Char(' ')))
        return stored;
      return QVariant(QDateTime(day, time, Qt::UTC));
    }
    default:
      if (metaType == ExactDecimal::MetaTypeId()) {
        switch (stored.metaType().id()) {
          case QMetaType::Double: return QVariant::fromValue(ExactDecimal::FromDouble(stored.toDouble()));
          case QMetaType::LongLong: return QVariant::fromValue(ExactDecimal::FromScaled(stored.toLongLong(), 0));
          default:
            if (const auto d = ExactDecimal::FromText(stored.toString())) return QVariant::fromValue(*d);
            return stored;
        }
      }
      return stored;
  }
}

}  // namespace pv
