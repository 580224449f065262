#include "core/database.h"

#include "core/seed.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <unistd.h>

namespace pv {

DatabaseConnection cnDatabase;
Recordset rsRegistrations;
Recordset rsFormat;
Recordset rsNumericFormat;
Recordset rsSqlString;
Recordset rsClipCategory;
Recordset rsTemplate;

namespace {

const char* const kConnection = "plavik-program-database";

DbError SqlFailure(const QSqlError& e) {
  QString text = e.databaseText();
  if (text.isEmpty()) text = e.driverText();
  return DbError(DbErrProvider, text);
}

void Exec(QSqlDatabase& db, const QString& sql) {
  QSqlQuery q(db);
  if (!q.exec(sql)) throw SqlFailure(q.lastError());
}

void InsertRows(QSqlDatabase& db, const QString& table, const QStringList& columns, const QList<QVariantList>& rows) {
  QStringList marks;
  for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
  QSqlQuery q(db);
  if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))))) {
    throw SqlFailure(q.lastError());
  }
  for (const QVariantList& row : rows) {
    for (qsizetype i = 0; i < row.size(); ++i) q.bindValue(static_cast<int>(i), row[i]);
    if (!q.exec()) throw SqlFailure(q.lastError());
  }
}

void ShowFailure(const DbError& e) { MsgBox(DataAccessErrorText(e), MsgIcon::None, MsgButtons::Ok); }

}  // namespace

bool DatabaseConnection::IsOpen() const {
  if (ConnectionName.isEmpty() || !QSqlDatabase::contains(ConnectionName)) return false;
  return QSqlDatabase::database(ConnectionName, false).isOpen();
}

QString DatabaseFileName() { return UserDataPath(QStringLiteral("plavik.db")); }

QString DataAccessErrorText(const DbError& error) {
  return QStringLiteral("DATA Access error : ") + StrLong(error.Number()) + QStringLiteral(" - ") + error.Description();
}

namespace {

// Builds a complete database aside and links it in under `fileName` only if
// nothing is there: link() never replaces an existing file, where rename()
// would. Returns false when another copy placed its database first.
bool BuildAndPlace(const QString& fileName, const std::function<void()>& beforePlacing) {
  // Unique per attempt, not only per process.
  static int attempts = 0;
  const QString tag = QStringLiteral("%1-%2").arg(::getpid()).arg(++attempts);
  const QString temp = fileName + QStringLiteral(".new-") + tag;
  QFile::remove(temp);
  const QString name = QStringLiteral("plavik-create-") + tag;
  try {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
      db.setDatabaseName(temp);
      if (!db.open()) throw SqlFailure(db.lastError());
      if (!db.transaction()) throw SqlFailure(db.lastError());
      for (const QString& statement : ProgramDatabaseSchema()) Exec(db, statement);
      for (const SeedTable& t : ProgramDatabaseSeed()) InsertRows(db, t.table, t.columns, t.rows);
      if (!db.commit()) throw SqlFailure(db.lastError());
      db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (beforePlacing) beforePlacing();
    bool placed = true;
    if (::link(QFile::encodeName(temp).constData(), QFile::encodeName(fileName).constData()) != 0) {
      if (errno != EEXIST)
        throw DbError(DbErrProvider, QStringLiteral("Impossibile creare il file '%1'.").arg(fileName));
      placed = false;
    }
    QFile::remove(temp);
    return placed;
  } catch (...) {
    if (QSqlDatabase::contains(name)) {
      QSqlDatabase::database(name, false).close();
      QSqlDatabase::removeDatabase(name);
    }
    QFile::remove(temp);
    throw;
  }
}

}  // namespace

void CreateProgramDatabase(const QString& fileName) {
  if (QFileInfo::exists(fileName) || !BuildAndPlace(fileName, {})) {
    throw DbError(DbErrProvider, QStringLiteral("Il file '%1' esiste già.").arg(fileName));
  }
}

void EnsureProgramDatabase(const QString& fileName, const std::function<void()>& beforePlacing) {
  if (QFileInfo::exists(fileName)) return;
  BuildAndPlace(fileName, beforePlacing);
}

void OpenDatabase() {
  CloseDatabase();
  const QString file = DatabaseFileName();
  try {
    EnsureProgramDatabase(file);
    const QFileInfo info(file);
    const bool writable =
        info.isWritable() && (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) != 0;
    if (!info.isFile() || !writable) {
      throw DbError(DbErrProvider, QStringLiteral("Impossibile aprire il file '%1' in lettura e scrittura.").arg(file));
    }
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QString::fromLatin1(kConnection));
      db.setDatabaseName(file);
      cnDatabase.ConnectionName = QString::fromLatin1(kConnection);
      cnDatabase.FileName = file;
      if (!db.open()) throw SqlFailure(db.lastError());
      // A file that is not a database fails here, before anything is read.
      QSqlQuery q(db);
      if (!q.exec(QStringLiteral("PRAGMA schema_version")) || !q.next()) throw SqlFailure(q.lastError());
    }
    const std::pair<Recordset*, const char*> sets[] = {
        {&rsRegistrations, "SELECT * FROM rst_registrations ORDER BY [LABEL]"},
        {&rsFormat, "rst_format"},
        {&rsNumericFormat, "rst_numericformat"},
        {&rsSqlString, "rst_sqlstring"},
        {&rsClipCategory, "rst_clipcategory"},
        {&rsTemplate, "rst_template"},
    };
    for (const auto& [rs, source] : sets) rs->Open(QString::fromLatin1(source), cnDatabase.ConnectionName);
  } catch (const DbError& e) {
    ShowFailure(e);
  }
}

void CloseDatabase() {
  for (Recordset* rs : {&rsRegistrations, &rsFormat, &rsNumericFormat, &rsSqlString, &rsClipCategory, &rsTemplate}) {
    rs->Close();
  }
  if (!cnDatabase.ConnectionName.isEmpty() && QSqlDatabase::contains(cnDatabase.ConnectionName)) {
    QSqlDatabase::database(cnDatabase.ConnectionName, false).close();
    QSqlDatabase::removeDatabase(cnDatabase.ConnectionName);
  }
  cnDatabase = DatabaseConnection{};
}

QSqlQuery RunProgramQuery(const QString& sql, const QVariantList& values) {
  QSqlDatabase db = QSqlDatabase::database(cnDatabase.ConnectionName, false);
  if (!cnDatabase.IsOpen() || !db.isOpen())
    throw DbError(DbErrClosed, QStringLiteral("Il database del programma non è aperto."));
  QSqlQuery q(db);
  if (!q.prepare(sql)) throw DbError(DbErrProvider, q.lastError().text());
  for (const QVariant& v : values) q.addBindValue(v);
  if (!q.exec()) throw DbError(DbErrProvider, q.lastError().text());
  return q;
}

}  // namespace pv
