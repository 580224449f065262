#pragma once
// Format(): a value turned into text by a pattern, as labels print merge
// fields. The pattern language is the one stored in field formatting codes:
//
// Numbers   0 # . , % E+ E- e+ e-, literals as \x or "text"; up to four
//           sections "positive;negative;zero;Null". Halves round away from
//           zero. Named: General Number, Currency, Fixed, Standard, Percent,
//           Scientific, Yes/No, True/False, On/Off.
// Dates     d dd ddd dddd ddddd dddddd, w ww, m mm mmm mmmm, q, y yy yyyy,
//           h hh, n nn, s ss, ttttt, AM/PM am/pm A/P a/p, c, / and :. An m
//           right after an hour is the minute. Weeks start on Sunday and the
//           first week holds 1 January. Named: General Date, Long Date,
//           Medium Date, Short Date, Long Time, Medium Time, Short Time.
// Text      @ & < > !, with a second section for Null and empty text.
//
// Names, separators and layouts come from FormatConventions::Italian(), so a
// label prints the same on every machine. Numbers and dates stand for each
// other by serial date numbers; text that reads as a number or a date takes
// number and date patterns. A value a pattern cannot take comes back as its
// plain text. An empty pattern gives the plain text. A date too far out for
// a QDateTime (about 290 million years either way) formats as an invalid date
// does, as Null. Format never throws.

#include <QString>
#include <QVariant>

#include <memory>

namespace pv {

class CompiledFormat {
 public:
  explicit CompiledFormat(const QString& pattern);
  ~CompiledFormat();
  CompiledFormat(const CompiledFormat&) = delete;
  CompiledFormat& operator=(const CompiledFormat&) = delete;

  // The compiled form of a pattern, read once and kept for the next calls.
  static std::shared_ptr<const CompiledFormat> Of(const QString& pattern);

  QString Apply(const QVariant& value) const;
  const QString& Pattern() const { return m_pattern; }

 private:
  struct Parts;
  QString m_pattern;
  std::unique_ptr<const Parts> m_parts;
};

QString Format(const QVariant& value, const QString& pattern);

}  // namespace pv
