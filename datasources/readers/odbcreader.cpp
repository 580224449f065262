// ODBC data sources, through the unixODBC driver manager. Text crosses in
// UTF-16 (the wide calls), so names and values keep every character; the
// driver manager turns the bytes of a driver without wide calls into UTF-16
// by the character set of LC_CTYPE, which is made UTF-8 (the text of the
// ODBC configuration and of the drivers on this system) when it is not.
#include "datasources/readers/readerkit.h"

#include "platform/exactdecimal.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDate>
#include <QDateTime>

#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace pv {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must pass text as UTF-16");

const SQLWCHAR* Wide(const QString& text) { return reinterpret_cast<const SQLWCHAR*>(text.utf16()); }
// Lengths are given, not SQL_NTS: the driver manager's conversion of a
// terminated wide string reads past its end.
SQLSMALLINT Length(const QString& text) { return static_cast<SQLSMALLINT>(std::min<qsizetype>(text.size(), 32767)); }

// A name the driver manager wrote: up to the length it says, or to its end
// where that comes first (for a driver without wide text it gives the
// length of the name's UTF-8 bytes, which counts an accent twice).
QString FromWide(const SQLWCHAR* text, qsizetype length) {
  const auto* units = reinterpret_cast<const char16_t*>(text);
  const qsizetype end = std::find(units, units + length, u'\0') - units;
  return QString::fromUtf16(units, end);
}

// The driver manager converts with the character set of LC_CTYPE as it is
// when a connection is made, and psqlODBC takes its own from the
// environment: under the C locale both are ASCII, and a column name comes
// back in pieces. Text on this system is UTF-8: so is LC_CTYPE here, in the
// environment as in the C library (the other categories stay the user's).
void UseUtf8Characters() {
  const char* codeset = nl_langinfo(CODESET);
  if (codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0)) return;
  if (const char* all = std::getenv("LC_ALL"); all != nullptr && *all != '\0') {
    // LC_ALL would override LC_CTYPE: its value stands for every category
    // but the characters.
    const QByteArray value(all);
    for (const char* category : {"LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME"})
      setenv(category, value.constData(), 1);
    unsetenv("LC_ALL");
  }
  setenv("LC_CTYPE", "C.UTF-8", 1);
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The driver's complaint about a handle, for our message.
QString Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  QStringList lines;
  for (SQLSMALLINT record = 1; record <= 5; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLWCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, message,
                                        static_cast<SQLSMALLINT>(std::size(message)), &length);
    if (!SQL_SUCCEEDED(rc)) break;
    lines.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(message)).trimmed());
  }
  return lines.join(QLatin1Char(' '));
}

// What the driver says of a column: its SQL type, precision and scale, and
// the name the database gives its type.
struct ColumnInfo {
  SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  QString typeName;
};

// A whole number of 64 bits: up to 18 digits always fit.
constexpr SQLULEN kInt64Digits = 18;

bool IsBooleanName(const QString& typeName) {
  // PostgreSQL's bool, which psqlODBC gives as text unless told otherwise;
  // MySQL's and MariaDB's BOOLEAN, which is a TINYINT(1).
  const QString t = typeName.trimmed().toLower();
  return t == QLatin1String("bool") || t == QLatin1String("boolean");
}

ColumnType TypeOf(const ColumnInfo& c) {
  if (IsBooleanName(c.typeName)) return ColumnType::Boolean;
  switch (c.sqlType) {
    case SQL_BIT: return ColumnType::Boolean;
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER: return ColumnType::Integer;
    case SQL_BIGINT:
      // An unsigned 64-bit integer may not fit a signed one.
      return c.typeName.contains(QLatin1String("unsigned"), Qt::CaseInsensitive) ? ColumnType::Decimal
                                                                                 : ColumnType::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: return ColumnType::Double;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      // Exact numbers: whole ones that fit 64 bits as integers, the others
      // as exact decimals, never as doubles.
      return c.digits == 0 && c.size > 0 && c.size <= kInt64Digits ? ColumnType::Integer : ColumnType::Decimal;
    case SQL_TYPE_DATE:
    case SQL_DATE: return ColumnType::Date;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIME:
    case SQL_TIME: return ColumnType::DateTime;
    default: return ColumnType::Text;
  }
}

