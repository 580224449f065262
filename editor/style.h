#pragma once
// The current style of the label editor: the values every new object starts
// with, changed by the property windows when their "Default" box is ticked.
// It lives for the whole run and is never stored in a file.
#include <QString>

#include <cstdint>

namespace pv {

inline constexpr int StyleFontNameLength = 32;  // FontName is a String*32

struct DefaultStyleRecord {
  QString FontName;  // 32 characters, blank-padded
  std::int16_t FontSize = 0;
  std::int16_t Italic = 0;  // Integer Booleans
  std::int16_t Bold = 0;
  std::int16_t Underline = 0;
  std::int16_t StrikeOut = 0;
  std::int16_t Alignment = 0;  // 20 left, 21 right, 22 centre, 23 justified
  std::int32_t LineStyle = 0;  // 1-12
  std::int32_t LineColor = 0;
  std::int32_t FillStyle = 0;  // FillStyleCode
  std::int32_t Color1 = 0;     // first fill colour, also the text colour
  std::int32_t Color2 = 0;
  std::int16_t Opacity = 0;  // 0-100

  bool operator==(const DefaultStyleRecord&) const = default;
};

// The start values: "Arial" 12, no style flags, left aligned, line style 2
// in black, solid fill in white with RGB(50,50,50) as second colour, fully
// opaque.
DefaultStyleRecord StartDefaultStyle();

// The style of the run; holds the start values from the beginning.
extern DefaultStyleRecord DefaultStyle;

// Puts the start values back (start-up does this once).
void ResetDefaultStyle();

}  // namespace pv
