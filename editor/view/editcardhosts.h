#pragma once
// What the label editor view calls around it besides the editor's logic: the
// main window (status bar coordinates, the edit context menu), the floating
// property windows and the drawing of label content. Each is an interface
// with a settable process-wide instance; the defaults let the view run before
// those parts are wired (the main window's members when it exists, windows
// that are never loaded, the object drawing). Setters take no
// ownership and return the previous instance; nullptr puts the default back.
#include "platform/dc.h"

#include <QVariant>

#include <array>
#include <cstdint>

class QWidget;

namespace pv {

class EditCardWindow {
 public:
  virtual ~EditCardWindow() = default;
  // The pointer's position for the status bar. Default: the main window's
  // SetStatusCoord, when the main window exists.
  virtual void SetStatusCoord(float X, float Y);
  // Pops the edit context menu up at the pointer. Default: the main
  // window's popup_edit, when the main window exists.
  virtual void PopupEditMenu();
};

// The floating property windows by window index (0 popFont, 1 popText,
// 3 popLinee, 4 popFill, 5 popArtText).
class PropertyWindows {
 public:
  virtual ~PropertyWindows() = default;
  // Loads the window (not yet shown); a loaded window sets its flag.
  // Default: nothing (there is no window to load).
  virtual void Load(int index, QWidget* owner);
  // Shows the loaded window modeless, owned by `owner`. Default: nothing.
  virtual void Show(int index, QWidget* owner);
  // Unloads the window (which clears its flag). Default: nothing.
  virtual void Unload(int index);
  // Whether the window is loaded. Default: its PopUpLoaded flag.
  virtual bool Loaded(int index) const;
  // The windows' fillers (each window's own Apply). Defaults: nothing.
  virtual void FontApply(int iCode, const QVariant& sValue);
  virtual void TextApply(int iCode, const QVariant& sValue);
  virtual void LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                          std::int16_t iMode);
  virtual void FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                         std::int16_t Transparence);
};

// The drawing of the canvas's DrawObject and DrawPage events. Default: the
// object drawing (render/labelobjects.h, render/pictures.h).
class EditCardDrawing {
 public:
  virtual ~EditCardDrawing() = default;
  virtual void DrawObject(DcHandle hdc, const std::array<std::int32_t, 13>& X,
                          const std::array<std::int32_t, 13>& Y, std::int32_t x1, std::int32_t y1,
                          std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                          std::int16_t UserType);
  virtual void DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
};

EditCardWindow& EditorWindow();
PropertyWindows& PropertyWindowSet();
EditCardDrawing& EditorDrawing();

EditCardWindow* SetEditCardWindow(EditCardWindow* window);
PropertyWindows* SetPropertyWindows(PropertyWindows* windows);
EditCardDrawing* SetEditCardDrawing(EditCardDrawing* drawing);

}  // namespace pv
