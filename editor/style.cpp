#include "editor/style.h"

#include "document/model.h"

namespace pv {

namespace {
constexpr std::int32_t RgbLong(int r, int g, int b) { return r | (g << 8) | (b << 16); }
}  // namespace

DefaultStyleRecord StartDefaultStyle() {
  DefaultStyleRecord s;
  s.FontName = FixedString(QStringLiteral("Arial"), StyleFontNameLength);
  s.FontSize = 12;
  s.Alignment = 20;
  s.LineStyle = 2;
  s.LineColor = RgbLong(0, 0, 0);
  s.FillStyle = 1;
  s.Color1 = RgbLong(255, 255, 255);
  s.Color2 = RgbLong(50, 50, 50);
  s.Opacity = 100;
  return s;
}

DefaultStyleRecord DefaultStyle = StartDefaultStyle();

void ResetDefaultStyle() { DefaultStyle = StartDefaultStyle(); }

}  // namespace pv
