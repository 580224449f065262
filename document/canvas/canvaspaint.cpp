// Painting of the canvas: page, grid, rulers, object outlines (through the
// host's DrawObject) and selection handles, into the back buffer.
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "platform/runtime.h"

#include <algorithm>
#include <cmath>
#include <vector>

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
void FillBox(DcHandle dc, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, Colour c) {
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

// ---- What a repaint can change -------------------------------------------------
//
// A page may be far larger than the window (a label of a kilometre): every
// drawing below is cut to the part of its image that shows, so a repaint
// costs what the window shows, whatever the page's size.

// The pixels lo..hi-1 of one axis that show.
struct Span {
  std::int64_t lo = 0, hi = 0;
};

// The box l..r x t..b (first and last pixels) cut to the visible box widened
// by two pixels, so that its cut edges, and what is drawn on them, stay out
// of sight. False when nothing of it shows.
bool CutBox(const Rect& visible, std::int32_t& l, std::int32_t& t, std::int32_t& r, std::int32_t& b) {
  l = std::max(l, visible.left - 2);
  t = std::max(t, visible.top - 2);
  r = std::min(r, visible.right + 1);
  b = std::min(b, visible.bottom + 1);
  return l <= r && t <= b;
}

// The first index in first..last whose position is at least `at` (last + 1
// when there is none), for positions that never shrink as the index grows.
template <typename Position>
std::int64_t FirstIndexAt(std::int64_t first, std::int64_t last, std::int64_t at, Position position) {
  while (first <= last) {
    const std::int64_t mid = first + (last - first) / 2;
    if (position(mid) < at)
      first = mid + 1;
    else
      last = mid - 1;
  }
  return first;
}

// The grid dots along one axis in millimetres and inches: index i from 0
// while i <= count, at start + CLng(i x pitch x zoom); each(position) for
// those on the span.
template <typename Each>
void GridAxis(std::int64_t start, double count, float pitch, float zoom, Span span, Each each) {
  const auto position = [&](std::int64_t i) { return start + CLng(float(i) * pitch * zoom); };
  if (!(count >= 0.0)) return;
  const std::int64_t last = std::int64_t(std::min(std::floor(count), 4.0e18));
  for (std::int64_t i = FirstIndexAt(0, last, span.lo, position); i <= last; ++i) {
    const std::int64_t v = position(i);
    if (v >= span.hi) break;
    each(v);
  }
}

// The grid dots along one axis in pixels: from start, each next one
// CLng(previous + pitch) and at least one pixel further, while within end;
// each(position) for those on the span. How far a step goes depends on
// nothing but whether the pixel it starts from is odd or even (halves round
// to even), so from the second dot on every two steps go the same way: the
// dots before the span are jumped over two steps at a time.
template <typename Each>
void PixelGridAxis(std::int64_t start, std::int64_t end, float pitch, Span span, Each each) {
  const auto next = [pitch](std::int64_t v) {
    const std::int64_t n = CLng(double(v) + double(pitch));
    return n > v ? n : v + 1;
  };
  std::int64_t v = start;
  if (v < span.lo) {
    v = next(v);
    const std::int64_t twoSteps = next(next(v)) - v;
    if (v < span.lo) v += (span.lo - v) / twoSteps * twoSteps;
    while (v < span.lo) v = next(v);
  }
  for (; v <= end && v < span.hi; v = next(v)) each(v);
}

// One ruler: its image, which way it runs and the page's edges along it.
// Along is x on the horizontal ruler, y on the vertical one; across is the
// ruler's thickness.
struct Ruler {
  DcHandle dc;
  bool vertical;
  std::int32_t length;     // of the image, along
  std::int32_t thickness;  // of the image, across
  std::int32_t first;      // the page's edges along the ruler
  std::int32_t last;
  std::int32_t surfaceEnd;
  Colour edge;

  void Line(std::int64_t along, std::int32_t from, std::int32_t to) const {
    const auto a = std::int32_t(along);
    if (vertical)
      DrawLine(dc, from, a, to, a);
    else
      DrawLine(dc, a, from, a, to);
  }
  // The ruler's background, the band over the page and the page's edges.
  void PaintBand() const {
    const auto box = [this](std::int32_t a0, std::int32_t c0, std::int32_t a1, std::int32_t c1) {
      return vertical ? Rect{c0, a0, c1, a1} : Rect{a0, c0, a1, c1};
    };
    FillRect(dc, box(0, 0, length, thickness), RulerBackColour);
    std::int32_t a0 = first, a1 = last, c0 = 0, c1 = thickness;
    const Rect visible = box(0, 0, length, thickness);
    if (vertical ? CutBox(visible, c0, a0, c1, a1) : CutBox(visible, a0, c0, a1, c1))
      FillRect(dc, box(a0, c0, a1 + 1, c1 + 1), White);
    SelectPen(dc, SolidPen(edge));
    for (const std::int32_t a : {first, last}) {
      if (a >= 0 && a < length) Line(a, 0, thickness);
    }
  }
  // Ticks every `step` pixels, half ticks between: labelled over the page
  // (label(value, offset from the page's edge), the value going up by
  // `stepValue` from 0 at the edge), unlabelled before it down to 0 and
  // after it up to the end of the surface.
  template <typename Label>
  void PaintTicks(std::int32_t step, float stepValue, Label label) const {
    SelectFont(dc, RulerFont());
    SetBkMode(dc, BkMode::Transparent);
    SetTextColour(dc, Black);
    SelectPen(dc, SolidPen(RulerTick));
    const auto tick = [&](std::int64_t a) {
      Line(a, 5, thickness);
      Line(CLng(double(a) + double(step) / 2.0), 15, thickness);
    };
    // A tick shows while it or its half tick is on the image, a label while
    // its text may reach onto it.
    const std::int64_t reach = std::max<std::int64_t>(step, 256);
    const std::int64_t p = step;
    const auto firstFrom = [&](std::int64_t from, std::int64_t at) {
      return at <= from ? std::int64_t(0) : (at - from + p - 1) / p;
    };
    float value = 0;
    const std::int64_t skipped = firstFrom(first, -reach);
    for (std::int64_t k = 0; k < skipped && first + k * p <= last; ++k)
      value = float(RoundHalfEven(double(value + stepValue)));
    for (std::int64_t a = first + skipped * p; a <= last && a < length; a += p) {
      const std::int32_t at = std::int32_t(a);
      if (vertical)
        TextOut(dc, 0, at, label(value, a - first));
      else
        TextOut(dc, at, 0, label(value, a - first));
      tick(a);
      value = float(RoundHalfEven(double(value + stepValue)));
    }
    // Before the page: first, first - p, ... down to 0.
    std::int64_t before = first;
    if (before >= length) before -= (before - length + p) / p * p;  // the first on the image
    for (; before >= 0; before -= p) tick(before);
    // After the page: last, last + p, ... up to the end of the surface.
    const std::int64_t end = std::min<std::int64_t>(surfaceEnd, length - 1);
    for (std::int64_t a = last + firstFrom(last, -p) * p; a <= end; a += p) tick(a);
  }
};

}  // namespace

