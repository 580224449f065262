// The exported functions of Scriva2: each sets one field of the process-wide
// renderer or draws with all of them.

#include "libs/scriva2/scriva2.h"

#include "libs/scriva2/textrenderer.h"

#include <QString>

namespace {

pv::TextRenderer& R() { return pv::TheTextRenderer(); }

std::uint8_t LowByte(std::int32_t flag) { return static_cast<std::uint8_t>(flag & 0xFF); }

QString FromUtf8(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

}  // namespace

extern "C" {

std::int32_t ScrivaDraw(pv::DeviceContext* dc, const char* text, pv::Rect* rect, double angle, std::int32_t alignment) {
  R().Draw(dc, FromUtf8(text), rect, angle, alignment);
  return 1;
}

std::int32_t ScrivaDrawEx(pv::DeviceContext* dc, const char* text, pv::Rect* rect, double angle, std::int32_t alignment,
                          std::int32_t fillStyle, std::int32_t texture, std::int32_t opacity) {
  R().DrawEx(dc, FromUtf8(text), rect, angle, alignment, fillStyle, texture, opacity);
  return 1;
}

std::int32_t ScrivaFontName(const char* faceName) {
  R().SetFaceName(faceName);
  return 0;
}

std::int32_t ScrivaFontSize(std::int32_t size) { return R().SetHeight(size); }

std::int32_t ScrivaSetBold(std::int32_t flag) {
  const std::uint8_t b = LowByte(flag);
  R().weight = b != 0 ? 700 : 400;
  return b;
}

std::int32_t ScrivaSetItalic(std::int32_t flag) { return R().italic = LowByte(flag); }

std::int32_t ScrivaSetUnderline(std::int32_t flag) { return R().underline = LowByte(flag); }

std::int32_t ScrivaSetStrike(std::int32_t flag) { return R().strikeOut = LowByte(flag); }

std::int32_t ScrivaSetForeColor(std::int32_t colour) {
  R().foreColor = static_cast<pv::Colour>(colour);
  return colour;
}

std::int32_t ScrivaSetBackColor(std::int32_t colour) {
  R().backColor = static_cast<pv::Colour>(colour);
  return colour;
}

std::int32_t ScrivaSetTransparent(std::int32_t flag) { return R().transparent = LowByte(flag); }

std::int32_t ScrivaSetAntialiased(std::int32_t flag) { return R().antialiased = LowByte(flag); }

void ScrivaSetInterline(double factor) { R().interline = factor; }

std::int32_t ScrivaSetMargin(std::int32_t margin) { return R().SetMargin(margin); }

std::int32_t ScrivaSafeDC(std::int32_t flag) { return R().safeDC = LowByte(flag); }

std::int32_t ScrivaSetFillParameter(std::int32_t param1, std::int32_t param2, std::int32_t inverse) {
  R().fillParam1 = param1;
  R().fillParam2 = param2;
  R().fillInverse = LowByte(inverse);
  return 0;
}

}  // extern "C"
