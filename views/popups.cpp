#include "views/popups.h"

#include <QPointer>

namespace pv {

std::array<VbBool, PopUpCount> PopUpLoaded{};

namespace {
std::array<QPointer<QWidget>, PopUpCount>& Windows() {
  static std::array<QPointer<QWidget>, PopUpCount> windows;
  return windows;
}
}  // namespace

bool IsPopUpIndex(int index) {
  return index == PopFont || index == PopText || index == PopLinee || index == PopFill || index == PopArtText;
}

void PopUpLoadedBy(int index, QWidget* window) {
  if (!IsPopUpIndex(index)) return;
  Windows()[static_cast<std::size_t>(index)] = window;
  PopUpLoaded[static_cast<std::size_t>(index)] = VbTrue;
}

void PopUpUnloaded(int index) {
  if (index < 0 || index >= PopUpCount) return;
  Windows()[static_cast<std::size_t>(index)] = nullptr;
  PopUpLoaded[static_cast<std::size_t>(index)] = VbFalse;
}

QWidget* PopUpWindow(int index) {
  if (index < 0 || index >= PopUpCount) return nullptr;
  return Windows()[static_cast<std::size_t>(index)].data();
}

}  // namespace pv
