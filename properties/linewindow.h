#pragma once
// The line window's model (popLinee): the line colour, the line style (a
// grid of twelve previews) and the shape aspect of the selection, each with
// its mark; the editor fills it through Apply and "Applica" sends the values
// whose mark does not read "NO".
#include "render/imagegrid.h"
#include "properties/marks.h"

#include <QVariant>

#include <cstdint>

class QWidget;

namespace pv {

class LineWindowModel : public ImageGridHost {
 public:
  LineWindowModel();

  ImageGridCore& Grid() { return m_grid; }

  // The editor's fill: iMode 1 one object, -10 nothing, -20 several.
  void Apply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect, std::int16_t iMode);

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  // The colour dialog from the swatch's colour; a cancel changes nothing.
  bool ClickColor(QWidget* owner = nullptr);
  // The user moved the slider.
  void MoveSlider(int value);
  void SetDefault(bool ticked) { Default = ticked; }

  // "Applica": SavedDoc; 401, 402, 403 unless their mark reads "NO"; then
  // Apply(0, 0, 0, True).
  void Command1_Click();

  // The slider's place for an aspect (its range is 1 to 10).
  static int SliderPlace(std::int32_t aspect);

  std::int32_t LineColor = 0;
  std::int16_t LineStyle = 0;
  std::int16_t Aspect = 0;
  int Slider = 1;
  bool SliderEnabled = false;
  bool Default = false;
  Mark ColorMark = Mark::None;
  Mark StyleMark = Mark::None;
  Mark AspectMark = Mark::None;

 private:
  ImageGridCore m_grid;
};

inline constexpr int LineSliderMin = 1;
inline constexpr int LineSliderMax = 10;

// A value of a stored 32-bit field narrowed to an Integer: clamped to
// -32768..32767, never wrapped.
std::int16_t ClampToInteger(std::int64_t value);
// Half way between two pixel coordinates, halves to the even number.
std::int32_t MidPixel(std::int32_t a, std::int32_t b);
// The black frame of a preview cell on (X1, Y1)-(X2, Y2), both corners
// included.
void DrawCellFrame(ImageSurface& Pic, std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);

}  // namespace pv
