#include "document/hosts.h"
#include "platform/hostslot.h"

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

int FileDialogHost::ShowOpenDialog(const QString&, const QString&, QString&, const QString&) { return -1; }
int FileDialogHost::ShowSaveDialog(const QString&, const QString&, QString&, const QString&) { return -1; }

namespace {
HostSlot<CanvasHost>& CanvasSlot() { static HostSlot<CanvasHost> s; return s; }
HostSlot<EditorHost>& EditorSlot() { static HostSlot<EditorHost> s; return s; }
HostSlot<MainWindowHost>& MainSlot() { static HostSlot<MainWindowHost> s; return s; }
HostSlot<PrintPanelHost>& PrintSlot() { static HostSlot<PrintPanelHost> s; return s; }
HostSlot<FileDialogHost>& DialogSlot() { static HostSlot<FileDialogHost> s; return s; }
}  // namespace

CanvasHost& Canvas() { return CanvasSlot().Get(); }
EditorHost& Editor() { return EditorSlot().Get(); }
MainWindowHost& MainWindow() { return MainSlot().Get(); }
PrintPanelHost& PrintPanel() { return PrintSlot().Get(); }
FileDialogHost& FileDialogs() { return DialogSlot().Get(); }

CanvasHost* SetCanvasHost(CanvasHost* host) { return CanvasSlot().Set(host); }
EditorHost* SetEditorHost(EditorHost* host) { return EditorSlot().Set(host); }
MainWindowHost* SetMainWindowHost(MainWindowHost* host) { return MainSlot().Set(host); }
PrintPanelHost* SetPrintPanelHost(PrintPanelHost* host) { return PrintSlot().Set(host); }
FileDialogHost* SetFileDialogHost(FileDialogHost* host) { return DialogSlot().Set(host); }

}  // namespace pv
