#include "editor/view/editcardhosts.h"

#include "app/window/mainwnd.h"
#include "app/window/popups.h"
#include "render/labelobjects.h"
#include "render/pictures.h"

namespace pv {

// ---- Defaults ------------------------------------------------------------------

void EditCardWindow::SetStatusCoord(float X, float Y) {
  if (MainWnd* w = MainWndInstance()) w->SetStatusCoord(X, Y);
}

void EditCardWindow::PopupEditMenu() {
  if (MainWnd* w = MainWndInstance()) w->PopupMenu(w->popup_edit());
}

void PropertyWindows::Load(int, QWidget*) {}
void PropertyWindows::Show(int, QWidget*) {}
void PropertyWindows::Unload(int) {}
bool PropertyWindows::Loaded(int index) const {
  return IsPopUpIndex(index) && PopUpLoaded[static_cast<std::size_t>(index)] != VbFalse;
}
void PropertyWindows::FontApply(int, const QVariant&) {}
void PropertyWindows::TextApply(int, const QVariant&) {}
void PropertyWindows::LineeApply(std::int32_t, const QVariant&, std::int32_t, std::int16_t) {}
void PropertyWindows::FillApply(std::int32_t, std::int32_t, std::int32_t, std::int16_t) {}

void EditCardDrawing::DrawObject(DcHandle hdc, const std::array<std::int32_t, 13>& X,
                                 const std::array<std::int32_t, 13>& Y, std::int32_t x1, std::int32_t y1,
                                 std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                                 std::int16_t UserType) {
  DragEditor_DrawObject(hdc, X, Y, x1, y1, x2, y2, Angle, lKey, UserType);
}

void EditCardDrawing::DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                               std::int32_t y2) {
  DragEditor_DrawPage(hdc, x1, y1, x2, y2);
}

// ---- Instances -------------------------------------------------------------------

namespace {
template <typename T>
struct Slot {
  T* current = nullptr;
  T& get() {
    static T fallback;
    return current != nullptr ? *current : fallback;
  }
  T* set(T* next) {
    T* old = current;
    current = next;
    return old;
  }
};
Slot<EditCardWindow>& WindowSlot() {
  static Slot<EditCardWindow> s;
  return s;
}
Slot<PropertyWindows>& PopSlot() {
  static Slot<PropertyWindows> s;
  return s;
}
Slot<EditCardDrawing>& DrawingSlot() {
  static Slot<EditCardDrawing> s;
  return s;
}
}  // namespace

EditCardWindow& EditorWindow() { return WindowSlot().get(); }
PropertyWindows& PropertyWindowSet() { return PopSlot().get(); }
EditCardDrawing& EditorDrawing() { return DrawingSlot().get(); }

EditCardWindow* SetEditCardWindow(EditCardWindow* window) { return WindowSlot().set(window); }
PropertyWindows* SetPropertyWindows(PropertyWindows* windows) { return PopSlot().set(windows); }
EditCardDrawing* SetEditCardDrawing(EditCardDrawing* drawing) { return DrawingSlot().set(drawing); }

}  // namespace pv
