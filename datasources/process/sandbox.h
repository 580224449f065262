#pragma once
// What the reader program gives up before it reads anything. A library that
// a damaged or crafted file turns against the user runs with what is left:
// it may read the source and the system's own data, and answer the program.
//
// For the file sources (dBASE, Paradox, Excel, Access): no file may be
// written, created, renamed or removed, nothing executed, no socket opened,
// and only the source, the system's data (/usr, /etc) and the process's own
// entries in /proc may be read. For ODBC: no file may be written, created,
// renamed or removed and nothing executed; reading and the network stay, as
// the driver manager, the drivers and their client libraries need them.
//
// The file system is closed with Landlock, as far as the running kernel's
// version of it goes (none at all on a kernel without it); programs and
// sockets with a seccomp filter, which also closes the truncation that
// Landlock leaves open before its third version. Both are for good: the
// process sets no_new_privs first.
#include "datasources/readers/sourcereader.h"

#include <QString>

namespace pv {

// The version of Landlock the running kernel offers; 0 without it.
int LandlockAbi();

// Confines this process for reading `location`, with Landlock of version
// `landlockAbi` (LandlockAbi(), or lower to confine as an older kernel
// would). Empty when done, else why it could not be, in Italian: the reader
// must then read nothing. Call it while the process has one thread
// (Landlock binds only the thread that asks).
QString ConfineReader(const SourceLocation& location, int landlockAbi);

}  // namespace pv
