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

int FileDialogHost::ShowOpenDialog(const QString&, const QString&, QString&, const QString&) { return -1; }
int FileDialogHost::ShowSaveDialog(const QString&, const QString&, QString&, const QString&) { return -1; }

namespace {
template <class T>
struct Slot {
  T fallback;
  T* current = nullptr;
  T& get() { return current ? *current : fallback; }
  T* set(T* host) {
    T* previous = current;
    current = host;
    return previous;
  }
};
Slot<CanvasHost>& CanvasSlot() { static Slot<CanvasHost> s; return s; }
Slot<EditorHost>& EditorSlot() { static Slot<EditorHost> s; return s; }
Slot<MainWindowHost>& MainSlot() { static Slot<MainWindowHost> s; return s; }
Slot<PrintPanelHost>& PrintSlot() { static Slot<PrintPanelHost> s; return s; }
Slot<FileDialogHost>& DialogSlot() { static Slot<FileDialogHost> s; return s; }
}  // namespace

CanvasHost& Canvas() { return CanvasSlot().get(); }
EditorHost& Editor() { return EditorSlot().get(); }
MainWindowHost& MainWindow() { return MainSlot().get(); }
PrintPanelHost& PrintPanel() { return PrintSlot().get(); }
FileDialogHost& FileDialogs() { return DialogSlot().get(); }

CanvasHost* SetCanvasHost(CanvasHost* host) { return CanvasSlot().set(host); }
EditorHost* SetEditorHost(EditorHost* host) { return EditorSlot().set(host); }
MainWindowHost* SetMainWindowHost(MainWindowHost* host) { return MainSlot().set(host); }
PrintPanelHost* SetPrintPanelHost(PrintPanelHost* host) { return PrintSlot().set(host); }
FileDialogHost* SetFileDialogHost(FileDialogHost* host) { return DialogSlot().set(host); }

}  // namespace pv
