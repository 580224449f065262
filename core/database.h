#pragma once
// The program database plavik.db in the user's data folder (SQLite) and its six
// long-lived shared recordsets, opened once at start-up and kept to the end.
// A missing file is created from the schema and rows built into the
// program; a file that is there is never rewritten.

#include "platform/db/recordset.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>

namespace pv {

// The connection of the program database: the Qt SQL connection the
// recordsets are opened on (other users of the database, such as the
// calibration list, open their own recordsets on it).
struct DatabaseConnection {
  QString ConnectionName;
  QString FileName;
  bool IsOpen() const;
};

extern DatabaseConnection cnDatabase;
extern Recordset rsRegistrations;  // SELECT * FROM rst_registrations ORDER BY [LABEL]
extern Recordset rsFormat;         // rst_format
extern Recordset rsNumericFormat;  // rst_numericformat
extern Recordset rsSqlString;      // rst_sqlstring
extern Recordset rsClipCategory;   // rst_clipcategory
extern Recordset rsTemplate;       // rst_template

// plavik.db in the user's data folder.
QString DatabaseFileName();

// Opens the connection and the six recordsets in their order. The first
// failure is shown once ("DATA Access error : " number " - " description);
// the recordsets opened before it stay open, the others stay closed.
void OpenDatabase();

// Closes the recordsets and the connection (the program keeps them to the
// end; tests start afresh with it).
void CloseDatabase();

// Creates a new program database at `fileName` with every table and the
// delivered rows. Refuses (throws DbError) when the file exists.
void CreateProgramDatabase(const QString& fileName);

// Makes sure a program database exists at `fileName`: builds one aside and
// puts it in place only if no file is there by then, so that when two copies
// of the program start together on a folder without one, one database is
// made and both open it. `beforePlacing` runs between building and placing
// (tests use it to let another copy finish first). Throws DbError.
void EnsureProgramDatabase(const QString& fileName, const std::function<void()>& beforePlacing = {});

// One statement on the program database with its values bound in order.
// Throws DbError when the database is not open or the statement fails.
QSqlQuery RunProgramQuery(const QString& sql, const QVariantList& values = {});

// The text of the failure message for an error.
QString DataAccessErrorText(const DbError& error);

}  // namespace pv
