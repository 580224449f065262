#include "editor/view/editcardhosts.h"

#include "editor/style.h"
#include "render/labelobjects.h"
#include "render/pictures.h"

namespace pv {

void PropertyWindows::Load(int, QWidget*) {}
void PropertyWindows::Show(int, QWidget*) {}
void PropertyWindows::Unload(int) {}
bool PropertyWindows::Loaded(int) const { return false; }
void PropertyWindows::FontApply(int, const QVariant&) {}
void PropertyWindows::TextApply(int, const QVariant&) {}
void PropertyWindows::LineeApply(std::int32_t, const QVariant&, std::int32_t, std::int16_t) {}
void PropertyWindows::FillApply(std::int32_t, std::int32_t, std::int32_t, std::int16_t) {}

void EditCardDrawing::DrawObject(DcHandle hdc, const std::array<std::int32_t, 13>& X,
                                 const std::array<std::int32_t, 13>& Y, std::int32_t x1, std::int32_t y1,
                                 std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                                 std::int16_t UserType) {
  static const FieldCaptions captions;  // the canvas shows the fields' captions
  DragEditor_DrawObject(hdc, X, Y, x1, y1, x2, y2, Angle, lKey, UserType, DocBlock, captions);
}

void EditCardDrawing::DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  DragEditor_DrawPage(hdc, x1, y1, x2, y2);
}

void EditorStyleHost::ResetDefaultStyle() { pv::ResetDefaultStyle(); }

PV_DEFINE_HOST_SLOT(PropertyWindows, Wired)
PV_DEFINE_HOST_ACCESSORS(PropertyWindows, PropertyWindowSet, SetPropertyWindows)
PV_DEFINE_HOST_SLOT(EditCardDrawing, Wired)
PV_DEFINE_HOST_ACCESSORS(EditCardDrawing, EditorDrawing, SetEditCardDrawing)

}  // namespace pv
