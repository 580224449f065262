#include "render/libraries.h"

#include "libs/pictor2/pictor2.h"
#include "libs/scriva2/scriva2.h"
#include "platform/colmo2/colmo2.h"
#include "platform/lineo2/lineo2.h"

namespace pv {

void RenderLibraries::ScrivaFontSize(std::int32_t size) { ::ScrivaFontSize(size); }
void RenderLibraries::ScrivaSetBold(std::int32_t flag) { ::ScrivaSetBold(flag); }
void RenderLibraries::ScrivaSetItalic(std::int32_t flag) { ::ScrivaSetItalic(flag); }
void RenderLibraries::ScrivaSetUnderline(std::int32_t flag) { ::ScrivaSetUnderline(flag); }
void RenderLibraries::ScrivaSetStrike(std::int32_t flag) { ::ScrivaSetStrike(flag); }
void RenderLibraries::ScrivaFontName(const char* faceName) { ::ScrivaFontName(faceName); }
void RenderLibraries::ScrivaSetForeColor(std::int32_t colour) { ::ScrivaSetForeColor(colour); }
void RenderLibraries::ScrivaSetBackColor(std::int32_t colour) { ::ScrivaSetBackColor(colour); }
void RenderLibraries::ScrivaSetFillParameter(std::int32_t param1, std::int32_t param2, std::int32_t inverse) {
  ::ScrivaSetFillParameter(param1, param2, inverse);
}
void RenderLibraries::ScrivaDraw(DeviceContext* dc, const char* text, Rect* rect, double angle,
                                 std::int32_t alignment) {
  ::ScrivaDraw(dc, text, rect, angle, alignment);
}
void RenderLibraries::ScrivaDrawEx(DeviceContext* dc, const char* text, Rect* rect, double angle,
                                   std::int32_t alignment, std::int32_t fillStyle, std::int32_t texture,
                                   std::int32_t opacity) {
  ::ScrivaDrawEx(dc, text, rect, angle, alignment, fillStyle, texture, opacity);
}

void RenderLibraries::LineoPen(DeviceContext* dc, std::int32_t style, Colour colour) { ::LineoPen(dc, style, colour); }
void RenderLibraries::LineoLine(DeviceContext* dc, const Point* p1, const Point* p2, double angle) {
  ::LineoLine(dc, p1, p2, angle);
}
void RenderLibraries::LineoRectangle(DeviceContext* dc, const Rect* rect, double angle, std::int32_t fillStyle,
                                     Colour colour1, Colour colour2, std::int32_t opacity) {
  ::LineoRectangle(dc, rect, angle, fillStyle, colour1, colour2, opacity);
}
void RenderLibraries::LineoEllipse(DeviceContext* dc, const Rect* rect, double angle, std::int32_t fillStyle,
                                   Colour colour1, Colour colour2, std::int32_t opacity) {
  ::LineoEllipse(dc, rect, angle, fillStyle, colour1, colour2, opacity);
}
void RenderLibraries::LineoChamferRect(DeviceContext* dc, const Rect* rect, double aspect, double angle,
                                       std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity) {
  ::LineoChamferRect(dc, rect, aspect, angle, fillStyle, colour1, colour2, opacity);
}
void RenderLibraries::LineoRoundedRect(DeviceContext* dc, const Rect* rect, double aspect, double angle,
                                       std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity) {
  ::LineoRoundedRect(dc, rect, aspect, angle, fillStyle, colour1, colour2, opacity);
}
void RenderLibraries::LineoShape(DeviceContext* dc, const Rect* rect, double aspect, double angle, std::int32_t shape,
                                 std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity) {
  ::LineoShape(dc, rect, aspect, angle, shape, fillStyle, colour1, colour2, opacity);
}
void RenderLibraries::LineoArtTextDraw(DeviceContext* dc, const char* text, const char* fontName, const Rect* rect,
                                       double angle, std::int32_t shape, std::int32_t fillStyle, Colour colour1,
                                       Colour colour2, std::int32_t opacity) {
  ::LineoArtTextDraw(dc, text, fontName, rect, angle, shape, fillStyle, colour1, colour2, opacity);
}

void RenderLibraries::ColmoGradient(DeviceContext* dc, Colour colour1, Colour colour2, const Rect* rect,
                                    std::int32_t type, std::int32_t param1, std::int32_t oneColour,
                                    std::int32_t opacity) {
  ::ColmoGradient(dc, colour1, colour2, rect, type, param1, oneColour, opacity);
}
void RenderLibraries::ColmoTexture(DeviceContext* dc, const Rect* rect, std::int32_t texture, std::int32_t opacity) {
  ::ColmoTexture(dc, rect, texture, opacity);
}

void RenderLibraries::PictorRenderMetaFile(DeviceContext* dc, const Rect* rect, const char* fileName) {
  ::PictorRenderMetaFile(dc, rect, fileName);
}

PV_DEFINE_HOST_SLOT(RenderLibraries, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderLibraries, Libraries, SetRenderLibraries)

}  // namespace pv
