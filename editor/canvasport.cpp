#include "editor/canvasport.h"

#include "document/canvas/drageditor.h"
#include "document/model.h"

namespace pv {

namespace {

// Until the canvas core selects everything itself: the table side, then a
// repaint that shows the handles.
template <class Canvas>
void CallSelectAll(Canvas& canvas) {
  if constexpr (requires { canvas.SelectAll(); }) {
    canvas.SelectAll();
  } else {
    for (std::int32_t i = 1; i <= ObjCount; ++i) {
      if (Objects[i].IsHidden == 0) Objects[i].IsSelected = -1;
    }
    canvas.Refresh(false);
  }
}

template <class Canvas>
void CallSetAlign(Canvas& canvas, std::int16_t mode, bool refresh) {
  if constexpr (requires { canvas.SetAlign(mode, refresh); }) {
    canvas.SetAlign(mode, refresh);
  } else {
    (void)canvas;
    (void)mode;
    (void)refresh;
  }
}

}  // namespace

void DragEditorPort::SetTool(std::int16_t intTool, std::int16_t UserType) {
  editor_.SetTool(intTool, UserType);
}
void DragEditorPort::SelectAll() { CallSelectAll(editor_); }
void DragEditorPort::Undo() { editor_.Undo(); }
void DragEditorPort::Redo() { editor_.Redo(); }
void DragEditorPort::SavedDoc() { editor_.SavedDoc(); }
void DragEditorPort::SetZoom(bool bMode) { editor_.SetZoom(bMode); }
void DragEditorPort::DelObjects() { editor_.DelObjects(); }
void DragEditorPort::DelObject(std::int32_t Key, bool bDraw) { editor_.DelObject(Key, bDraw); }
void DragEditorPort::SetAlign(std::int16_t mode, bool refresh) { CallSetAlign(editor_, mode, refresh); }
void DragEditorPort::MoveFront() { editor_.MoveFront(); }
void DragEditorPort::MoveBack() { editor_.MoveBack(); }
void DragEditorPort::MoveUp() { editor_.MoveUp(); }
void DragEditorPort::MoveDown() { editor_.MoveDown(); }
void DragEditorPort::RotateObject(float dAngle) { editor_.RotateObject(dAngle); }
std::int32_t DragEditorPort::SelCount() { return editor_.SelCount(); }
std::int32_t DragEditorPort::GetFirstObject(bool bMode) { return editor_.GetFirstObject(bMode); }
std::int32_t DragEditorPort::GetNextObject(bool bMode) { return editor_.GetNextObject(bMode); }
void DragEditorPort::Refresh(bool bMode) { editor_.Refresh(bMode); }
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