bool IsBinary(SQLSMALLINT sqlType) {
  return sqlType == SQL_BINARY || sqlType == SQL_VARBINARY || sqlType == SQL_LONGVARBINARY;
}

bool IsExactNumeric(SQLSMALLINT sqlType) { return sqlType == SQL_NUMERIC || sqlType == SQL_DECIMAL; }

// How a connection's driver gives text: in UTF-16 (SQL_C_WCHAR), or, for a
// driver that has no wide text at all (psqlODBC's ANSI driver), in UTF-8.
struct TextMode {
  bool narrow = false;
};

class Statement {
 public:
  Statement(SQLHDBC connection, TextMode* mode) : m_mode(mode) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &m_handle)))
      ThrowSourceError(QStringLiteral("ODBC: ") + Diagnostics(SQL_HANDLE_DBC, connection));
  }
  ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_handle); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  SQLHSTMT Handle() const { return m_handle; }

  void Check(SQLRETURN rc) const {
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
      ThrowSourceError(QStringLiteral("ODBC: ") + Diagnostics(SQL_HANDLE_STMT, m_handle));
  }

  bool Fetch() const {
    const SQLRETURN rc = SQLFetch(m_handle);
    if (rc == SQL_NO_DATA) return false;
    Check(rc);
    return true;
  }

  // Text of any length; Null as an invalid QVariant.
  QVariant Text(SQLUSMALLINT column) const {
    if (m_mode->narrow) return NarrowText(column, SQL_SUCCESS);
    QString text;
    SQLWCHAR buffer[2048];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(m_handle, column, SQL_C_WCHAR, buffer, sizeof(buffer), &indicator);
      if (rc == SQL_NO_DATA) break;
      if (rc == SQL_ERROR && text.isEmpty()) {
        // A driver without wide text refuses it: its text is UTF-8 (the
        // characters this reader runs under), from here on.
        const QVariant narrow = NarrowText(column, rc);
        m_mode->narrow = true;
        return narrow;
      }
      Check(rc);
      if (indicator == SQL_NULL_DATA) return {};
      const qsizetype room = static_cast<qsizetype>(std::size(buffer)) - 1;
      const qsizetype chars = indicator == SQL_NO_TOTAL || indicator / 2 > room ? room : indicator / 2;
      text.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), chars));
      if (rc == SQL_SUCCESS) break;
    }
    return text;
  }

  template <typename T>
  bool Get(SQLUSMALLINT column, SQLSMALLINT cType, T* value) const {
    SQLLEN indicator = 0;
    Check(SQLGetData(m_handle, column, cType, value, sizeof(T), &indicator));
    return indicator != SQL_NULL_DATA;
  }

 private:
  // The text as UTF-8 bytes; `wide` is what the wide read gave (an error
  // that is thrown when the narrow read fails too).
  QVariant NarrowText(SQLUSMALLINT column, SQLRETURN wide) const {
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(m_handle, column, SQL_C_CHAR, buffer, sizeof(buffer), &indicator);
      if (rc == SQL_NO_DATA) break;
      if (!SQL_SUCCEEDED(rc) && wide == SQL_ERROR) Check(wide);
      Check(rc);
      if (indicator == SQL_NULL_DATA) return {};
      const qsizetype room = static_cast<qsizetype>(sizeof(buffer)) - 1;
      bytes.append(buffer, indicator == SQL_NO_TOTAL || indicator > room ? room : indicator);
      if (rc == SQL_SUCCESS) break;
    }
    return QString::fromUtf8(bytes);
  }

  TextMode* m_mode;
  SQLHSTMT m_handle = SQL_NULL_HSTMT;
};

// A logical written as text: "1"/"0", "t"/"f", "true"/"false" and the like.
QVariant LogicalOf(const QVariant& text) {
  if (!text.isValid()) return {};
  const QString t = text.toString().trimmed().toLower();
  if (t == QLatin1String("1") || t == QLatin1String("t") || t == QLatin1String("true") || t == QLatin1String("y") ||
      t == QLatin1String("yes") || t == QLatin1String("-1"))
    return true;
  if (t == QLatin1String("0") || t == QLatin1String("f") || t == QLatin1String("false") || t == QLatin1String("n") ||
      t == QLatin1String("no"))
    return false;
  // Any other number is true when it is not zero, as a TINYINT(1) reads.
  bool ok = false;
  const qlonglong n = t.toLongLong(&ok);
  return ok ? QVariant(n != 0) : QVariant();
}

