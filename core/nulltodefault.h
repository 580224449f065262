#pragma once
// A value or its default, without widgets (the print run reads merge values
// through it too).

#include <QString>
#include <QVariant>

namespace pv {

// `defaultValue` when `value` is Null or only blanks, else its text without
// the blanks at both ends.
QString NullToDefault(const QVariant& value, const QString& defaultValue);

}  // namespace pv
