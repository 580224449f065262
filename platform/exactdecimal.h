#pragma once
// An exact decimal number: a value of a data source that no double holds
// digit for digit (a NUMERIC(18,3) of a server, an Access currency, a wide
// dBASE number, a Paradox BCD). It keeps its canonical text: an optional
// "-", the integer digits without leading zeros ("0" when there are none),
// and a "." with the fraction digits when the fraction is not zero, without
// trailing zeros; zero is "0", never "-0". "0012.500" and "12.5" are the
// same number, kept as "12.5".
//
// In a QVariant it converts to QString (its canonical text) and to double
// (the nearest one): whoever asks for text gets every digit, and only code
// that asks for a double gets one.
#include <QMetaType>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace pv {

class ExactDecimal {
 public:
  ExactDecimal() : m_text(QStringLiteral("0")) {}

  // The number a text writes: blanks around it, an optional sign, digits
  // with at most one "." among or around them, and an optional exponent
  // ("1.5E+3"). Empty when it is not such a number.
  static std::optional<ExactDecimal> FromText(QStringView text);
  // A count of units of 10^-scale: 123456 with scale 4 is 12.3456.
  static ExactDecimal FromScaled(std::int64_t units, int scale);
  // The decimal a double stands for when it was read from at most 15
  // significant digits (what the double's 15-digit text gives back).
  static ExactDecimal FromDouble(double value);

  const QString& Text() const { return m_text; }
  double ToDouble() const;
  // The value as a 64-bit integer when it is whole and fits.
  std::optional<std::int64_t> ToInt64() const;
  bool IsNegative() const { return m_text.startsWith(QLatin1Char('-')); }
  // The count of significant digits (leading and trailing zeros left out).
  int SignificantDigits() const;
  // Whether a double keeps this value: FromDouble(ToDouble()) is itself.
  bool FitsDouble() const { return SignificantDigits() <= 15; }

  friend bool operator==(const ExactDecimal& a, const ExactDecimal& b) { return a.m_text == b.m_text; }
  friend bool operator!=(const ExactDecimal& a, const ExactDecimal& b) { return a.m_text != b.m_text; }
  friend bool operator<(const ExactDecimal& a, const ExactDecimal& b) { return Compare(a, b) < 0; }
  // <0, 0, >0 by value.
  static int Compare(const ExactDecimal& a, const ExactDecimal& b);

  // A key whose bytes order as the numbers do (memcmp, shorter first), for
  // a database that sorts blobs.
  QByteArray SortKey() const;

  // The QMetaType id of the type (registered with its conversions).
  static int MetaTypeId();

 private:
  explicit ExactDecimal(QString canonical) : m_text(std::move(canonical)) {}
  QString m_text;
};

// Whether a value is an ExactDecimal; the decimal it holds.
bool IsExactDecimal(const QVariant& value);
const ExactDecimal* AsExactDecimal(const QVariant& value);

}  // namespace pv

Q_DECLARE_METATYPE(pv::ExactDecimal)
