#pragma once
// The pictures of the editor view's buttons: the fourteen insert-palette
// buttons (by palette index) and the apply button, drawn in code.
#include <QIcon>

namespace pv {

inline constexpr int PaletteIconSize = 24;

QIcon PaletteIcon(int index);
QIcon ApplyIcon();

}  // namespace pv
