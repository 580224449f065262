#pragma once
// The SQLite ODBC driver's library where Debian installs it; empty when it
// is not installed.
#include <QFile>
#include <QString>

namespace pv::testing {

inline QString SqliteOdbcDriver() {
  for (const char* path :
       {"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so",
        "/usr/lib/odbc/libsqlite3odbc.so", "/usr/lib64/libsqlite3odbc.so"}) {
    if (QFile::exists(QString::fromLatin1(path))) return QString::fromLatin1(path);
  }
  return {};
}

}  // namespace pv::testing