QVariant ValueOf(const Statement& statement, SQLUSMALLINT column, const ColumnInfo& info, ColumnType type) {
  if (IsBinary(info.sqlType)) return {};
  switch (type) {
    case ColumnType::Boolean: return LogicalOf(statement.Text(column));
    case ColumnType::Integer: {
      if (IsExactNumeric(info.sqlType)) {
        // Read as the driver writes it: no conversion of its own on the way.
        const QVariant text = statement.Text(column);
        if (!text.isValid()) return {};
        const auto exact = ExactDecimal::FromText(text.toString());
        if (!exact) return {};
        if (const auto whole = exact->ToInt64()) return QVariant(qint64{*whole});
        return QVariant::fromValue(*exact);
      }
      SQLBIGINT value = 0;
      return statement.Get(column, SQL_C_SBIGINT, &value) ? QVariant(qint64{value}) : QVariant();
    }
    case ColumnType::Decimal: {
      const QVariant text = statement.Text(column);
      if (!text.isValid()) return {};
      // NaN and the infinities of a PostgreSQL numeric are no decimal.
      const auto exact = ExactDecimal::FromText(text.toString());
      return exact ? QVariant::fromValue(*exact) : QVariant();
    }
    case ColumnType::Double: {
      double value = 0;
      return statement.Get(column, SQL_C_DOUBLE, &value) ? QVariant(value) : QVariant();
    }
    case ColumnType::Date: {
      SQL_DATE_STRUCT date{};
      if (!statement.Get(column, SQL_C_TYPE_DATE, &date)) return {};
      const QDate value(date.year, date.month, date.day);
      return value.isValid() ? QVariant(value) : QVariant();
    }
    case ColumnType::DateTime: {
      if (info.sqlType == SQL_TYPE_TIME || info.sqlType == SQL_TIME) {
        SQL_TIME_STRUCT time{};
        if (!statement.Get(column, SQL_C_TYPE_TIME, &time)) return {};
        return TimeOfDay(QTime(time.hour, time.minute, time.second));
      }
      SQL_TIMESTAMP_STRUCT stamp{};
      if (!statement.Get(column, SQL_C_TYPE_TIMESTAMP, &stamp)) return {};
      const QDateTime value(QDate(stamp.year, stamp.month, stamp.day),
                            QTime(stamp.hour, stamp.minute, stamp.second, static_cast<int>(stamp.fraction / 1000000)),
                            Qt::UTC);
      return value.isValid() ? QVariant(value) : QVariant();
    }
    case ColumnType::Text: return statement.Text(column);
  }
  return {};
}

// A value of a connection string: as it is, or in braces (a closing brace
// doubled) when it holds what would end or open a pair.
QString ConnectionValue(const QString& value) {
  if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}')) &&
      !value.contains(QLatin1Char('=')) && value.trimmed() == value)
    return value;
  QString v = value;
  v.replace(QLatin1Char('}'), QStringLiteral("}}"));
  return QLatin1Char('{') + v + QLatin1Char('}');
}

// What the driver is given: the registration's string as it is; else the
// data source name, with a user and a password only when there are any (an
// empty one would stand for the DSN's own).
QString ConnectionString(const SourceLocation& location) {
  if (!location.connection.trimmed().isEmpty()) return location.connection;
  QString s = QStringLiteral("DSN=") + ConnectionValue(location.path) + QLatin1Char(';');
  if (!location.user.isEmpty()) s += QStringLiteral("UID=") + ConnectionValue(location.user) + QLatin1Char(';');
  if (!location.password.isEmpty()) s += QStringLiteral("PWD=") + ConnectionValue(location.password) + QLatin1Char(';');
  return s;
}

