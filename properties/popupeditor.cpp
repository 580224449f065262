#include "properties/popupeditor.h"

namespace pv {

PV_DEFINE_HOST_SLOT(PopUpEditor, Headless)
PV_DEFINE_HOST_ACCESSORS(PopUpEditor, PopUpEditorHost, SetPopUpEditor)

void PopUpEditor::SavedDoc() {}
void PopUpEditor::Apply(int, const QVariant&, int, bool) {}
void PopUpEditor::SetShowPop(int, bool) {}
void PopUpEditor::SetMousePointer(int) {}

}  // namespace pv