// ---- The drawing surface ------------------------------------------------------

void DragEditor::PaintSurface() {
  DcHandle dc = Dc();
  FillRect(dc, Rect{0, 0, m_surface->image().width(), m_surface->image().height()}, SurfaceBackColour);
  PaintPage();
  DrawAllObjects();
  SurfaceTouched();
}

void DragEditor::PaintPage() {
  DcHandle dc = Dc();
  float right = 0, bottom = 0;
  ComputePageOrigin(right, bottom);
  std::int32_t l = 0, t = 0, r = 0, b = 0;
  DocToViewRect(m_st, PageOrgX, PageOrgY, right, bottom, l, t, r, b);
  if (m_st.ShowPage) {
    // The page, its frame and its shadow as far as they show.
    const Rect visible = GetClipBox(dc);
    const auto fill = [&](std::int64_t bl, std::int64_t bt, std::int64_t br, std::int64_t bb, Colour c) {
      std::int32_t cl = CLng(double(bl)), ct = CLng(double(bt)), cr = CLng(double(br)), cb = CLng(double(bb));
      if (CutBox(visible, cl, ct, cr, cb)) FillBox(dc, cl, ct, cr, cb, c);
    };
    fill(l, t, r, b, White);
    std::int32_t fl = l, ft = t, fr = r, fb = b;
    if (CutBox(visible, fl, ft, fr, fb)) {
      const Pen oldPen = SelectPen(dc, SolidPen(Black));
      const Brush oldBrush = SelectBrush(dc, Brush::Hollow());
      Rectangle(dc, fl, ft, fr + 1, fb + 1);
      SelectPen(dc, oldPen);
      SelectBrush(dc, oldBrush);
    }
    fill(std::int64_t(r) + 1, std::int64_t(t) + 3, std::int64_t(r) + 3, std::int64_t(b) + 3, PageShadow);
    fill(std::int64_t(l) + 3, std::int64_t(b) + 1, std::int64_t(r) + 3, std::int64_t(b) + 3, PageShadow);
  } else {
    // The host may leave the context in any state; what it selects ends
    // with its drawing.
    SaveDC(dc);
    Host().DrawPage(dc, l, t, r, b);
    RestoreDC(dc, -1);
  }
  m_st.PageCornerX = l;
  m_st.PageCornerY = t;
  m_st.PageEndX = r;
  m_st.PageEndY = b;
  if (m_st.ShowGrid) DrawGrid(l, t, r, b);
  if (m_st.ShowRule) PaintRules(l, t, r, b, false);
}

