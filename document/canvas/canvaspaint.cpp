// Painting of the canvas: page, grid, rulers, object outlines (through the
// host's DrawObject) and selection handles, into the back buffer.
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "platform/runtime.h"

#include <algorithm>
#include <cmath>

namespace pv {

namespace {

constexpr Colour White = Rgb(255, 255, 255);
constexpr Colour Black = Rgb(0, 0, 0);
constexpr Colour PageShadow = Rgb(210, 210, 210);
constexpr Colour OutlineGrey = Rgb(215, 215, 215);
constexpr Colour RulerTick = Rgb(92, 92, 92);
constexpr Colour VRuleEdge = Rgb(192, 192, 192);
constexpr Colour HandleGreen = Rgb(0, 255, 0);
// The surface's foreground colour (the system text colour) colours the grid.
constexpr Colour GridDot = Black;

constexpr std::int32_t ExtentStart = 100000000;

// A box given by its first and last pixel (both included).
void FillBox(DcHandle dc, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b,
             Colour c) {
  FillRect(dc, Rect{l, t, r + 1, b + 1}, c);
}

void DrawLine(DcHandle dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  MoveTo(dc, x1, y1);
  LineTo(dc, x2, y2);
}

Font RulerFont() {
  Font f;
  f.face = QStringLiteral("Arial");
  f.height = -9;  // character height in pixels
  return f;
}

}  // namespace

// ---- The drawing surface ------------------------------------------------------

void DragEditor::PaintSurface() {
  DcHandle dc = Dc();
  FillRect(dc, Rect{0, 0, surface_->image().width(), surface_->image().height()},
           SurfaceBackColour);
  PaintPage();
  DrawAllObjects();
  SurfaceTouched();
}

void DragEditor::PaintPage() {
  DcHandle dc = Dc();
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  std::int32_t l = 0, t = 0, r = 0, b = 0;
  DocToViewRect(st_, PageOrgX, PageOrgY, right, bottom, l, t, r, b);
  if (st_.ShowPage) {
    FillBox(dc, l, t, r, b, White);
    const Pen oldPen = SelectPen(dc, SolidPen(Black));
    const Brush oldBrush = SelectBrush(dc, Brush::Hollow());
    Rectangle(dc, l, t, r + 1, b + 1);
    SelectPen(dc, oldPen);
    SelectBrush(dc, oldBrush);
    FillBox(dc, r + 1, t + 3, r + 3, b + 3, PageShadow);
    FillBox(dc, l + 3, b + 1, r + 3, b + 3, PageShadow);
  } else {
    // The host may leave the context in any state; what it selects ends
    // with its drawing.
    SaveDC(dc);
    Host().DrawPage(dc, l, t, r, b);
    RestoreDC(dc, -1);
  }
  st_.PageCornerX = l;
  st_.PageCornerY = t;
  st_.PageEndX = r;
  st_.PageEndY = b;
  if (st_.ShowGrid) DrawGrid(l, t, r, b);
  if (st_.ShowRule) PaintRules(l, t, r, b, false);
}

void DragEditor::DrawGrid(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom) {
  // A pitch of 0 or less (a settings file without the grid keys) is no grid.
  if (!(st_.GridSpaceX > 0.0f) || !(st_.GridSpaceY > 0.0f)) return;
  DcHandle dc = Dc();
  if (st_.Unit == UnitPixels) {
    // The pitch counts view pixels; the loop runs on whole pixels, each step
    // at least one pixel so that a pitch below half a pixel ends too.
    const auto next = [](std::int32_t v, float step) {
      const std::int32_t n = CLng(double(v) + double(step));
      return n > v ? n : v + 1;
    };
    for (std::int32_t x = left; x <= right; x = next(x, st_.GridSpaceX)) {
      for (std::int32_t y = top; y <= bottom; y = next(y, st_.GridSpaceY))
        SetPixel(dc, x, y, GridDot);
    }
    return;
  }
  const float gx = DocToViewX(st_, st_.GridSpaceX);
  const float gy = DocToViewY(st_, st_.GridSpaceY);
  if (!(gx >= 5.0f && gy >= 5.0f)) return;
  const double lastI = st_.PageWidth / double(st_.GridSpaceX);
  const double lastJ = st_.PageHeight / double(st_.GridSpaceY);
  for (std::int32_t i = 0; double(i) <= lastI; ++i) {
    const std::int32_t x = left + CLng(float(i) * st_.GridSpaceX * st_.Zoom);
    for (std::int32_t j = 0; double(j) <= lastJ; ++j) {
      const std::int32_t y = top + CLng(float(j) * st_.GridSpaceY * st_.Zoom);
      SetPixel(dc, x, y, GridDot);
    }
  }
}

// ---- Rulers ---------------------------------------------------------------------

void DragEditor::GetRuleStep(std::int32_t& pixels, float& stepValue) const {
  const auto length = [this](float mm) { return CLng(DocToViewX(st_, mm)); };
  // The zoom is above 0; the bound on the step only keeps a broken zoom from
  // looping.
  constexpr float LongestStep = 1.0e6f;
  // The first multiple of `step` at least 40 pixels long (`first` where the
  // unit itself already is).
  const auto search = [&](float first, float step) {
    pixels = length(1.0f);
    float candidate = first;
    float next = step;
    while (pixels < 40 && next < LongestStep) {
      pixels = length(next);
      candidate = next;
      next = next + step;
    }
    stepValue = candidate;
  };
  if (st_.Unit == UnitMillimetres) {
    search(1.0f, 5.0f);
  } else if (st_.Unit == UnitInches) {
    search(25.4f, 25.4f);
  } else {
    pixels = 50;
    stepValue = 50.0f;
  }
}

void DragEditor::PaintRules(std::int32_t left, std::int32_t top, std::int32_t right,
                            std::int32_t bottom, bool force) {
  const bool horizontal = left != st_.RulerCacheLeft || right != st_.RulerCacheRight || force;
  const bool vertical = top != st_.RulerCacheTop || bottom != st_.RulerCacheBottom || force;
  DcHandle hdc = hrule_->dc();
  DcHandle vdc = vrule_->dc();
  const std::int32_t h = hrule_->image().height();
  const std::int32_t w = vrule_->image().width();
  if (horizontal) {
    FillRect(hdc, Rect{0, 0, hrule_->image().width(), h}, RulerBackColour);
    FillBox(hdc, left, 0, right, h, White);
    SelectPen(hdc, SolidPen(RulerTick));
    DrawLine(hdc, left, 0, left, h);
    DrawLine(hdc, right, 0, right, h);
  }
  if (vertical) {
    FillRect(vdc, Rect{0, 0, w, vrule_->image().height()}, RulerBackColour);
    FillBox(vdc, 0, top, w, bottom, White);
    SelectPen(vdc, SolidPen(VRuleEdge));
    DrawLine(vdc, 0, top, w, top);
    DrawLine(vdc, 0, bottom, w, bottom);
  }
  std::int32_t p = 0;
  float s = 0;
  GetRuleStep(p, s);

  // Numbers as the runtime prints them: a blank for the sign, the digits and
  // a trailing blank.
  const auto label = [this](float value, std::int32_t offset) -> QString {
    switch (st_.Unit) {
      case UnitMillimetres: return StrSingle(value) + QLatin1Char(' ');
      case UnitInches:
        return QLatin1Char(' ') + QString::number(CInt(RoundToSteps(value / 25.4f))) +
               QStringLiteral(" \"");
      default: return StrLong(offset) + QLatin1Char(' ');
    }
  };
  const auto hTick = [&](std::int32_t x) {
    DrawLine(hdc, x, 5, x, h);
    const std::int32_t half = CLng(double(x) + double(p) / 2.0);
    DrawLine(hdc, half, 15, half, h);
  };
  const auto vTick = [&](std::int32_t y) {
    DrawLine(vdc, 5, y, w, y);
    const std::int32_t half = CLng(double(y) + double(p) / 2.0);
    DrawLine(vdc, 15, half, w, half);
  };
  const Font font = RulerFont();
  if (horizontal && p > 0) {
    SelectFont(hdc, font);
    SetBkMode(hdc, BkMode::Transparent);
    SetTextColour(hdc, Black);
    SelectPen(hdc, SolidPen(RulerTick));
    float value = 0;
    for (std::int32_t x = left; x <= right; x += p) {
      TextOut(hdc, x, 0, label(value, x - left));
      hTick(x);
      value = float(RoundHalfEven(double(value + s)));
    }
    for (std::int32_t x = left; x >= 0; x -= p) hTick(x);
    const std::int32_t end = st_.SurfaceWidth;
    for (std::int32_t x = right; x <= end; x += p) hTick(x);
  }
  if (vertical && p > 0) {
    SelectFont(vdc, font);
    SetBkMode(vdc, BkMode::Transparent);
    SetTextColour(vdc, Black);
    SelectPen(vdc, SolidPen(RulerTick));
    float value = 0;
    for (std::int32_t y = top; y <= bottom; y += p) {
      TextOut(vdc, 0, y, label(value, y - top));
      vTick(y);
      value = float(RoundHalfEven(double(value + s)));
    }
    for (std::int32_t y = top; y >= 0; y -= p) vTick(y);
    const std::int32_t end = st_.SurfaceHeight;
    for (std::int32_t y = bottom; y <= end; y += p) vTick(y);
  }
  st_.RulerCacheLeft = left;
  st_.RulerCacheTop = top;
  st_.RulerCacheRight = right;
  st_.RulerCacheBottom = bottom;
  if ((horizontal || vertical) && view_) view_->RulersChanged();
}

void DragEditor::PaintRulerSurfaces() {
  if (st_.ShowRule) {
    PaintRules(st_.PageCornerX, st_.PageCornerY, st_.PageEndX, st_.PageEndY, true);
    return;
  }
  // Not painted: the rulers show their background only.
  FillRect(hrule_->dc(), Rect{0, 0, hrule_->image().width(), hrule_->image().height()},
           RulerBackColour);
  FillRect(vrule_->dc(), Rect{0, 0, vrule_->image().width(), vrule_->image().height()},
           RulerBackColour);
  if (view_) view_->RulersChanged();
}

// ---- Objects ---------------------------------------------------------------------

bool DragEditor::ObjectOutline(const ObjectRecord& rec, OutlinePoints& X, OutlinePoints& Y,
                               std::int32_t& x1, std::int32_t& y1, std::int32_t& x2,
                               std::int32_t& y2) const {
  X.fill(0);
  Y.fill(0);
  const double angle = double(rec.Angle);
  if (rec.GeomType == GeomLine) {
    std::int32_t a = 0, b = 0, c = 0, d = 0;
    DocToView(st_, rec.X1, rec.Y1, a, b);
    DocToView(st_, rec.X2, rec.Y2, c, d);
    X[1] = a;
    Y[1] = b;
    X[2] = c;
    Y[2] = d;
    const std::int32_t mx = CLng((double(a) + double(c)) / 2.0);
    const std::int32_t my = CLng((double(b) + double(d)) / 2.0);
    RotatePointLong(mx, my, X[1], Y[1], angle);
    RotatePointLong(mx, my, X[2], Y[2], angle);
    x1 = a;
    y1 = b;
    x2 = c;
    y2 = d;
    return true;
  }
  if (rec.GeomType == GeomBox) {
    const float hw = rec.Width / 2.0f;
    const float hh = rec.Height / 2.0f;
    DocToView(st_, rec.CenterX - hw, rec.CenterY + hh, X[1], Y[1]);
    DocToView(st_, rec.CenterX + hw, rec.CenterY + hh, X[2], Y[2]);
    DocToView(st_, rec.CenterX + hw, rec.CenterY - hh, X[3], Y[3]);
    DocToView(st_, rec.CenterX - hw, rec.CenterY - hh, X[4], Y[4]);
    x1 = X[4];
    y1 = Y[4];
    x2 = X[2];
    y2 = Y[2];
    std::int32_t cx = 0, cy = 0;
    DocToView(st_, rec.CenterX, rec.CenterY, cx, cy);
    for (int i = 1; i <= 4; ++i) RotatePointLong(cx, cy, X[i], Y[i], angle);
    return true;
  }
  return false;
}

void DragEditor::DrawObjectItem(const ObjectRecord& record, std::int16_t mode) {
  // A hidden object is not drawn. It is still measured: a selected hidden
  // object shows its handles, and their area must be repainted with it.
  if (record.IsHidden && mode != DrawModeExtents) return;
  OutlinePoints X, Y;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (!ObjectOutline(record, X, Y, x1, y1, x2, y2)) return;
  const int count = record.GeomType == GeomLine ? 2 : 4;
  DcHandle dc = Dc();
  switch (mode) {
    case DrawModeEvent: {
      const float angle = float(NormalizeAngle(record.Angle));
      const std::int32_t key = record.Key;
      const std::int16_t kind = record.UserType;
      SaveDC(dc);
      Host().DrawObject(dc, X, Y, x1, y1, x2, y2, angle, key, kind);
      RestoreDC(dc, -1);
      SurfaceTouched();
      break;
    }
    case DrawModeOutline: {
      const Pen old = SelectPen(dc, SolidPen(OutlineGrey));
      if (count == 2) {
        DrawLine(dc, X[1], Y[1], X[2], Y[2]);
      } else {
        DrawLine(dc, X[1], Y[1], X[2], Y[2]);
        DrawLine(dc, X[2], Y[2], X[3], Y[3]);
        DrawLine(dc, X[3], Y[3], X[4], Y[4]);
        DrawLine(dc, X[4], Y[4], X[1], Y[1]);
      }
      SelectPen(dc, old);
      SurfaceTouched();
      break;
    }
    case DrawModeExtents: AccumulateExtents(X, Y, count); break;
    default: break;
  }
}

void DragEditor::AccumulateExtents(const OutlinePoints& X, const OutlinePoints& Y, int count) {
  float l = float(ExtentStart), t = float(ExtentStart);
  float r = -float(ExtentStart), b = -float(ExtentStart);
  for (int i = 1; i <= count; ++i) {
    l = std::min(l, float(X[i]));
    r = std::max(r, float(X[i]));
    t = std::min(t, float(Y[i]));
    b = std::max(b, float(Y[i]));
  }
  if (l < 0) l = 0;
  if (t < 0) t = 0;
  if (r > float(st_.SurfaceWidth)) r = float(st_.SurfaceWidth);
  if (b > float(st_.SurfaceHeight)) b = float(st_.SurfaceHeight);
  st_.ExtentLeft = l;
  st_.ExtentTop = t;
  st_.ExtentRight = r;
  st_.ExtentBottom = b;
}

void DragEditor::DrawAllObjects() {
  // The count is read again at every step: a host handler may change the
  // table while it draws.
  for (std::int32_t i = 1; i <= ObjCount && i <= MaxObjects; ++i)
    DrawObjectItem(Objects[std::size_t(i)], DrawModeEvent);
  for (std::int32_t i = 1; i <= ObjCount && i <= MaxObjects; ++i) DrawSelectionHandles(i, true);
}

void DragEditor::DrawSelectionHandles(std::int32_t index, bool /*flag*/) {
  if (index < 1 || index > ObjCount || index > MaxObjects) return;
  const ObjectRecord& rec = Objects[std::size_t(index)];
  if (!rec.IsSelected) return;
  if (st_.CurrentTool != ToolSelect && st_.CurrentTool != ToolRotate) return;
  OutlinePoints X, Y;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (!ObjectOutline(rec, X, Y, x1, y1, x2, y2)) return;
  if (rec.GeomType == GeomLine) {
    DrawHandle(X[1], Y[1]);
    DrawHandle(X[2], Y[2]);
  } else {
    std::int32_t cx = 0, cy = 0;
    DocToView(st_, rec.CenterX, rec.CenterY, cx, cy);
    std::int32_t mx[4], my[4];
    const float hw = rec.Width / 2.0f;
    const float hh = rec.Height / 2.0f;
    DocToView(st_, rec.CenterX, rec.CenterY - hh, mx[0], my[0]);
    DocToView(st_, rec.CenterX, rec.CenterY + hh, mx[1], my[1]);
    DocToView(st_, rec.CenterX - hw, rec.CenterY, mx[2], my[2]);
    DocToView(st_, rec.CenterX + hw, rec.CenterY, mx[3], my[3]);
    for (int i = 0; i < 4; ++i) RotatePointLong(cx, cy, mx[i], my[i], double(rec.Angle));
    for (int i = 1; i <= 4; ++i) DrawHandle(X[i], Y[i]);
    for (int i = 0; i < 4; ++i) DrawHandle(mx[i], my[i]);
  }
  SurfaceTouched();
}

void DragEditor::DrawHandle(std::int32_t x, std::int32_t y) {
  DcHandle dc = Dc();
  const double half = st_.HandleSize / 2.0;
  const std::int32_t l = CLng(x - half), t = CLng(y - half);
  const std::int32_t r = CLng(x + half), b = CLng(y + half);
  if (st_.CurrentTool == ToolSelect) {
    FillBox(dc, l, t, r, b, White);
    const Pen oldPen = SelectPen(dc, SolidPen(Black));
    const Brush oldBrush = SelectBrush(dc, Brush::Hollow());
    Rectangle(dc, l, t, r + 1, b + 1);
    SelectPen(dc, oldPen);
    SelectBrush(dc, oldBrush);
  } else if (st_.CurrentTool == ToolRotate) {
    const Pen oldPen = SelectPen(dc, SolidPen(Black));
    const Brush oldBrush = SelectBrush(dc, Brush::SolidColour(HandleGreen));
    Ellipse(dc, l, t, r + 1, b + 1);
    SelectPen(dc, oldPen);
    SelectBrush(dc, oldBrush);
  }
}

void DragEditor::GetSelectionBounds(std::int32_t& left, std::int32_t& top, std::int32_t& right,
                                    std::int32_t& bottom, bool reset) {
  if (reset) {
    left = top = ExtentStart;
    right = bottom = -ExtentStart;
  }
  for (std::int32_t i = 1; i <= ObjCount && i <= MaxObjects; ++i) {
    const ObjectRecord& rec = Objects[std::size_t(i)];
    if (!rec.IsSelected) continue;
    DrawObjectItem(rec, DrawModeExtents);
    left = std::min(left, CLng(st_.ExtentLeft));
    top = std::min(top, CLng(st_.ExtentTop));
    right = std::max(right, CLng(st_.ExtentRight));
    bottom = std::max(bottom, CLng(st_.ExtentBottom));
  }
  const std::int32_t hs = st_.HandleSize;
  left = left == ExtentStart ? 0 : left - hs;
  top = top == ExtentStart ? 0 : top - hs;
  right = right == -ExtentStart ? 0 : right + hs;
  bottom = bottom == -ExtentStart ? 0 : bottom + hs;
}

void DragEditor::RedrawArea(std::int32_t left, std::int32_t top, std::int32_t right,
                            std::int32_t bottom) {
  DcHandle dc = Dc();
  FillBox(dc, left, top, right, bottom, White);
  const Region clip = Region::FromRect(Rect{left - 1, top - 1, right + 1, bottom + 1});
  SelectClipRegion(dc, &clip);
  PaintPage();
  DrawAllObjects();
  SelectClipRegion(dc, nullptr);
  SurfaceTouched();
}

}  // namespace pv
