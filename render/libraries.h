#pragma once
// The calls of label drawing into the text library Scriva2, the shape library
// Lineo2 and the picture library Pictor2, behind one interface so that tests
// can put a recorder in their place. The default instance calls the real
// libraries. Strings cross as UTF-8; rectangles and points by address, as the
// libraries take them (Scriva2 shrinks its rectangle in place).
#include "platform/dc.h"
#include "platform/hostslot.h"

#include <cstdint>

namespace pv {

class RenderLibraries {
 public:
  virtual ~RenderLibraries() = default;

  // Scriva2
  virtual void ScrivaFontSize(std::int32_t size);
  virtual void ScrivaSetBold(std::int32_t flag);
  virtual void ScrivaSetItalic(std::int32_t flag);
  virtual void ScrivaSetUnderline(std::int32_t flag);
  virtual void ScrivaSetStrike(std::int32_t flag);
  virtual void ScrivaFontName(const char* faceName);
  virtual void ScrivaSetForeColor(std::int32_t colour);
  virtual void ScrivaSetBackColor(std::int32_t colour);
  virtual void ScrivaSetFillParameter(std::int32_t param1, std::int32_t param2, std::int32_t inverse);
  virtual void ScrivaDraw(DeviceContext* dc, const char* text, Rect* rect, double angle, std::int32_t alignment);
  virtual void ScrivaDrawEx(DeviceContext* dc, const char* text, Rect* rect, double angle, std::int32_t alignment,
                            std::int32_t fillStyle, std::int32_t texture, std::int32_t opacity);

  // Lineo2
  virtual void LineoPen(DeviceContext* dc, std::int32_t style, Colour colour);
  virtual void LineoLine(DeviceContext* dc, const Point* p1, const Point* p2, double angle);
  virtual void LineoRectangle(DeviceContext* dc, const Rect* rect, double angle, std::int32_t fillStyle, Colour colour1,
                              Colour colour2, std::int32_t opacity);
  virtual void LineoEllipse(DeviceContext* dc, const Rect* rect, double angle, std::int32_t fillStyle, Colour colour1,
                            Colour colour2, std::int32_t opacity);
  virtual void LineoChamferRect(DeviceContext* dc, const Rect* rect, double aspect, double angle,
                                std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity);
  virtual void LineoRoundedRect(DeviceContext* dc, const Rect* rect, double aspect, double angle,
                                std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity);
  virtual void LineoShape(DeviceContext* dc, const Rect* rect, double aspect, double angle, std::int32_t shape,
                          std::int32_t fillStyle, Colour colour1, Colour colour2, std::int32_t opacity);
  virtual void LineoArtTextDraw(DeviceContext* dc, const char* text, const char* fontName, const Rect* rect,
                                double angle, std::int32_t shape, std::int32_t fillStyle, Colour colour1,
                                Colour colour2, std::int32_t opacity);

  // Colmo2
  virtual void ColmoGradient(DeviceContext* dc, Colour colour1, Colour colour2, const Rect* rect, std::int32_t type,
                             std::int32_t param1, std::int32_t oneColour, std::int32_t opacity);
  virtual void ColmoTexture(DeviceContext* dc, const Rect* rect, std::int32_t texture, std::int32_t opacity);

  // Pictor2
  virtual void PictorRenderMetaFile(DeviceContext* dc, const Rect* rect, const char* fileName);
};

PV_DECLARE_HOST_SLOT(RenderLibraries)

// The instance the drawing uses (the real libraries unless a test set one).
RenderLibraries& Libraries();
// Takes no ownership; returns the previous instance; nullptr = the real ones.
RenderLibraries* SetRenderLibraries(RenderLibraries* libraries);

}  // namespace pv
