#include "app/popupeditorhost.h"

#include "app/window/mainwnd.h"
#include "views/views.h"

namespace pv {

namespace {
EditCardView* Editor() {
  MainWnd* w = MainWndInstance();
  return w != nullptr ? w->EditCard() : nullptr;
}
}  // namespace

void MainWndPopUpEditor::SavedDoc() {
  if (EditCardView* e = Editor()) e->SavedDoc();
}

void MainWndPopUpEditor::Apply(int iCode, const QVariant& sValue, int bDefault, bool bRefresh) {
  if (EditCardView* e = Editor()) e->Apply(iCode, sValue, bDefault, bRefresh);
}

void MainWndPopUpEditor::SetShowPop(int index, bool bMode) {
  if (EditCardView* e = Editor()) e->SetShowPop(index, bMode);
}

void MainWndPopUpEditor::SetMousePointer(int pointer) {
  if (MainWnd* w = MainWndInstance()) w->SetMousePointer(pointer);
}

}  // namespace pv
