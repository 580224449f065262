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
PV_DEFINE_HOST_SLOT(EditorHost, Headless)
PV_DEFINE_HOST_SLOT(MainWindowHost, Headless)
PV_DEFINE_HOST_SLOT(PrintPanelHost, Headless)

CanvasHost& Canvas() { return Slot<CanvasHost>().Get(); }
EditorHost& Editor() { return Slot<EditorHost>().Get(); }
MainWindowHost& MainWindow() { return Slot<MainWindowHost>().Get(); }
PrintPanelHost& PrintPanel() { return Slot<PrintPanelHost>().Get(); }

CanvasHost* SetCanvasHost(CanvasHost* host) { return Slot<CanvasHost>().Set(host); }
EditorHost* SetEditorHost(EditorHost* host) { return Slot<EditorHost>().Set(host); }
MainWindowHost* SetMainWindowHost(MainWindowHost* host) { return Slot<MainWindowHost>().Set(host); }
PrintPanelHost* SetPrintPanelHost(PrintPanelHost* host) { return Slot<PrintPanelHost>().Set(host); }

}  // namespace pv
