#pragma once
// The one reader of numbers a user types into a box: blanks trimmed, an
// optional sign, digits and at most one decimal separator, "," or "."
// whatever the system's locale; no grouping, no exponent. "2,5" and "2.5"
// are both two and a half; "1.000" is one, never a thousand.
#include <QString>

#include <optional>

namespace pv {

// The number the text holds, or nothing when it is not such a number.
std::optional<double> ReadDecimal(const QString& text);

}  // namespace pv
