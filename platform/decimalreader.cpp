#include "platform/decimalreader.h"

#include <cmath>

namespace pv {

std::optional<double> ReadDecimal(const QString& text) {
  const QString t = text.trimmed();
  QString plain;
  plain.reserve(t.size());
  int i = 0;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) plain += t[i++];
  bool digits = false;
  bool separator = false;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c >= u'0' && c <= u'9') {
      digits = true;
      plain += c;
    } else if ((c == u'.' || c == u',') && !separator) {
      separator = true;
      plain += u'.';
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  bool ok = false;
  const double v = plain.toDouble(&ok);  // QString::toDouble reads the C locale
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v == 0 ? 0.0 : v;  // no negative zero
}

}  // namespace pv
