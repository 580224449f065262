#pragma once
// The fill window's model (popFill): the fill kind, a grid of the kind's
// fills, two colours and an opacity; the editor fills it through Apply and
// "Applica" sends the fill style, the colours and the opacity that carry a
// "YES" mark.
//
// FillStyleCode: 0 transparent, 1 solid, 2-7 hatch 1-6, 8-26 brush 1-19,
// 27-139 texture 1-113, 140-145 one-colour gradient, 146-151 two-colour
// gradient (a preset gradient is 146 or 147 with its pair of colours).
#include "render/imagegrid.h"
#include "properties/marks.h"

#include <QString>

#include <array>
#include <cstdint>

class QWidget;

namespace pv {

// One fill kind of the kind list.
struct FillKindInfo {
  int caption;      // string number of its list entry
  int cells;        // grid cells
  int code;         // the code taken when the kind is chosen
  int swatches;     // 0 none, 1 the first, 2 both
  int swatchLabel;  // string number of the swatches' caption, 0 none
  bool slider;      // the opacity slider enabled (else set to 100)
  int layout;       // 0 with the grid, 1 and 2 without
};
inline constexpr int FillKindCount = 8;
const FillKindInfo& FillKindOf(int kind);

// The kind a stored code shows, -1 for a code outside 0-151 (compared whole,
// before any narrowing).
int FillKindOfCode(std::int64_t code);
// The code cell `index` (1-based) of a kind gives.
int FillCodeOfCell(int kind, int index);
// The gradient type of gradient item 1-6.
int GradientTypeOfItem(int item);
// The twelve preset colour pairs (1-12), 0x00BBGGRR.
struct ColourPair {
  std::int32_t first;
  std::int32_t second;
};
ColourPair GradientPreset(int pair);

// The window's layout for a mode, in pixels (twips at 15 to a pixel): where
// the Apply button and the Default box stand, and the window's height.
struct FillLayout {
  bool gridVisible;
  int buttonsTop;
  int height;
};
// False for a mode other than 0, 1 and 2 (nothing changes).
bool FillLayoutOf(int mode, FillLayout& layout);

class FillWindowModel : public ImageGridHost {
 public:
  FillWindowModel();
  ImageGridCore& Grid() { return m_grid; }

  // The editor's fill (one object's fill, or the current style's).
  void Apply(std::int32_t FillStyleCode, std::int32_t BackColor1In, std::int32_t Backcolor2In,
             std::int16_t TransparenceIn);
  // The user picks a kind from the list.
  void ChooseKind(int kind);

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  // Swatch n (0 first colour, 1 second): the colour dialog; a cancel
  // changes nothing.
  bool ClickColor(int n, QWidget* owner = nullptr);
  void MoveSlider(int value);
  void SetDefault(bool ticked) { Default = ticked; }

  // "Applica": SavedDoc; 500, 501, 502, 503 each when marked "YES", with the
  // Default box; then Apply(0, 0, 0, True).
  void Command1_Click();

  int FillKind = -1;  // none until the first Apply
  std::int32_t BackColor1 = 0;
  std::int32_t Backcolor2 = 0;
  std::int16_t FillStyle = 0;  // the pending code
  std::int16_t Transparence = 100;
  int Slider = 100;
  bool SliderEnabled = true;
  int LayoutMode = 0;
  bool Default = false;
  Mark FillMark = Mark::None;
  Mark Color1Mark = Mark::None;
  Mark Color2Mark = Mark::None;
  Mark OpacityMark = Mark::None;

 private:
  void KindChange(int kind, bool byUser);

  ImageGridCore m_grid;
};

}  // namespace pv
