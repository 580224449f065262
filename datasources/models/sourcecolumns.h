#pragma once
// The column names of a registration's record source, read without loading
// its records: a table's columns come from the reader's catalogue; a query
// is run to learn what it gives.

#include "datasources/sourcerecordset.h"

#include <QStringList>

namespace pv {

struct Registration;

// Throws DbError when the source or its table or query does not open.
QStringList RegistrationColumns(const Registration& registration, const SourceRecordset::ReaderFactory& factory = {});

}  // namespace pv
