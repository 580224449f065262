#include "platform/decimalreader.h"

namespace pv {

std::optional<double> ReadDecimal(const QString& text) {
  const QString t = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
    negative = t[i] == QLatin1Char('-');
    ++i;
  }
  // Rebuilt in the C form, so that the conversion never depends on the
  // locale.
  QByteArray digits;
  bool separator = false;
  int count = 0;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      digits.append(char(c.unicode()));
      ++count;
    } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !separator) {
      separator = true;
      digits.append('.');
    } else {
      return std::nullopt;
    }
  }
  if (count == 0) return std::nullopt;
  bool ok = false;
  const double value = digits.toDouble(&ok);
  if (!ok) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace pv
