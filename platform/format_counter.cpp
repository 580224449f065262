#include "platform/format_counter.h"

#include "platform/format.h"
#include "platform/runtime.h"

namespace pv {

namespace {

// A leading number read with every blank, tab and line break left out.
double LeadingNumber(QString text) {
  text.remove(QLatin1Char(' '));
  text.remove(QLatin1Char('\t'));
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  return Val(text);
}

// The number with a point, no blanks and a zero before a leading point.
QString DecimalText(double v) {
  QString s = Trim(StrDouble(v));
  if (s.startsWith(QLatin1Char('.'))) {
    s.prepend(QLatin1Char('0'));
  } else if (s.startsWith(QLatin1String("-."))) {
    s.insert(1, QLatin1Char('0'));
  }
  return s;
}

}  // namespace

QString CounterValue(const QString& pattern, std::int32_t labelIndex) {
  const qsizetype p1 = pattern.indexOf(QLatin1Char('#'));
  const qsizetype p2 = pattern.indexOf(QLatin1Char('+'));
  const qsizetype p3 = pattern.lastIndexOf(QLatin1Char('#'));
  if (p1 >= 0 && p2 >= 0 && p3 >= 0 && p1 < p2 && p2 <= p3) {
    const double start = LeadingNumber(pattern.mid(p1 + 1, p2 - p1 - 1));
    const double step = LeadingNumber(pattern.mid(p2 + 1, p3 - p2 - 1));
    return DecimalText(static_cast<double>(labelIndex) * step + start);
  }
  return Format(static_cast<qint64>(labelIndex) + 1, pattern);
}

}  // namespace pv
