#pragma once
// Value rules of the runtime the label files and settings were first written
// with: number text, text to number, rounding to 16- and 32-bit integers,
// blank trimming and 16-bit Booleans. Everything that turns numbers into text
// (rulers, settings file, criteria) goes through here so it reads the same.

#include <QString>
#include <cstdint>

namespace pv {

using VbBool = std::int16_t;
inline constexpr VbBool VbTrue = -1;
inline constexpr VbBool VbFalse = 0;
inline constexpr VbBool ToVbBool(bool b) { return b ? VbTrue : VbFalse; }
inline constexpr bool IsTrue(long long v) { return v != 0; }

// Str(): a leading blank for a value that is not negative, no leading zero
// before the point (" .5"), the shortest text that reads back to the same
// value (7 significant digits at most for a Single, 15 for a Double), and
// "1E-05" / "1.234568E+07" beyond the plain range.
QString StrSingle(float v);
QString StrDouble(double v);
QString StrLong(long long v);

// Val(): leading blanks, optional sign, digits, one point, digits, an optional
// exponent; stops at the first character that cannot go on. No number gives 0.
double Val(const QString& text);

// Conversion to Integer (16-bit) and Long (32-bit): halves round to even.
// A value out of range (or not a number) is clamped; *overflow is set to true
// then, and left alone otherwise.
std::int16_t CInt(double v, bool* overflow = nullptr);
std::int32_t CLng(double v, bool* overflow = nullptr);
// Halves to even, as a double (what the rules call "rounded").
double RoundHalfEven(double v);

// Trimming of blanks (U+0020) only; tabs and other white space stay.
QString Trim(const QString& s);
QString LTrim(const QString& s);
QString RTrim(const QString& s);

// Whether a value of this QMetaType id is a number of the runtime (integers
// of any width, floating point and characters; not Booleans).
bool IsNumericMetaType(int metaTypeId);

}  // namespace pv
