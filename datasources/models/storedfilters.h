#pragma once
// The stored filter expressions of table rst_sqlstring in the program
// database: listed in ID order, added, deleted by ID. Every failure throws
// DbError; the shared recordset over the table is read again after a change.

#include <QString>

#include <vector>

namespace pv {

struct StoredFilter {
  qint64 id = 0;
  QString text;
};

std::vector<StoredFilter> LoadStoredFilters();
void StoreFilter(const QString& text);
void DeleteStoredFilter(qint64 id);

}  // namespace pv
