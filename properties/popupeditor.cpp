#include "properties/popupeditor.h"

#include "app/window/mainwnd.h"
#include "app/window/views.h"

namespace pv {

PV_DEFINE_HOST_SLOT(PopUpEditor, Headless)
PV_DEFINE_HOST_ACCESSORS(PopUpEditor, PopUpEditorHost, SetPopUpEditor)

namespace {
EditCardView* Editor() {
  MainWnd* w = MainWndInstance();
  return w != nullptr ? w->EditCard() : nullptr;
}
}  // namespace

void PopUpEditor::SavedDoc() {
  if (EditCardView* e = Editor()) e->SavedDoc();
}

void PopUpEditor::Apply(int iCode, const QVariant& sValue, int bDefault, bool bRefresh) {
  if (EditCardView* e = Editor()) e->Apply(iCode, sValue, bDefault, bRefresh);
}

void PopUpEditor::SetShowPop(int index, bool bMode) {
  if (EditCardView* e = Editor()) e->SetShowPop(index, bMode);
}

void PopUpEditor::SetMousePointer(int pointer) {
  if (MainWnd* w = MainWndInstance()) w->SetMousePointer(pointer);
}

}  // namespace pv
