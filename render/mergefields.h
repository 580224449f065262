#pragma once
// The three predefined merge fields: a counter, today's date and a random
// number. A database-field object holds one of these keys in place of a
// column name; the drawing shows its caption and the print run its value.
#include <QString>

#include <cstdint>

namespace pv {

inline constexpr const char* PredefinedCounterKey = "KINTERNAL238547-01";
inline constexpr const char* PredefinedDateKey = "KINTERNAL238547-02";
inline constexpr const char* PredefinedRandomKey = "KINTERNAL238547-03";

// 1-3 for the three keys, 0 for any other name. Trims the key in place.
std::int16_t PredefinedFieldCode(QString& key);
// Messages 32005-32007 for the three keys, the trimmed key otherwise. Trims
// the key in place.
QString PredefinedFieldCaption(QString& key);

}  // namespace pv
