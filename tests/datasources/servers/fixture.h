#pragma once
// The records every test server holds, the same on PostgreSQL and MariaDB:
//
// indirizzi (50 rows): Italian addresses with accents, apostrophes, €, a
//   character beyond 16 bits, line breaks, empty texts and Nulls, amounts,
//   points, dates and times, and one note of 120,000 characters. Its city
//   column is named CITTÀ.
// codici (6 rows): SSCC shipping codes numeric(18,0), balances numeric(12,3)
//   (negative, scaled), BIGINT at both ends and past 2^53, a boolean ATTIVO.
// "Città e province" (2 rows): a table whose name needs quoting.
//
// A second database, archivio, holds a table scaffali (3 rows) that the
// first does not.
#include "tests/support/dbservers.h"

#include <QString>
#include <QStringList>

namespace pv::test {

inline constexpr int kAddressCount = 50;
inline constexpr int kLongNoteLength = 120000;
inline constexpr int kLongNoteId = 7;
inline constexpr char kOtherDatabase[] = "archivio";

// The columns of indirizzi, in order.
QStringList AddressColumns();
// The 120,000-character note of record kLongNoteId.
QString LongNote();

// Creates the tables and loads the records (and the second database).
void LoadFixture(const DbServer& server);

}  // namespace pv::test
