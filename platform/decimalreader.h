#pragma once
// The program's one reader of decimal numbers typed by the user: blanks
// around it are ignored, then an optional sign, digits and at most one
// decimal separator, "," or "." whatever the locale. Grouping, exponents,
// letters and a text without a digit are not numbers.

#include <QString>

#include <optional>

namespace pv {

std::optional<double> ReadDecimal(const QString& text);

}  // namespace pv
