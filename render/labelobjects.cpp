#include "render/labelobjects.h"

#include "document/model.h"
#include "platform/runtime.h"
#include "render/barcode.h"
#include "render/barcoderecord.h"
#include "render/hosts.h"
#include "render/libraries.h"
#include "render/pictures.h"

#include <cmath>

namespace pv {

namespace {

constexpr int kWorkingTextLength = 1024;
constexpr double kPi = 3.141592654;

// How one object is drawn: the values that differ between the screen and
// the print path.
struct Pass {
  bool screen = false;
  float fontScale = 1.0f;
  std::int32_t textureOpacity = 100;  // textured text
  std::int32_t bodyOpacity = 100;     // shape bodies without a shadow
  std::int32_t artOpacity = 100;
  std::int16_t shadowSize = 1;
  Point p1, p2;  // a line's end points
  const FieldSource* fields = nullptr;
};

float FallbackScale(DeviceContext* dc, float scale) { return scale > 0.0f ? scale : float(DpiY(dc)) / 72.0f; }

void DrawTextObject(DeviceContext* dc, const ObjectRecord& o, Rect rect, float angle, const Pass& pass) {
  RenderLibraries& lib = Libraries();
  QString text;
  if (o.UserType == UserTypeTextBox) {
    text = o.Content;
  } else {
    text = pass.fields->Value(o.Content, o.FormatText);
  }
  const QByteArray utf8 = WorkingText(text);

  lib.ScrivaFontSize(CLng(double(float(o.FontSize) * pass.fontScale)));
  lib.ScrivaSetBold(o.Bold);
  lib.ScrivaSetItalic(o.Italic);
  lib.ScrivaSetUnderline(o.Underline);
  lib.ScrivaSetStrike(o.StrikeOut);
  const QByteArray face = Trim(o.FontName).toUtf8();
  lib.ScrivaFontName(face.constData());
  lib.ScrivaSetForeColor(o.Color1);
  lib.ScrivaSetBackColor(o.Color2);

  const std::int32_t fill = o.FillStyle;
  if (fill >= 27 && fill <= 139) {
    lib.ScrivaDrawEx(dc, utf8.constData(), &rect, double(angle), o.Alignment, 0, fill - 26, pass.textureOpacity);
  } else if (fill >= 140 && fill <= 151) {
    lib.ScrivaSetFillParameter(0, fill <= 145 ? 1 : 0, 0);
    lib.ScrivaDrawEx(dc, utf8.constData(), &rect, double(angle), o.Alignment, GradientFillStyle(fill), 0, o.Opacity);
  } else {
    lib.ScrivaDraw(dc, utf8.constData(), &rect, double(angle), o.Alignment);
  }
}

// The kind's Lineo2 function with the given fill.
void DrawShapeCall(DeviceContext* dc, const ObjectRecord& o, const Rect& rect, double angle, std::int32_t fill,
                   Colour c1, Colour c2, std::int32_t opacity) {
  RenderLibraries& lib = Libraries();
  switch (o.UserType) {
    case UserTypeRectangle: lib.LineoRectangle(dc, &rect, angle, fill, c1, c2, opacity); break;
    case UserTypeEllipse: lib.LineoEllipse(dc, &rect, angle, fill, c1, c2, opacity); break;
    case UserTypeChamferedRect: lib.LineoChamferRect(dc, &rect, double(o.Aspect), angle, fill, c1, c2, opacity); break;
    case UserTypeRoundedRect: lib.LineoRoundedRect(dc, &rect, double(o.Aspect), angle, fill, c1, c2, opacity); break;
    default: lib.LineoShape(dc, &rect, double(o.Aspect), angle, o.UserType, fill, c1, c2, opacity); break;
  }
}

void DrawShape(DeviceContext* dc, const ObjectRecord& o, Rect rect, float angle, const Pass& pass) {
  RenderLibraries& lib = Libraries();
  const std::int16_t shadowMode = o.Variant;
  std::int32_t opacity = pass.bodyOpacity;
  const bool shadow = shadowMode != 0 && (!pass.screen || o.FillStyle != 0);
  if (shadow) {
    AdjustShadowRect(rect, shadowMode, true, pass.shadowSize);
    lib.LineoPen(dc, 1, 0);
    DrawShapeCall(dc, o, rect, double(angle), 1, Rgb(100, 100, 100), Rgb(50, 50, 50), 100);
    AdjustShadowRect(rect, shadowMode, false, pass.shadowSize);
    opacity = 100;
  }
  lib.LineoPen(dc, o.LineStyle, Colour(o.LineColor));
  DrawShapeCall(dc, o, rect, double(angle), o.FillStyle, Colour(o.Color1), Colour(o.Color2), opacity);
}

void DrawBarcodeObject(DeviceContext* dc, const ObjectRecord& o, const Rect& rect, const Pass& pass) {
  BarcodeControl& bc = Axbarcode1();
  QString data;
  if (pass.screen) {
    data = o.Content;
  } else if (o.Variant == 0) {
    data = QString::fromUtf8(WorkingText(o.Content));
  } else {
    data = QString::fromUtf8(WorkingText(pass.fields->Value(o.Content, o.FormatText)));
  }
  BarcodeProperties p;
  ReadBarcodeRecord(o, p);
  p.LineColor = Colour(o.LineColor);
  p.Data = data;
  bc.SetProperties(p);
  std::int32_t x = rect.left, y = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
  DrawBarcode(dc, x, y, w, h, pass.fontScale);
}

void DrawObjectKind(DeviceContext* dc, const ObjectRecord& o, const Rect& rect, float angle, const Pass& pass) {
  RenderLibraries& lib = Libraries();
  const std::int16_t kind = o.UserType;
  if (kind == UserTypeBarcode) {
    DrawBarcodeObject(dc, o, rect, pass);
  } else if (kind == UserTypeDatabaseField || kind == UserTypeTextBox) {
    DrawTextObject(dc, o, rect, angle, pass);
  } else if (kind == UserTypeImage) {
    DrawImageObject(dc, o, rect);
  } else if (kind == UserTypeLine) {
    lib.LineoPen(dc, o.LineStyle, Colour(o.LineColor));
    lib.LineoLine(dc, &pass.p1, &pass.p2, double(angle));
  } else if ((kind >= UserTypeRectangle && kind <= UserTypeRoundedRect) ||
             (kind >= UserTypeShapeBase && kind <= UserTypeShapeLast)) {
    DrawShape(dc, o, rect, angle, pass);
  } else if (kind == UserTypeArtText) {
    lib.LineoPen(dc, o.LineStyle, Colour(o.LineColor));
    const QByteArray text = Trim(o.Content).toUtf8();
    const QByteArray face = Trim(o.FontName).toUtf8();
    lib.LineoArtTextDraw(dc, text.constData(), face.constData(), &rect, double(angle), o.Variant, o.FillStyle,
                         Colour(o.Color1), Colour(o.Color2), pass.artOpacity);
  }
  // Any other kind draws nothing.
}

// A stored line's end points turned about their midpoint by the angle, the
// way the canvas shows a turned line.

}  // namespace

void TurnAboutMidpoint(Point& p1, Point& p2, float angle) {
  if (angle == 0.0f) return;
  const double mx = (double(p1.x) + double(p2.x)) / 2.0;
  const double my = (double(p1.y) + double(p2.y)) / 2.0;
  const double r = -std::fmod(double(angle), 360.0) * kPi / 180.0;
  const double c = std::cos(r), s = std::sin(r);
  for (Point* p : {&p1, &p2}) {
    const double dx = double(p->x) - mx, dy = double(p->y) - my;
    p->x = CLng(mx + (dx * c - dy * s));
    p->y = CLng(my + (dx * s + dy * c));
  }
}

QByteArray WorkingText(const QString& text) { return Trim(text.left(kWorkingTextLength)).toUtf8(); }

std::int32_t GradientFillStyle(std::int32_t fillStyle) {
  if (fillStyle < 140 || fillStyle > 151) return 0;
  static constexpr std::int32_t kStyles[6] = {100, 101, 102, 104, 105, 106};
  return kStyles[(fillStyle - 140) % 6];
}

void DragEditor_DrawObject(DeviceContext* hdc, const RenderOutline& X, const RenderOutline& Y, std::int32_t x1,
                           std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                           std::int16_t UserType, const DocumentBlock& objects, const FieldSource& fields) {
  const ObjectRecord* found = nullptr;
  for (std::int32_t i = 1; i <= objects.Count && i <= MaxObjects; ++i) {
    if (objects.Objects[std::size_t(i)].Key == lKey) {
      found = &objects.Objects[std::size_t(i)];
      break;
    }
  }
  if (found == nullptr || found->IsHidden != 0) return;
  const ObjectRecord& o = *found;
  Pass pass;
  pass.screen = true;
  pass.fontScale = FallbackScale(hdc, RenderCanvas().FontRatio());
  pass.textureOpacity = o.Opacity;
  pass.bodyOpacity = o.Opacity;
  pass.artOpacity = 0;
  pass.shadowSize = 1;
  pass.p1 = Point{X[1], Y[1]};
  pass.p2 = Point{X[2], Y[2]};
  pass.fields = &fields;
  ObjectRecord drawn = o;
  drawn.UserType = UserType;
  DrawObjectKind(hdc, drawn, Rect{x1, y1, x2, y2}, Angle, pass);
}

void DrawLabelObject(DeviceContext* hDC, const ObjectRecord& o, std::int32_t Left, std::int32_t Top, std::int32_t Right,
                     std::int32_t Bottom, float Angle, const FieldSource& fields, const PrintSurface& surface) {
  // The object's own opacity, in the preview and on the printer alike, so
  // that the printed label is the one the preview shows.
  const std::int32_t objectOpacity = o.Opacity;
  const std::int16_t shadowSize = ShadowSize(surface);

  Pass pass;
  pass.screen = false;
  if (surface.Preview) {
    pass.fontScale = FallbackScale(hDC, surface.PreviewFontRatio);
  } else {
    const std::int32_t dpi = RenderSettings().PrinterDpiY();
    pass.fontScale = float(dpi > 0 ? dpi : DpiY(hDC)) / 72.0f;
  }
  pass.textureOpacity = objectOpacity;
  pass.bodyOpacity = objectOpacity;
  pass.artOpacity = objectOpacity;
  pass.shadowSize = shadowSize;
  pass.p1 = Point{Left, Top};
  pass.p2 = Point{Right, Bottom};
  pass.fields = &fields;
  TurnAboutMidpoint(pass.p1, pass.p2, Angle);
  DrawObjectKind(hDC, o, Rect{Left, Top, Right, Bottom}, Angle, pass);
}

bool LabelScale(const Rect& rect, const LabelHeader& header, float* sx, float* sy) {
  const std::int32_t width = rect.right - rect.left;
  const std::int32_t height = rect.bottom - rect.top;
  // A small preview can round a label to nothing: nothing to draw then.
  if (width <= 0 || height <= 0) return false;
  *sx = float(header.LabelWidth / double(width));
  *sy = float(header.LabelHeight / double(height));
  return *sx > 0.0f && *sy > 0.0f && std::isfinite(*sx) && std::isfinite(*sy);
}

Rect LabelObjectBox(const ObjectRecord& o, const Rect& rect, const LabelContent& label, float sx, float sy) {
  const double left = rect.left, top = rect.top;
  const float orgX = label.OrgX, orgY = label.OrgY;
  const float x = o.X1 - orgX;
  const float y = o.Y1 - orgY;
  if (o.GeomType == GeomBox) {
    return Rect{CLng(double((x - o.X2 / 2.0f) / sx) + left), CLng(double((y - o.Y2 / 2.0f) / sy) + top),
                CLng(double((x + o.X2 / 2.0f) / sx) + left), CLng(double((y + o.Y2 / 2.0f) / sy) + top)};
  }
  return Rect{CLng(double(x / sx) + left), CLng(double(y / sy) + top), CLng(double((o.X2 - orgX) / sx) + left),
              CLng(double((o.Y2 - orgY) / sy) + top)};
}

void DrawLabelObjects(DeviceContext* hDC, const Rect& rect, const LabelContent& label, const FieldSource& fields,
                      const PrintSurface& surface) {
  float sx = 0.0f, sy = 0.0f;
  if (!LabelScale(rect, label.Header, &sx, &sy)) return;
  for (std::int32_t i = 1; i <= label.Block.Count && i <= MaxObjects; ++i) {
    const ObjectRecord& o = label.Block.Objects[std::size_t(i)];
    const Rect box = LabelObjectBox(o, rect, label, sx, sy);
    DrawLabelObject(hDC, o, box.left, box.top, box.right, box.bottom, float(o.Angle), fields, surface);
  }
}

}  // namespace pv
