#pragma once
// The national conventions that Format() prints with: separators, currency,
// the date and time layouts behind the named formats, month and day names and
// the words of the Boolean formats. They are fixed to the Italian defaults of
// the system the labels were first designed on, whatever the locale of the
// machine that prints them, so a label prints the same everywhere.
//
// The Italian defaults (Windows 10 and later, "Italiano (Italia)"):
//   decimal separator ","        thousands separator "."
//   currency   "1.234,56 €"      negative currency   "-1.234,56 €"
//   short date dd/mm/yyyy        long date  dddd d mmmm yyyy
//   short time hh:nn (24 hours)  long time  hh:nn:ss (24 hours)
//   date separator "/"           time separator ":"
// The layouts are written in Format()'s own pattern language.

#include <QString>

#include <array>

namespace pv {

struct FormatConventions {
  QString decimalSeparator;
  QString thousandsSeparator;
  QString dateSeparator;
  QString timeSeparator;

  // Patterns behind the named formats and the d/t shorthands.
  QString currency;    // "Currency"
  QString shortDate;   // "Short Date", ddddd
  QString mediumDate;  // "Medium Date"
  QString longDate;    // "Long Date", dddddd
  QString shortTime;   // "Short Time"
  QString mediumTime;  // "Medium Time"
  QString longTime;    // "Long Time", ttttt

  std::array<QString, 12> monthNames;  // January first
  std::array<QString, 12> monthAbbreviations;
  std::array<QString, 7> dayNames;  // Sunday first
  std::array<QString, 7> dayAbbreviations;

  QString yes, no;              // "Yes/No"
  QString trueText, falseText;  // "True/False" and a Boolean's plain text
  QString on, off;              // "On/Off"

  // The conventions every label is printed with.
  static const FormatConventions& Italian();
};

}  // namespace pv
