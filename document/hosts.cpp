#include "document/hosts.h"

#include "document/clipboard.h"
#include "document/objectstore.h"

namespace pv {

void CanvasHost::Refresh(bool) {}
void CanvasHost::DrawObjectItem(const ObjectRecord&, std::int16_t) {}
void CanvasHost::SelStop() {
  DeselectAllObjects();
  SelectionStop();
}
void CanvasHost::DeleteObject(std::int32_t, std::int16_t) {}
void CanvasHost::UpdateObjects() {}
void CanvasHost::SavedDocument() {}
void CanvasHost::SelectionStop() {}

void EditorHost::SetParameter() {}
void EditorHost::Reset() { Purge(); }
void EditorHost::LoadData() {}
void EditorHost::SaveData() { pv::SaveData(); }

void MainWindowHost::SetStatusBar() {}
void MainWindowHost::SetCaption(const QString&) {}

void PrintPanelHost::ResetPrinterInformation() {}

PV_DEFINE_HOST_SLOT(CanvasHost, Headless)
PV_DEFINE_HOST_ACCESSORS(CanvasHost, Canvas, SetCanvasHost)
PV_DEFINE_HOST_SLOT(EditorHost, Headless)
PV_DEFINE_HOST_ACCESSORS(EditorHost, Editor, SetEditorHost)
PV_DEFINE_HOST_SLOT(MainWindowHost, Headless)
PV_DEFINE_HOST_ACCESSORS(MainWindowHost, MainWindow, SetMainWindowHost)
PV_DEFINE_HOST_SLOT(PrintPanelHost, Headless)
PV_DEFINE_HOST_ACCESSORS(PrintPanelHost, PrintPanel, SetPrintPanelHost)

}  // namespace pv
