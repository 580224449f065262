#include "editor/canvasport.h"

#include "document/canvas/drageditor.h"

namespace pv {

void DragEditorPort::SetTool(std::int16_t intTool, std::int16_t UserType) { editor_.SetTool(intTool, UserType); }
void DragEditorPort::SelectAll() { editor_.SelectAll(); }
void DragEditorPort::Undo() { editor_.Undo(); }
void DragEditorPort::Redo() { editor_.Redo(); }
void DragEditorPort::SavedDoc() { editor_.SavedDoc(); }
void DragEditorPort::SetZoom(bool bMode) { editor_.SetZoom(bMode); }
void DragEditorPort::DelObjects() { editor_.DelObjects(); }
void DragEditorPort::DelObject(std::int32_t Key, bool bDraw) { editor_.DelObject(Key, bDraw); }
void DragEditorPort::SetAlign(std::int16_t mode, bool refresh) { editor_.SetAlign(mode, refresh); }
void DragEditorPort::MoveFront() { editor_.MoveFront(); }
void DragEditorPort::MoveBack() { editor_.MoveBack(); }
void DragEditorPort::MoveUp() { editor_.MoveUp(); }
void DragEditorPort::MoveDown() { editor_.MoveDown(); }
void DragEditorPort::RotateObject(float dAngle) { editor_.RotateObject(dAngle); }
std::int32_t DragEditorPort::SelCount() { return editor_.SelCount(); }
std::int32_t DragEditorPort::GetFirstObject(bool bMode) { return editor_.GetFirstObject(bMode); }
std::int32_t DragEditorPort::GetNextObject(bool bMode) { return editor_.GetNextObject(bMode); }
void DragEditorPort::Refresh(bool bMode) { editor_.Refresh(bMode); }
void DragEditorPort::RefreshSelection() {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  editor_.GetSelectionBounds(left, top, right, bottom, true);
  editor_.RedrawArea(left, top, right, bottom);
}
void DragEditorPort::SetNewKey(std::int32_t& lKey) { editor_.SetNewKey(lKey); }
void DragEditorPort::SetGrid(float Dx, float Dy, bool blnRefresh) { editor_.SetGrid(Dx, Dy, blnRefresh); }
void DragEditorPort::SetShowRule(bool v) { editor_.SetShowRule(v); }
void DragEditorPort::SetShowGrid(bool v) { editor_.SetShowGrid(v); }
void DragEditorPort::SetSnap(bool v) { editor_.SetSnap(v); }
void DragEditorPort::SetShowPage(bool v) { editor_.SetShowPage(v); }
void DragEditorPort::SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh) {
  editor_.SetWorkArea(AreaWidth, AreaHeight, blnRefresh);
}
void DragEditorPort::SetPage(double PageWidth, double PageHeight, bool blnRefresh) {
  editor_.SetPage(PageWidth, PageHeight, blnRefresh);
}

}  // namespace pv
