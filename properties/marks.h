#pragma once
// What the property windows share: the mark a value control carries ("YES"
// holds a value for the next batch, "NO" holds none, never marked counts as
// not marked) and the editor's marker for a value the selection does not
// have in common.
#include <QString>
#include <QVariant>

namespace pv {

enum class Mark { None, Yes, No };

inline bool Marked(Mark m) { return m == Mark::Yes; }
inline QString MarkText(Mark m) {
  return m == Mark::Yes ? QStringLiteral("YES") : m == Mark::No ? QStringLiteral("NO") : QString();
}

// The value -20 that the editor passes for every code of a multiple selection
// (a number, never a text).
inline constexpr int MultipleSelectionValue = -20;
inline bool IsMultipleValue(const QVariant& v) {
  if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::Bool || !v.isValid()) return false;
  bool ok = false;
  const double d = v.toDouble(&ok);
  return ok && d == MultipleSelectionValue;
}

}  // namespace pv
