#include "editor/canvasport.h"

#include "document/canvas/drageditor.h"

namespace pv {

void DragEditorPort::SetTool(std::int16_t intTool, std::int16_t UserType) { m_editor.SetTool(intTool, UserType); }
void DragEditorPort::SelectAll() { m_editor.SelectAll(); }
void DragEditorPort::Undo() { m_editor.Undo(); }
void DragEditorPort::Redo() { m_editor.Redo(); }
void DragEditorPort::SavedDoc() { m_editor.SavedDoc(); }
void DragEditorPort::SetZoom(bool bMode) { m_editor.SetZoom(bMode); }
void DragEditorPort::DelObjects() { m_editor.DelObjects(); }
void DragEditorPort::DelObject(std::int32_t Key, bool bDraw) { m_editor.DelObject(Key, bDraw); }
void DragEditorPort::SetAlign(std::int16_t mode, bool refresh) { m_editor.SetAlign(mode, refresh); }
void DragEditorPort::MoveFront() { m_editor.MoveFront(); }
void DragEditorPort::MoveBack() { m_editor.MoveBack(); }
void DragEditorPort::MoveUp() { m_editor.MoveUp(); }
void DragEditorPort::MoveDown() { m_editor.MoveDown(); }
void DragEditorPort::RotateObject(float dAngle) { m_editor.RotateObject(dAngle); }
std::int32_t DragEditorPort::SelCount() { return m_editor.SelCount(); }
std::int32_t DragEditorPort::GetFirstObject(bool bMode) { return m_editor.GetFirstObject(bMode); }
std::int32_t DragEditorPort::GetNextObject(bool bMode) { return m_editor.GetNextObject(bMode); }
void DragEditorPort::Refresh(bool bMode) { m_editor.Refresh(bMode); }
void DragEditorPort::RefreshSelection() {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  m_editor.GetSelectionBounds(left, top, right, bottom, true);
  m_editor.RedrawArea(left, top, right, bottom);
}
void DragEditorPort::SetNewKey(std::int32_t& lKey) { m_editor.SetNewKey(lKey); }
void DragEditorPort::SetGrid(float Dx, float Dy, bool blnRefresh) { m_editor.SetGrid(Dx, Dy, blnRefresh); }
void DragEditorPort::SetShowRule(bool v) { m_editor.SetShowRule(v); }
void DragEditorPort::SetShowGrid(bool v) { m_editor.SetShowGrid(v); }
void DragEditorPort::SetSnap(bool v) { m_editor.SetSnap(v); }
void DragEditorPort::SetShowPage(bool v) { m_editor.SetShowPage(v); }
void DragEditorPort::SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh) {
  m_editor.SetWorkArea(AreaWidth, AreaHeight, blnRefresh);
}
void DragEditorPort::SetPage(double PageWidth, double PageHeight, bool blnRefresh) {
  m_editor.SetPage(PageWidth, PageHeight, blnRefresh);
}

}  // namespace pv