void DragEditor::DrawGrid(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  // A pitch of 0 or less (a settings file without the grid keys) is no grid.
  if (!(m_st.GridSpaceX > 0.0f) || !(m_st.GridSpaceY > 0.0f)) return;
  DcHandle dc = Dc();
  // Only the dots that show are set.
  const Rect visible = GetClipBox(dc);
  const Span across{visible.left, visible.right};
  const Span down{visible.top, visible.bottom};
  std::vector<std::int32_t> columns;
  const auto dots = [&](auto rows) {
    if (columns.empty()) return;
    rows([&](std::int64_t y) {
      for (const std::int32_t x : columns) SetPixel(dc, x, std::int32_t(y), GridDot);
    });
  };
  const auto column = [&](std::int64_t x) { columns.push_back(std::int32_t(x)); };
  if (m_st.Unit == UnitPixels) {
    // The pitch counts view pixels; each step goes at least one pixel so
    // that a pitch below half a pixel ends too.
    PixelGridAxis(left, right, m_st.GridSpaceX, across, column);
    dots([&](auto each) { PixelGridAxis(top, bottom, m_st.GridSpaceY, down, each); });
    return;
  }
  const float gx = DocToViewX(m_st, m_st.GridSpaceX);
  const float gy = DocToViewY(m_st, m_st.GridSpaceY);
  if (!(gx >= 5.0f && gy >= 5.0f)) return;
  GridAxis(left, m_st.PageWidth / double(m_st.GridSpaceX), m_st.GridSpaceX, m_st.Zoom, across, column);
  dots([&](auto each) {
    GridAxis(top, m_st.PageHeight / double(m_st.GridSpaceY), m_st.GridSpaceY, m_st.Zoom, down, each);
  });
}

// ---- Rulers ---------------------------------------------------------------------

void DragEditor::GetRuleStep(std::int32_t& pixels, float& stepValue) const {
  const auto length = [this](float mm) { return CLng(DocToViewX(m_st, mm)); };
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
  if (m_st.Unit == UnitMillimetres) {
    search(1.0f, 5.0f);
  } else if (m_st.Unit == UnitInches) {
    search(25.4f, 25.4f);
  } else {
    pixels = 50;
    stepValue = 50.0f;
  }
}

