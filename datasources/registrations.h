#pragma once
// Data-source registrations: the rows of rst_registrations, reached through
// the program's shared registrations recordset (opened with
// "SELECT * FROM rst_registrations ORDER BY [LABEL]").
//
// Every change is followed by a requery of that recordset, so a list built by
// walking it from the first row comes in Label order. Labels need not be
// unique. Built-in (System) registrations are never rewritten or deleted.

#include "platform/db/recordset.h"

#include <QString>

#include <optional>
#include <vector>

namespace pv {

struct Registration {
  qint64 id = 0;  // given by the database when the row is added
  QString label;
  bool system = false;  // built-in; a Null reads as false
  QString connectionString;
  QString recordSetName;  // table name or query text
  QString sourceName;     // what the selection control's file box held
  int sourceType = 0;     // 0 table, 1 query
  int sourceFormat = 0;   // source type code 0-12 (connectionstring.h)
};

// The string a registration opens with (the %PATH% rule for built-in ones).
QString EffectiveConnectionString(const Registration& registration);

class RegistrationStore {
 public:
  // `registrations`: the open shared recordset over rst_registrations.
  explicit RegistrationStore(Recordset& registrations) : m_rs(registrations) {}

  // Finds by ID from the first row on; the found row becomes the recordset's
  // current row. Nothing when there is no such row.
  std::optional<Registration> Find(qint64 id);
  // Every registration in the recordset's order.
  std::vector<Registration> All();
  // Adds a row with the six values a user gives (label, connection string,
  // record source, source name, source type, source format; never ID or
  // System) and returns the new ID.
  qint64 Add(const Registration& registration);
  // Writes the six values into the row with that ID. Throws DbError when
  // there is no such row or it is built-in.
  void Rewrite(qint64 id, const Registration& registration);
  // Deletes the row with that ID. Throws DbError as Rewrite does.
  void Remove(qint64 id);

 private:
  Registration Current() const;
  void WriteFields(const Registration& registration);
  void FindWritable(qint64 id);

  Recordset& m_rs;
};

}  // namespace pv
