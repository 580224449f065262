#pragma once
// Pieces of Format() shared by its files: the pattern reader, the compiled
// sections of each pattern kind and the value conversions.

#include "platform/format_conventions.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pv::fmt {

// ---- reading patterns -------------------------------------------------------

// Splits a pattern at the ";" that are not quoted or escaped.
std::vector<QString> SplitSections(const QString& pattern);
// When pattern[i] opens a literal ("\x" or "quoted text"), appends its text to
// *out, moves i past it and returns true.
bool ReadQuoted(const QString& pattern, qsizetype& i, QString* out);

// ---- numbers ----------------------------------------------------------------

// A number as decimal digits: value = 0.digits x 10^exponent, digits without
// leading or trailing zeros (empty for zero).
struct Decimal {
  std::string digits;
  int exponent = 0;
  bool negative = false;
  bool IsZero() const { return digits.empty(); }
};
Decimal DecimalFromDouble(double v, int significant = 15);
Decimal DecimalFromInteger(std::int64_t v);
// The digits of an exact decimal's canonical text (exactdecimal.h).
Decimal DecimalFromExact(const QString& canonical);
// Rounds half away from zero to `keep` digits counted from the front.
void RoundDigits(Decimal& d, int keep);

struct NumberToken {
  enum Kind { Literal, Zero, Hash } kind = Literal;
  QString text;
};

struct NumberSection {
  bool empty = true;          // nothing between its semicolons
  bool placeholders = false;  // any 0 or # (or a % that shows the number)
  std::vector<NumberToken> integerPart;
  bool point = false;
  std::vector<NumberToken> fractionPart;
  bool scientific = false;
  bool exponentAlwaysSigned = false;  // E+ rather than E-
  QString exponentLetter;
  int exponentMinDigits = 0;
  std::vector<NumberToken> afterExponent;
  bool grouping = false;
  int thousandsScale = 0;  // trailing commas, each divides by 1000
  int percents = 0;        // each multiplies by 100
  int fractionDigits = 0;
  int integerPlaceholders = 0;
  int minIntegerDigits = 0;
};

NumberSection CompileNumberSection(const QString& section);
// Writes |value| by the section; *shownDigits tells whether a digit other
// than zero came out (so a lone "-" is not put before a zero).
QString RenderNumber(const NumberSection& s, Decimal value, const FormatConventions& c, bool* shownDigits);

// ---- dates and times --------------------------------------------------------

struct DateToken {
  enum Kind {
    Literal,
    Day,
    Day2,
    DayAbbr,
    DayName,
    Weekday,
    Week,
    Month,
    Month2,
    MonthAbbr,
    MonthName,
    Quarter,
    DayOfYear,
    Year2,
    Year4,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    AmPm,
    GeneralDate
  } kind = Literal;
  QString text;  // literal text, or the AM and PM texts as "AM" + "PM"
  QString am, pm;
};

struct DateSection {
  std::vector<DateToken> tokens;
  bool twelveHour = false;
};

DateSection CompileDateSection(const QString& section, const FormatConventions& c);
QString RenderDate(const DateSection& s, const QDateTime& value, const FormatConventions& c);

// The first day of the serial date numbers (day 0).
QDate SerialEpoch();
double SerialFromDateTime(const QDateTime& v);
// Empty when the serial number lies outside the years 100 to 9999.
std::optional<QDateTime> DateTimeFromSerial(double serial);

// ---- text -------------------------------------------------------------------

struct TextSection {
  struct Token {
    enum Kind { Literal, At, Ampersand } kind = Literal;
    QString text;
  };
  std::vector<Token> tokens;
  int placeholders = 0;
  enum Case { AsIs, Lower, Upper } letterCase = AsIs;
  bool leftToRight = false;
};

TextSection CompileTextSection(const QString& section);
QString RenderText(const TextSection& s, const QString& text);

// ---- values -----------------------------------------------------------------

// What a value is for formatting.
struct Value {
  enum Kind { Null, Number, Date, Text } kind = Null;
  Decimal number;      // Number (and Boolean as -1 / 0)
  bool exact = false;  // every digit is the value's own: an integer or an exact decimal
  double real = 0;     // Number, for the date conversion
  QDateTime date;      // Date
  QString text;        // Text; also the plain text of a Boolean
  bool boolean = false;
};

Value Classify(const QVariant& v, const FormatConventions& c);
// A text read as a number: "12.5", "-3", "1e5", "1.234,5" (Italian). Empty
// when the text is not a number. ExactNumberFromText reads the same texts
// digit for digit (those without an exponent), for the number patterns.
std::optional<double> NumberFromText(const QString& text);
std::optional<Decimal> ExactNumberFromText(const QString& text);
// A text read as a date: dd/mm/yyyy or yyyy-mm-dd, each with an optional
// time hh:mm[:ss], or a time alone.
std::optional<QDateTime> DateFromText(const QString& text);
// The plain ("General") text of each kind.
// Exact numbers (integers, exact decimals, numbers written in text) print
// all their digits; doubles switch to scientific notation beyond 15 integer
// digits or below 1E-04.
QString GeneralNumber(const Decimal& d, bool exact, const FormatConventions& c);
QString GeneralDate(const QDateTime& v, const FormatConventions& c);
QString GeneralText(const Value& v, const FormatConventions& c);

}  // namespace pv::fmt
