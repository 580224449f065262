#pragma once
// The settings file: a Windows private-profile file ([SECTION] lines and
// KEY=value lines, Windows-1252 text). Sections and keys are matched without
// regard to case; values are read trimmed of surrounding blanks and cut at
// 1999 characters. A write replaces the key's line in place, or adds the key
// at the end of its section (and the section at the end of the file), and
// saves through a temporary file, so a failed write leaves the old file
// whole. Nothing here reports a failure.

#include <QString>
#include <QVariant>

#include <optional>

namespace pv {

inline constexpr int IniMaxValueLength = 1999;

// The settings file of the program: plavik.ini in the user's settings folder.
QString IniFileName();

// The key's text; nothing when the file, the section or the key is missing
// or the value is empty.
std::optional<QString> ReadIniText(const QString& file, const QString& section, const QString& key);

// The key's text, or the Integer 0 when nothing was read; the exact texts
// "Vero" and "Falso" read as the Integers 1 and 0.
QVariant ReadIni(const QString& file, const QString& section, const QString& key);
// True only when the text reads as the number 1 ("1", "1.0").
bool ReadIniFlag(const QString& file, const QString& section, const QString& key);

// A number (integer, float or double) is written in the runtime's Str form
// ("." as decimal point, a leading blank when not negative); text as it is,
// except that line breaks become blanks.
void WriteIni(const QString& file, const QString& section, const QString& key, const QVariant& value);
// Writes "1" for a non-zero value, else "0".
void WriteIniFlag(const QString& file, const QString& section, const QString& key, long long value);

// Conversions of a ReadIni result into the type a setting keeps. A text must
// be a whole number text ("." as decimal point); anything else, or a value
// out of the type's range, gives 0. Whole-number types round halves to even.
std::int32_t IniToLong(const QVariant& v);
std::int16_t IniToInteger(const QVariant& v);
float IniToSingle(const QVariant& v);
// The leading number of the text ("101.6mm" is 101.6; no number is 0).
double IniToLeadingDouble(const QVariant& v);
// The value as text (the Integer 0 of a missing key becomes "0").
QString IniToText(const QVariant& v);

}  // namespace pv
