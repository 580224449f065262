#pragma once
// Connection strings of data-source registrations: the string the selection
// control builds for a choice, and what it says when read back.
//
// A string is a list of `key=value;` pairs. Keys are read in any letter
// case and values trimmed. A value holding ";" or "=" (or starting with a
// quote or brace) is written quoted so that it cannot end the pair or plant
// another property: "..." (a quote inside doubled) in a Jet string, {...} (a
// brace inside doubled) in an ODBC string. Plain values are written as they
// are, byte for byte.

#include "datasources/readers/sourcereader.h"

#include <QString>

namespace pv {

// Source type codes (a registration's Sourceformat and the type list's item
// data): 0 Access; 1-3 dBASE III, IV, 5.0; 4-6 Paradox 3.x, 4.x, 5.x;
// 7-11 Excel 3.0, 4.0, 5.0, 8.0 (97), 8.0 (2000); 12 ODBC.
inline constexpr int kSourceAccess = 0;
inline constexpr int kSourceDBaseIII = 1;
inline constexpr int kSourceOdbc = 12;

// The extended properties a type code writes into its string ("dBASE III;"),
// empty for Access, ODBC and unknown codes.
QString ExtendedPropertiesOf(int typeCode);

// The string for a choice: type code, the file box text (file, folder or ODBC
// data source name) and, when `usePassword`, the user and password boxes.
// ODBC takes neither user nor password.
QString BuildConnectionString(int typeCode, const QString& source, bool usePassword, const QString& user,
                              const QString& password);

// What a string opens: "DSN=" makes it ODBC (the string itself goes to the
// driver); otherwise its Extended Properties
// decide (none: Access; "dBASE III/IV/5.0": a dBASE folder; "Paradox
// 3.x/4.x/5.x": a Paradox folder; "Excel 3.0" to "Excel 8.0": an .xls file).
// Throws DbError for anything else.
SourceLocation ParseConnectionString(const QString& connection);

// A stored string as it is used: for a built-in (system) registration every
// "%PATH%" (matched in this case) becomes the program folder followed by
// "/database/"; any other registration's string is used as stored.
QString EffectiveConnectionString(const QString& stored, bool system);

}  // namespace pv
