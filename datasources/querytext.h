#pragma once
// A user's query in the dialect the registrations were written in (Jet SQL),
// rewritten for the in-memory SQLite database the rows are loaded into:
//   [Name]            -> "Name"
//   "text"            -> 'text'       (double quotes delimit text there)
//   #12/31/2001#      -> '2001-12-31' (month first; a time gives
//                                       '2001-12-31T10:30:00'; yyyy-mm-dd too)
//   True, False       -> -1, 0
//   SELECT TOP n ...  -> SELECT ... LIMIT n
// 'text' and comments (-- to the end of the line, /* */) stay as they are;
// a LIMIT goes before the blanks, ";" and comments the query ends with.
// Throws DbError for an unclosed bracket, quote or date, or a date that
// cannot be read.

#include <QString>

namespace pv {

QString TranslateQuery(const QString& query);

}  // namespace pv