void DragEditor::PaintRules(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, bool force) {
  const bool horizontal = left != m_st.RulerCacheLeft || right != m_st.RulerCacheRight || force;
  const bool vertical = top != m_st.RulerCacheTop || bottom != m_st.RulerCacheBottom || force;
  const Ruler hRuler{m_hrule->dc(), false, m_hrule->image().width(), m_hrule->image().height(),
                     left,          right, m_st.SurfaceWidth,        RulerTick};
  const Ruler vRuler{m_vrule->dc(), true,   m_vrule->image().height(), m_vrule->image().width(),
                     top,           bottom, m_st.SurfaceHeight,        VRuleEdge};
  if (horizontal) hRuler.PaintBand();
  if (vertical) vRuler.PaintBand();
  std::int32_t p = 0;
  float s = 0;
  GetRuleStep(p, s);

  // Numbers as the runtime prints them: a blank for the sign, the digits and
  // a trailing blank.
  const auto label = [this](float value, std::int64_t offset) -> QString {
    switch (m_st.Unit) {
      case UnitMillimetres: return StrSingle(value) + QLatin1Char(' ');
      case UnitInches:
        return QLatin1Char(' ') + QString::number(CInt(RoundToSteps(value / 25.4f))) + QStringLiteral(" \"");
      default: return StrLong(offset) + QLatin1Char(' ');
    }
  };
  if (horizontal && p > 0) hRuler.PaintTicks(p, s, label);
  if (vertical && p > 0) vRuler.PaintTicks(p, s, label);
  m_st.RulerCacheLeft = left;
  m_st.RulerCacheTop = top;
  m_st.RulerCacheRight = right;
  m_st.RulerCacheBottom = bottom;
  if ((horizontal || vertical) && m_view) m_view->RulersChanged();
}

void DragEditor::PaintRulerSurfaces() {
  if (m_st.ShowRule) {
    PaintRules(m_st.PageCornerX, m_st.PageCornerY, m_st.PageEndX, m_st.PageEndY, true);
    return;
  }
  // Not painted: the rulers show their background only.
  FillRect(m_hrule->dc(), Rect{0, 0, m_hrule->image().width(), m_hrule->image().height()}, RulerBackColour);
  FillRect(m_vrule->dc(), Rect{0, 0, m_vrule->image().width(), m_vrule->image().height()}, RulerBackColour);
  if (m_view) m_view->RulersChanged();
}

// ---- Objects ---------------------------------------------------------------------

