#pragma once
// The canvas as the editor's logic calls it: the tools, the selection and its
// iteration, undo, zoom, deletion, alignment, order, rotation, repainting and
// the set-up members. DragEditorPort puts it over the canvas core; tests may
// put a recorder around that.
#include "document/canvas/canvasstate.h"

#include <cstdint>

namespace pv {

class DragEditor;

class CanvasPort {
 public:
  virtual ~CanvasPort() = default;

  // Tools (100 select, 101 rotate, 200 box, 201 line) and the kind drawn.
  virtual void SetTool(std::int16_t intTool, std::int16_t UserType) = 0;
  // Every visible object selected, its handles drawn; no event.
  virtual void SelectAll() = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void SavedDoc() = 0;
  // One zoom step in (true) or out (false).
  virtual void SetZoom(bool bMode) = 0;
  virtual void DelObjects() = 0;
  virtual void DelObject(std::int32_t Key, bool bDraw) = 0;
  // Alignment and equal sizing of the selection (modes 1-9).
  virtual void SetAlign(std::int16_t mode, bool refresh) = 0;
  virtual void MoveFront() = 0;
  virtual void MoveBack() = 0;
  virtual void MoveUp() = 0;
  virtual void MoveDown() = 0;
  virtual void RotateObject(float dAngle) = 0;
  virtual std::int32_t SelCount() = 0;
  // Keys of the (selected, with bMode) objects in table order; -1 at the end.
  virtual std::int32_t GetFirstObject(bool bMode) = 0;
  virtual std::int32_t GetNextObject(bool bMode) = 0;
  // Repaints the drawing surface; with bMode also both rulers.
  virtual void Refresh(bool bMode) = 0;
  // Repaints only where the selected objects and their handles are; a port
  // without a cheaper way repaints the drawing surface.
  virtual void RefreshSelection() { Refresh(false); }
  virtual void SetNewKey(std::int32_t& lKey) = 0;

  // Set-up.
  virtual void SetGrid(float Dx, float Dy, bool blnRefresh) = 0;
  virtual void SetShowRule(bool v) = 0;
  virtual void SetShowGrid(bool v) = 0;
  virtual void SetSnap(bool v) = 0;
  virtual void SetShowPage(bool v) = 0;
  virtual void SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh) = 0;
  virtual void SetPage(double PageWidth, double PageHeight, bool blnRefresh) = 0;
};

// The port over the canvas core: each member calls the core's own.
class DragEditorPort : public CanvasPort {
 public:
  explicit DragEditorPort(DragEditor& editor) : m_editor(editor) {}
  DragEditor& Editor() { return m_editor; }

  void SetTool(std::int16_t intTool, std::int16_t UserType) override;
  void SelectAll() override;
  void Undo() override;
  void Redo() override;
  void SavedDoc() override;
  void SetZoom(bool bMode) override;
  void DelObjects() override;
  void DelObject(std::int32_t Key, bool bDraw) override;
  void SetAlign(std::int16_t mode, bool refresh) override;
  void MoveFront() override;
  void MoveBack() override;
  void MoveUp() override;
  void MoveDown() override;
  void RotateObject(float dAngle) override;
  std::int32_t SelCount() override;
  std::int32_t GetFirstObject(bool bMode) override;
  std::int32_t GetNextObject(bool bMode) override;
  void Refresh(bool bMode) override;
  void RefreshSelection() override;
  void SetNewKey(std::int32_t& lKey) override;
  void SetGrid(float Dx, float Dy, bool blnRefresh) override;
  void SetShowRule(bool v) override;
  void SetShowGrid(bool v) override;
  void SetSnap(bool v) override;
  void SetShowPage(bool v) override;
  void SetWorkArea(double AreaWidth, double AreaHeight, bool blnRefresh) override;
  void SetPage(double PageWidth, double PageHeight, bool blnRefresh) override;

 private:
  DragEditor& m_editor;
};

}  // namespace pv