class OdbcReader : public SourceReader {
 public:
  explicit OdbcReader(const SourceLocation& location) : m_dsn(location.path) {
    if (m_dsn.trimmed().isEmpty()) ThrowSourceError(QStringLiteral("Manca il nome dell'origine dati ODBC."));
    UseUtf8Characters();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
      ThrowSourceError(QStringLiteral("ODBC non è disponibile."));
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc))) {
      Release();
      ThrowSourceError(QStringLiteral("ODBC non è disponibile."));
    }
    SQLSetConnectAttr(m_dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(30), 0);
    const QString connection = ConnectionString(location);
    SQLRETURN rc = SQL_ERROR;
    if (std::all_of(connection.cbegin(), connection.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
      // The wide call: the driver manager then gives a driver without wide
      // calls of its own text in UTF-8 and turns it into UTF-16.
      SQLWCHAR completed[1024] = {};
      SQLSMALLINT completedLength = 0;
      rc = SQLDriverConnectW(m_dbc, nullptr, const_cast<SQLWCHAR*>(Wide(connection)), Length(connection), completed,
                             static_cast<SQLSMALLINT>(std::size(completed)), &completedLength, SQL_DRIVER_NOPROMPT);
    } else {
      // The narrow call, in UTF-8: the driver manager finds a DSN by the
      // bytes of its name in the configuration, and its wide call would cut
      // an accented name's characters to bytes first.
      const QByteArray utf8 = connection.toUtf8();
      SQLCHAR completed[1024] = {};
      SQLSMALLINT completedLength = 0;
      rc = SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(utf8.constData())),
                            static_cast<SQLSMALLINT>(std::min<qsizetype>(utf8.size(), 32767)), completed,
                            static_cast<SQLSMALLINT>(std::size(completed)), &completedLength, SQL_DRIVER_NOPROMPT);
    }
    if (!SQL_SUCCEEDED(rc)) {
      const QString why = Diagnostics(SQL_HANDLE_DBC, m_dbc);
      Release();
      ThrowSourceError(QStringLiteral("Impossibile connettersi all'origine dati ODBC \"%1\". %2").arg(m_dsn, why));
    }
    m_connected = true;
    m_quote = IdentifierQuote();
    m_catalog = CurrentCatalog();
  }
  ~OdbcReader() override { Release(); }
  OdbcReader(const OdbcReader&) = delete;
  OdbcReader& operator=(const OdbcReader&) = delete;

  QStringList Tables() override {
    Statement statement(m_dbc, &m_textMode);
    const QString kinds = QStringLiteral("TABLE,VIEW");
    statement.Check(SQLTablesW(statement.Handle(), CatalogName(), Length(m_catalog), nullptr, 0, nullptr, 0,
                               const_cast<SQLWCHAR*>(Wide(kinds)), Length(kinds)));
    QStringList names;
    while (statement.Fetch()) {
      const QVariant name = statement.Text(3);
      if (name.isValid()) names.append(name.toString());
    }
    return names;
  }

  std::vector<SourceColumn> Columns(const QString& table) override {
    const QString name = Resolve(table);
    Statement statement(m_dbc, &m_textMode);
    // The name is a pattern here ("_" and "%" match anything): keep only the
    // rows of the table itself.
    statement.Check(SQLColumnsW(statement.Handle(), CatalogName(), Length(m_catalog), nullptr, 0,
                                const_cast<SQLWCHAR*>(Wide(name)), Length(name), nullptr, 0));
    std::vector<SourceColumn> columns;
    std::vector<TinyintColumn> tinyints;
    while (statement.Fetch()) {
      if (statement.Text(3).toString() != name) continue;
      const QString column = statement.Text(4).toString();
      ColumnInfo info;
      statement.Get(5, SQL_C_SSHORT, &info.sqlType);
      info.typeName = statement.Text(6).toString();
      SQLINTEGER size = 0;
      if (statement.Get(7, SQL_C_SLONG, &size) && size > 0) info.size = static_cast<SQLULEN>(size);
      statement.Get(9, SQL_C_SSHORT, &info.digits);
      columns.push_back({column, TypeOf(info)});
      if (info.sqlType == SQL_TINYINT) tinyints.push_back({columns.size() - 1, name, column});
    }
    statement.Check(SQLFreeStmt(statement.Handle(), SQL_CLOSE));
    for (const TinyintColumn& t : tinyints) {
      if (IsTinyintOne(t.table, t.column)) columns[t.index].type = ColumnType::Boolean;
    }
    return columns;
  }

  SourceTable ReadTable(const QString& table) override {
    return Run(QStringLiteral("SELECT * FROM %1").arg(Quoted(Resolve(table))));
  }

  bool RunsQueries() const override { return true; }
  SourceTable RunQuery(const QString& sql) override { return Run(sql); }
  QString TableFile(const QString&) override { return {}; }

 private:
  void Release() {
    if (m_connected) SQLDisconnect(m_dbc);
    m_connected = false;
    if (m_dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    if (m_env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    m_dbc = SQL_NULL_HDBC;
    m_env = SQL_NULL_HENV;
  }

  // The character the driver quotes names with (" for most, ` for MariaDB
  // and MySQL); empty when it quotes none.
  QString IdentifierQuote() const {
    SQLWCHAR quote[8] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(m_dbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof(quote), &length)))
      return QStringLiteral("\"");
    const QString q = FromWide(quote, std::clamp<qsizetype>(length / 2, 0, 7)).trimmed();
    return q;
  }

  // The database the connection is in, where the driver names databases as
  // catalogues (MariaDB and MySQL list every database's tables without it);
  // empty otherwise.
  QString CurrentCatalog() const {
    SQLWCHAR supported[4] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(m_dbc, SQL_CATALOG_NAME, supported, sizeof(supported), &length)) ||
        FromWide(supported, std::clamp<qsizetype>(length / 2, 0, 3)) != QLatin1String("Y"))
      return {};
    SQLWCHAR name[256] = {};
    SQLINTEGER nameLength = 0;
    if (!SQL_SUCCEEDED(
            SQLGetConnectAttrW(m_dbc, SQL_ATTR_CURRENT_CATALOG, name, sizeof(name) - sizeof(SQLWCHAR), &nameLength)))
      return {};
    return FromWide(name, std::clamp<qsizetype>(nameLength / 2, 0, 255));
  }
  SQLWCHAR* CatalogName() const { return m_catalog.isEmpty() ? nullptr : const_cast<SQLWCHAR*>(Wide(m_catalog)); }

  // A name in the driver's quotes, the quote doubled inside.
  QString Quoted(const QString& name) const {
    if (m_quote.isEmpty()) return name;
    QString n = name;
    n.replace(m_quote, m_quote + m_quote);
    return m_quote + n + m_quote;
  }

  // The table's own spelling, found in any letter case.
  QString Resolve(const QString& table) {
    const QStringList names = Tables();
    const qsizetype found = MatchName(names, table);
    if (found < 0)
      ThrowSourceError(QStringLiteral("La tabella \"%1\" non esiste nell'origine dati \"%2\".").arg(table, m_dsn));
    return names[found];
  }

  // A column the driver gives as a TINYINT, which MariaDB and MySQL keep a
  // BOOLEAN as when it is a TINYINT(1): the driver says only TINYINT, the
  // database's catalogue says which.
  struct TinyintColumn {
    size_t index;
    QString table;
    QString column;
  };
  bool IsTinyintOne(const QString& table, const QString& column) const {
    if (m_catalog.isEmpty()) return false;
    try {
      Statement statement(m_dbc, &m_textMode);
      const QString parameters[] = {m_catalog, table, column};
      SQLLEN lengths[3] = {};
      for (SQLUSMALLINT i = 0; i < 3; ++i) {
        lengths[i] = static_cast<SQLLEN>(parameters[i].size() * 2);
        statement.Check(SQLBindParameter(statement.Handle(), i + 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                         static_cast<SQLULEN>(std::max<qsizetype>(parameters[i].size(), 1)), 0,
                                         const_cast<SQLWCHAR*>(Wide(parameters[i])), lengths[i], &lengths[i]));
      }
      const QString sql = QStringLiteral(
          "SELECT COLUMN_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = ? AND TABLE_NAME = ? AND "
          "COLUMN_NAME = ?");
      statement.Check(SQLExecDirectW(statement.Handle(), const_cast<SQLWCHAR*>(Wide(sql)), Length(sql)));
      if (!statement.Fetch()) return false;
      return statement.Text(1).toString().trimmed().compare(QLatin1String("tinyint(1)"), Qt::CaseInsensitive) == 0;
    } catch (const DbError&) {
      return false;  // a database without that catalogue: a number it stays
    }
  }

  // A text attribute of a result's column; empty when the driver has none.
  static QString Attribute(const Statement& statement, SQLUSMALLINT c, SQLUSMALLINT field) {
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(
            SQLColAttributeW(statement.Handle(), c, field, text, sizeof(text) - sizeof(SQLWCHAR), &length, nullptr)))
      return {};
    return FromWide(text, std::clamp<qsizetype>(length / 2, 0, 255));
  }

  // The driver's account of a result's column.
  static ColumnInfo Describe(const Statement& statement, SQLUSMALLINT c, QString* name) {
    SQLWCHAR text[512] = {};
    SQLSMALLINT nameLength = 0;
    ColumnInfo info;
    SQLSMALLINT nullable = 0;
    statement.Check(SQLDescribeColW(statement.Handle(), c, text, static_cast<SQLSMALLINT>(std::size(text)), &nameLength,
                                    &info.sqlType, &info.size, &info.digits, &nullable));
    *name = FromWide(text, std::clamp<qsizetype>(nameLength, 0, static_cast<qsizetype>(std::size(text)) - 1));
    SQLWCHAR typeName[128] = {};
    SQLSMALLINT typeLength = 0;
    if (SQL_SUCCEEDED(SQLColAttributeW(statement.Handle(), c, SQL_DESC_TYPE_NAME, typeName, sizeof(typeName),
                                       &typeLength, nullptr)))
      info.typeName = FromWide(typeName, std::clamp<qsizetype>(typeLength / 2, 0, 127));
    if (info.sqlType == SQL_BIGINT) {
      SQLLEN isUnsigned = SQL_FALSE;
      if (SQL_SUCCEEDED(SQLColAttributeW(statement.Handle(), c, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned)) &&
          isUnsigned == SQL_TRUE)
        info.typeName += QStringLiteral(" unsigned");
    }
    return info;
  }

  SourceTable Run(const QString& sql) {
    Statement statement(m_dbc, &m_textMode);
    statement.Check(SQLExecDirectW(statement.Handle(), const_cast<SQLWCHAR*>(Wide(sql)), SQL_NTS));
    SQLSMALLINT count = 0;
    statement.Check(SQLNumResultCols(statement.Handle(), &count));
    SourceTable result;
    std::vector<ColumnInfo> infos;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
      QString name;
      infos.push_back(Describe(statement, c, &name));
      result.columns.push_back({name, TypeOf(infos.back())});
    }
    if (count == 0) return result;
    std::vector<TinyintColumn> tinyints;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
      if (infos[c - 1].sqlType != SQL_TINYINT) continue;
      const QString table = Attribute(statement, c, SQL_DESC_BASE_TABLE_NAME);
      const QString column = Attribute(statement, c, SQL_DESC_BASE_COLUMN_NAME);
      if (!table.isEmpty() && !column.isEmpty()) tinyints.push_back({c - 1u, table, column});
    }
    while (statement.Fetch()) {
      std::vector<QVariant> row;
      row.reserve(infos.size());
      for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c)
        row.push_back(ValueOf(statement, c, infos[c - 1], result.columns[c - 1].type));
      result.rows.push_back(std::move(row));
    }
    statement.Check(SQLFreeStmt(statement.Handle(), SQL_CLOSE));
    // A TINYINT(1) is a logical: its numbers become true (not 0) and false.
    for (const TinyintColumn& t : tinyints) {
      if (!IsTinyintOne(t.table, t.column)) continue;
      result.columns[t.index].type = ColumnType::Boolean;
      for (std::vector<QVariant>& row : result.rows) {
        QVariant& v = row[t.index];
        if (v.isValid()) v = QVariant(v.toLongLong() != 0);
      }
    }
    return result;
  }

  QString m_dsn;
  QString m_quote;
  QString m_catalog;
  mutable TextMode m_textMode;
  SQLHENV m_env = SQL_NULL_HENV;
  SQLHDBC m_dbc = SQL_NULL_HDBC;
  bool m_connected = false;
};

}  // namespace

std::unique_ptr<SourceReader> OpenOdbcSource(const SourceLocation& location) {
  return std::make_unique<OdbcReader>(location);
}

}  // namespace pv
