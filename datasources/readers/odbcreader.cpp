// ODBC data sources, through the unixODBC driver manager. Text crosses in
// UTF-16 (the wide calls), so names and values keep every character.
#include "datasources/readers/readerkit.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <iterator>

namespace pv {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must pass text as UTF-16");

const SQLWCHAR* Wide(const QString& text) { return reinterpret_cast<const SQLWCHAR*>(text.utf16()); }
// Lengths are given, not SQL_NTS: the driver manager's conversion of a
// terminated wide string reads past its end.
SQLSMALLINT Length(const QString& text) { return static_cast<SQLSMALLINT>(std::min<qsizetype>(text.size(), 32767)); }

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

ColumnType TypeOf(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_BIT: return ColumnType::Boolean;
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: return ColumnType::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_NUMERIC:
    case SQL_DECIMAL: return ColumnType::Double;
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

class Statement {
 public:
  explicit Statement(SQLHDBC connection) {
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
    QString text;
    SQLWCHAR buffer[2048];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(m_handle, column, SQL_C_WCHAR, buffer, sizeof(buffer), &indicator);
      if (rc == SQL_NO_DATA) break;
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
  SQLHSTMT m_handle = SQL_NULL_HSTMT;
};

QVariant ValueOf(const Statement& statement, SQLUSMALLINT column, SQLSMALLINT sqlType) {
  if (IsBinary(sqlType)) return {};
  switch (TypeOf(sqlType)) {
    case ColumnType::Boolean: {
      unsigned char bit = 0;
      return statement.Get(column, SQL_C_BIT, &bit) ? QVariant(bit != 0) : QVariant();
    }
    case ColumnType::Integer: {
      SQLBIGINT value = 0;
      return statement.Get(column, SQL_C_SBIGINT, &value) ? QVariant(qint64{value}) : QVariant();
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
      if (sqlType == SQL_TYPE_TIME || sqlType == SQL_TIME) {
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

class OdbcReader : public SourceReader {
 public:
  explicit OdbcReader(const SourceLocation& location) : m_dsn(location.path) {
    if (m_dsn.trimmed().isEmpty()) ThrowSourceError(QStringLiteral("Manca il nome dell'origine dati ODBC."));
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)))
      ThrowSourceError(QStringLiteral("ODBC non è disponibile."));
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc))) {
      Release();
      ThrowSourceError(QStringLiteral("ODBC non è disponibile."));
    }
    SQLSetConnectAttr(m_dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(30), 0);
    const SQLRETURN rc = SQLConnectW(m_dbc, const_cast<SQLWCHAR*>(Wide(m_dsn)), Length(m_dsn),
                                     const_cast<SQLWCHAR*>(Wide(location.user)), Length(location.user),
                                     const_cast<SQLWCHAR*>(Wide(location.password)), Length(location.password));
    if (!SQL_SUCCEEDED(rc)) {
      const QString why = Diagnostics(SQL_HANDLE_DBC, m_dbc);
      Release();
      ThrowSourceError(QStringLiteral("Impossibile connettersi all'origine dati ODBC \"%1\". %2").arg(m_dsn, why));
    }
    m_connected = true;
  }
  ~OdbcReader() override { Release(); }
  OdbcReader(const OdbcReader&) = delete;
  OdbcReader& operator=(const OdbcReader&) = delete;

  QStringList Tables() override {
    Statement statement(m_dbc);
    const QString kinds = QStringLiteral("TABLE,VIEW");
    statement.Check(SQLTablesW(statement.Handle(), nullptr, 0, nullptr, 0, nullptr, 0,
                               const_cast<SQLWCHAR*>(Wide(kinds)), SQL_NTS));
    QStringList names;
    while (statement.Fetch()) {
      const QVariant name = statement.Text(3);
      if (name.isValid()) names.append(name.toString());
    }
    return names;
  }

  std::vector<SourceColumn> Columns(const QString& table) override {
    const QString name = Resolve(table);
    Statement statement(m_dbc);
    // The name is a pattern here ("_" and "%" match anything): keep only the
    // rows of the table itself.
    statement.Check(SQLColumnsW(statement.Handle(), nullptr, 0, nullptr, 0, const_cast<SQLWCHAR*>(Wide(name)), SQL_NTS,
                                nullptr, 0));
    std::vector<SourceColumn> columns;
    while (statement.Fetch()) {
      if (statement.Text(3).toString() != name) continue;
      const QString column = statement.Text(4).toString();
      SQLSMALLINT type = 0;
      statement.Get(5, SQL_C_SSHORT, &type);
      columns.push_back({column, TypeOf(type)});
    }
    return columns;
  }

  SourceTable ReadTable(const QString& table) override {
    QString quoted = Resolve(table);
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return Run(QStringLiteral("SELECT * FROM \"%1\"").arg(quoted));
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

  // The table's own spelling, found in any letter case.
  QString Resolve(const QString& table) {
    const QStringList names = Tables();
    const qsizetype found = MatchName(names, table);
    if (found < 0)
      ThrowSourceError(QStringLiteral("La tabella \"%1\" non esiste nell'origine dati \"%2\".").arg(table, m_dsn));
    return names[found];
  }

  SourceTable Run(const QString& sql) {
    Statement statement(m_dbc);
    statement.Check(SQLExecDirectW(statement.Handle(), const_cast<SQLWCHAR*>(Wide(sql)), SQL_NTS));
    SQLSMALLINT count = 0;
    statement.Check(SQLNumResultCols(statement.Handle(), &count));
    SourceTable result;
    std::vector<SQLSMALLINT> types;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
      SQLWCHAR name[512] = {};
      SQLSMALLINT nameLength = 0;
      SQLSMALLINT type = 0;
      SQLULEN size = 0;
      SQLSMALLINT digits = 0;
      SQLSMALLINT nullable = 0;
      statement.Check(SQLDescribeColW(statement.Handle(), c, name, static_cast<SQLSMALLINT>(std::size(name)),
                                      &nameLength, &type, &size, &digits, &nullable));
      result.columns.push_back({QString::fromUtf16(reinterpret_cast<const char16_t*>(name)), TypeOf(type)});
      types.push_back(type);
    }
    if (count == 0) return result;
    while (statement.Fetch()) {
      std::vector<QVariant> row;
      row.reserve(types.size());
      for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c)
        row.push_back(ValueOf(statement, c, types[c - 1]));
      result.rows.push_back(std::move(row));
    }
    return result;
  }

  QString m_dsn;
  SQLHENV m_env = SQL_NULL_HENV;
  SQLHDBC m_dbc = SQL_NULL_HDBC;
  bool m_connected = false;
};

}  // namespace

std::unique_ptr<SourceReader> OpenOdbcSource(const SourceLocation& location) {
  return std::make_unique<OdbcReader>(location);
}

}  // namespace pv
