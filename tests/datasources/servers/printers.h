#pragma once
// How the tests' failures show texts and column types.
#include "datasources/readers/sourcereader.h"

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace pv {

inline void PrintTo(ColumnType type, std::ostream* os) {
  static const char* const kNames[] = {"Integer", "Double", "Text", "Date", "DateTime", "Boolean", "Decimal"};
  *os << kNames[static_cast<int>(type)];
}

}  // namespace pv
