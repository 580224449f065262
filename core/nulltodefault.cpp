#include "core/nulltodefault.h"

#include "platform/runtime.h"

namespace pv {

QString NullToDefault(const QVariant& value, const QString& defaultValue) {
  if (value.isNull() || !value.isValid()) return defaultValue;
  const QString t = Trim(value.toString());
  return t.isEmpty() ? defaultValue : t;
}

}  // namespace pv
