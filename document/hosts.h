#pragma once
// What the document calls on the components around it: the canvas (painting
// and the events it raises to the editor), the editor, the main window and
// the print panel. Each is an interface with a process-wide slot
// (platform/hostslot.h) that the composition root fills; the defaults do
// nothing (or the plain table work): that is the document without a window.
// Setters take no ownership and return the previous instance; nullptr puts
// the default back.
#include "platform/hostslot.h"

#include <QString>
#include <cstdint>

namespace pv {

struct ObjectRecord;

class CanvasHost {
 public:
  virtual ~CanvasHost() = default;
  // Repaints the drawing surface; with bMode also both rulers.
  virtual void Refresh(bool bMode);
  // Draws one object at once (mode 100: the object itself); hidden objects
  // are skipped by the canvas.
  virtual void DrawObjectItem(const ObjectRecord& record, std::int16_t mode);
  // Deselects every object, repaints what the handles covered and raises
  // SelectionStop. Default: DeselectAllObjects(), then SelectionStop().
  virtual void SelStop();
  // Events raised to the editor.
  virtual void DeleteObject(std::int32_t lKey, std::int16_t UserType);
  virtual void UpdateObjects();
  virtual void SavedDocument();
  virtual void SelectionStop();
};

class EditorHost {
 public:
  virtual ~EditorHost() = default;
  // Pushes grid, view flags and the label size into the canvas.
  virtual void SetParameter();
  // Empties the canvas. Default: Purge().
  virtual void Reset();
  // Called after a document was read. Default: nothing.
  virtual void LoadData();
  // Commits the canvas geometry into the records. Default: pv::SaveData().
  virtual void SaveData();
};

class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;
  virtual void SetStatusBar();
  // The whole caption text (application title, " - ", name).
  virtual void SetCaption(const QString& caption);
};

class PrintPanelHost {
 public:
  virtual ~PrintPanelHost() = default;
  // Reloads the print format of Header.LabelFormatCode.
  virtual void ResetPrinterInformation();
};

PV_DECLARE_HOST_SLOT(CanvasHost)
PV_DECLARE_HOST_SLOT(EditorHost)
PV_DECLARE_HOST_SLOT(MainWindowHost)
PV_DECLARE_HOST_SLOT(PrintPanelHost)

CanvasHost& Canvas();
EditorHost& Editor();
MainWindowHost& MainWindow();
PrintPanelHost& PrintPanel();

CanvasHost* SetCanvasHost(CanvasHost* host);
EditorHost* SetEditorHost(EditorHost* host);
MainWindowHost* SetMainWindowHost(MainWindowHost* host);
PrintPanelHost* SetPrintPanelHost(PrintPanelHost* host);

}  // namespace pv
