#pragma once
// Tables read from users' files, kept for the run: opening the same table of
// the same source again costs no reading while its file is unchanged.
//
// An entry belongs to (connection string, table) and holds while the file it
// was read from has the same path, modification time and size; otherwise the
// table is read again and replaces it: the copy kept goes first, so that a
// table read again is not held twice. Tables without a file (ODBC) are never
// kept. The cache holds a bounded number of tables, dropping the oldest.

#include "datasources/readers/sourcereader.h"

#include <memory>

namespace pv {

// The table through the cache: a kept copy, or a fresh read (then kept).
std::shared_ptr<const SourceTable> ReadTableCached(SourceReader& reader, const QString& connection,
                                                   const QString& table);
// Forgets every kept table.
void ClearTableCache();
// How many tables are kept.
int TableCacheSize();

}  // namespace pv
