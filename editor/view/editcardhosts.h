#pragma once
// What the label editor view calls around it besides the editor's logic and
// the main window (which it reaches through its signals): the floating
// property windows and the drawing of label content; and the editor's answer
// to start-up's style reset. Each is an interface
// with a process-wide slot (platform/hostslot.h) that the composition root
// fills. Setters take no ownership and return the previous instance; nullptr
// puts the default back.
#include "core/hosts.h"
#include "platform/dc.h"
#include "platform/hostslot.h"

#include <QVariant>

#include <array>
#include <cstdint>

class QWidget;

namespace pv {

// The floating property windows by window index (0 popFont, 1 popText,
// 3 popLinee, 4 popFill, 5 popArtText). The base class is the editor without
// those windows: none is ever loaded.
class PropertyWindows {
 public:
  virtual ~PropertyWindows() = default;
  // Loads the window (not yet shown); a loaded window sets its flag.
  virtual void Load(int index, QWidget* owner);
  // Shows the loaded window modeless, owned by `owner`.
  virtual void Show(int index, QWidget* owner);
  // Unloads the window (which clears its flag).
  virtual void Unload(int index);
  // Whether the window is loaded (the installed set answers from the
  // windows' own loaded flags).
  virtual bool Loaded(int index) const;
  // The windows' fillers (each window's own Apply).
  virtual void FontApply(int iCode, const QVariant& sValue);
  virtual void TextApply(int iCode, const QVariant& sValue);
  virtual void LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                          std::int16_t iMode);
  virtual void FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                         std::int16_t Transparence);
};

// The drawing of the canvas's DrawObject and DrawPage events: the object
// drawing (render/labelobjects.h, render/pictures.h).
class EditCardDrawing {
 public:
  virtual ~EditCardDrawing() = default;
  virtual void DrawObject(DcHandle hdc, const std::array<std::int32_t, 13>& X, const std::array<std::int32_t, 13>& Y,
                          std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle,
                          std::int32_t lKey, std::int16_t UserType);
  virtual void DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
};

// Start-up's reset of the current style: the editor's DefaultStyle.
class EditorStyleHost : public ShellStyleHost {
 public:
  void ResetDefaultStyle() override;
};

PV_DECLARE_HOST_SLOT(PropertyWindows)
PV_DECLARE_HOST_SLOT(EditCardDrawing)

PropertyWindows& PropertyWindowSet();
EditCardDrawing& EditorDrawing();

PropertyWindows* SetPropertyWindows(PropertyWindows* windows);
EditCardDrawing* SetEditCardDrawing(EditCardDrawing* drawing);

}  // namespace pv
