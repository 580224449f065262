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
};

}  // namespace proptest
