#pragma once
// The drawing libraries as the property windows' previews call them,
// recorded as text, drawing nothing.
#include "render/libraries.h"

#include <QStringList>

namespace proptest {

class RecordingRender : public pv::RenderLibraries {
 public:
  QStringList calls;
  void LineoPen(pv::DeviceContext*, std::int32_t style, pv::Colour colour) override {
    calls << QStringLiteral("Pen:%1,%2").arg(style).arg(colour);
  }
  void LineoLine(pv::DeviceContext*, const pv::Point* p1, const pv::Point* p2, double angle) override {
    calls << QStringLiteral("Line:%1,%2-%3,%4@%5").arg(p1->x).arg(p1->y).arg(p2->x).arg(p2->y).arg(angle);
  }
  void LineoRectangle(pv::DeviceContext*, const pv::Rect* r, double angle, std::int32_t fill, pv::Colour c1,
                      pv::Colour c2, std::int32_t opacity) override {
    calls << QStringLiteral("Rectangle:%1,%2,%3,%4@%5 fill %6 %7,%8 %9")
                 .arg(r->left)
                 .arg(r->top)
                 .arg(r->right)
                 .arg(r->bottom)
                 .arg(angle)
                 .arg(fill)
                 .arg(c1)
                 .arg(c2)
                 .arg(opacity);
  }
  void LineoArtTextDraw(pv::DeviceContext*, const char* text, const char* font, const pv::Rect* r, double angle,
                        std::int32_t shape, std::int32_t fill, pv::Colour c1, pv::Colour c2,
                        std::int32_t last) override {
    calls << QStringLiteral("ArtText:\"%1\" %2 %3,%4,%5,%6@%7 shape %8 fill %9 %10,%11 %12")
                 .arg(QString::fromUtf8(text), QString::fromUtf8(font))
                 .arg(r->left)
                 .arg(r->top)
                 .arg(r->right)
                 .arg(r->bottom)
                 .arg(angle)
                 .arg(shape)
                 .arg(fill)
                 .arg(c1)
                 .arg(c2)
                 .arg(last);
  }
  void ColmoGradient(pv::DeviceContext*, pv::Colour c1, pv::Colour c2, const pv::Rect* r, std::int32_t type,
                     std::int32_t param1, std::int32_t oneColour, std::int32_t opacity) override {
    calls << QStringLiteral("Gradient:%1,%2,%3,%4 %5,%6 type %7 %8 %9 %10")
                 .arg(r->left)
                 .arg(r->top)
                 .arg(r->right)
                 .arg(r->bottom)
                 .arg(c1)
                 .arg(c2)
                 .arg(type)
                 .arg(param1)
                 .arg(oneColour)
                 .arg(opacity);
  }
  void ColmoTexture(pv::DeviceContext*, const pv::Rect* r, std::int32_t texture, std::int32_t opacity) override {
    calls << QStringLiteral("Texture:%1,%2,%3,%4 %5 %6")
                 .arg(r->left)
                 .arg(r->top)
                 .arg(r->right)
                 .arg(r->bottom)
                 .arg(texture)
                 .arg(opacity);
  }
};

}  // namespace proptest