bool DragEditor::ObjectOutline(const ObjectRecord& rec, OutlinePoints& X, OutlinePoints& Y, std::int32_t& x1,
                               std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const {
  X.fill(0);
  Y.fill(0);
  const double angle = double(rec.Angle);
  if (rec.GeomType == GeomLine) {
    std::int32_t a = 0, b = 0, c = 0, d = 0;
    DocToView(m_st, rec.X1, rec.Y1, a, b);
    DocToView(m_st, rec.X2, rec.Y2, c, d);
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
    DocToView(m_st, rec.CenterX - hw, rec.CenterY + hh, X[1], Y[1]);
    DocToView(m_st, rec.CenterX + hw, rec.CenterY + hh, X[2], Y[2]);
    DocToView(m_st, rec.CenterX + hw, rec.CenterY - hh, X[3], Y[3]);
    DocToView(m_st, rec.CenterX - hw, rec.CenterY - hh, X[4], Y[4]);
    x1 = X[4];
    y1 = Y[4];
    x2 = X[2];
    y2 = Y[2];
    std::int32_t cx = 0, cy = 0;
    DocToView(m_st, rec.CenterX, rec.CenterY, cx, cy);
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
  if (r > float(m_st.SurfaceWidth)) r = float(m_st.SurfaceWidth);
  if (b > float(m_st.SurfaceHeight)) b = float(m_st.SurfaceHeight);
  m_st.ExtentLeft = l;
  m_st.ExtentTop = t;
  m_st.ExtentRight = r;
  m_st.ExtentBottom = b;
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
  if (m_st.CurrentTool != ToolSelect && m_st.CurrentTool != ToolRotate) return;
  OutlinePoints X, Y;
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (!ObjectOutline(rec, X, Y, x1, y1, x2, y2)) return;
  if (rec.GeomType == GeomLine) {
    DrawHandle(X[1], Y[1]);
    DrawHandle(X[2], Y[2]);
  } else {
    std::int32_t cx = 0, cy = 0;
    DocToView(m_st, rec.CenterX, rec.CenterY, cx, cy);
    std::int32_t mx[4], my[4];
    const float hw = rec.Width / 2.0f;
    const float hh = rec.Height / 2.0f;
    DocToView(m_st, rec.CenterX, rec.CenterY - hh, mx[0], my[0]);
    DocToView(m_st, rec.CenterX, rec.CenterY + hh, mx[1], my[1]);
    DocToView(m_st, rec.CenterX - hw, rec.CenterY, mx[2], my[2]);
    DocToView(m_st, rec.CenterX + hw, rec.CenterY, mx[3], my[3]);
    for (int i = 0; i < 4; ++i) RotatePointLong(cx, cy, mx[i], my[i], double(rec.Angle));
    for (int i = 1; i <= 4; ++i) DrawHandle(X[i], Y[i]);
    for (int i = 0; i < 4; ++i) DrawHandle(mx[i], my[i]);
  }
  SurfaceTouched();
}

void DragEditor::DrawHandle(std::int32_t x, std::int32_t y) {
  DcHandle dc = Dc();
  const double half = m_st.HandleSize / 2.0;
  const std::int32_t l = CLng(x - half), t = CLng(y - half);
  const std::int32_t r = CLng(x + half), b = CLng(y + half);
  if (m_st.CurrentTool == ToolSelect) {
    FillBox(dc, l, t, r, b, White);
    const Pen oldPen = SelectPen(dc, SolidPen(Black));
    const Brush oldBrush = SelectBrush(dc, Brush::Hollow());
    Rectangle(dc, l, t, r + 1, b + 1);
    SelectPen(dc, oldPen);
    SelectBrush(dc, oldBrush);
  } else if (m_st.CurrentTool == ToolRotate) {
    const Pen oldPen = SelectPen(dc, SolidPen(Black));
    const Brush oldBrush = SelectBrush(dc, Brush::SolidColour(HandleGreen));
    Ellipse(dc, l, t, r + 1, b + 1);
    SelectPen(dc, oldPen);
    SelectBrush(dc, oldBrush);
  }
}

void DragEditor::GetSelectionBounds(std::int32_t& left, std::int32_t& top, std::int32_t& right, std::int32_t& bottom,
                                    bool reset) {
  if (reset) {
    left = top = ExtentStart;
    right = bottom = -ExtentStart;
  }
  for (std::int32_t i = 1; i <= ObjCount && i <= MaxObjects; ++i) {
    const ObjectRecord& rec = Objects[std::size_t(i)];
    if (!rec.IsSelected) continue;
    DrawObjectItem(rec, DrawModeExtents);
    left = std::min(left, CLng(m_st.ExtentLeft));
    top = std::min(top, CLng(m_st.ExtentTop));
    right = std::max(right, CLng(m_st.ExtentRight));
    bottom = std::max(bottom, CLng(m_st.ExtentBottom));
  }
  const std::int32_t hs = m_st.HandleSize;
  left = left == ExtentStart ? 0 : left - hs;
  top = top == ExtentStart ? 0 : top - hs;
  right = right == -ExtentStart ? 0 : right + hs;
  bottom = bottom == -ExtentStart ? 0 : bottom + hs;
}

void DragEditor::RedrawArea(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
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
