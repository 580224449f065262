#include "libs/pictor2/player.h"

#include <cmath>
#include <limits>

namespace pv::pictor {
namespace {

constexpr std::size_t kMaxObjects = 65536;

XForm ToXForm(const QTransform& t) {
  XForm x;
  x.m11 = static_cast<float>(t.m11());
  x.m12 = static_cast<float>(t.m12());
  x.m21 = static_cast<float>(t.m21());
  x.m22 = static_cast<float>(t.m22());
  x.dx = static_cast<float>(t.dx());
  x.dy = static_cast<float>(t.dy());
  return x;
}

bool Finite(const QTransform& t) {
  return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) && std::isfinite(t.m22()) &&
         std::isfinite(t.dx()) && std::isfinite(t.dy()) && std::abs(t.dx()) < 1e9 && std::abs(t.dy()) < 1e9;
}

bool Usable(double v) { return std::isfinite(v) && v != 0 && std::abs(v) < 1e9; }

}  // namespace

Colour ColourAt(const RecordView& r, std::size_t off) { return r.U32(off) & 0x00FFFFFFu; }

namespace {
// A metafile's pens are centred on the figure's edge (unless inside-frame).
Pen CentredPen(Colour c) {
  Pen p = SolidPen(c);
  p.insideFrame = false;
  return p;
}
}  // namespace

Player::Player(DeviceContext* dc, const QTransform& frameMap, double dpmmX, double dpmmY, bool wmf)
    : m_dc(dc), m_frameMap(frameMap), m_dpmmX(dpmmX), m_dpmmY(dpmmY), m_wmf(wmf) {
  const XForm w = GetWorldTransform(m_dc);
  m_base = QTransform(w.m11, w.m12, w.m21, w.m22, w.dx, w.dy);
  m_hasOuterClip = GetClipRegion(m_dc, &m_outerClip);
  if (m_wmf) m_map.mode = 8;
  m_objects.resize(1);
  // A fresh context's defaults, as the records expect them.
  SelectPen(m_dc, CentredPen(Rgb(0, 0, 0)));
  SelectBrush(m_dc, Brush::SolidColour(Rgb(255, 255, 255)));
  SelectFont(m_dc, Font{});
  SetTextColour(m_dc, Rgb(0, 0, 0));
  SetBkColour(m_dc, Rgb(255, 255, 255));
  SetBkMode(m_dc, BkMode::Opaque);
  SetPolyFillMode(m_dc, FillMode::Alternate);
  SetTextAlign(m_dc, TaLeft | TaTop);
  SetRop2(m_dc, Rop2::CopyPen);
  SetArcDirection(m_dc, ArcDirection::CounterClockwise);
  SetStretchMode(m_dc, StretchMode::ColorOnColor);  // a blit stretches without smoothing, as GDI's default
  Update();
}

Player::~Player() = default;

QTransform Player::PageToDevice() const {
  double sx = 1, sy = 1;
  switch (m_map.mode) {
    case 2:
      sx = m_dpmmX * 0.1;
      sy = -m_dpmmY * 0.1;
      break;
    case 3:
      sx = m_dpmmX * 0.01;
      sy = -m_dpmmY * 0.01;
      break;
    case 4:
      sx = m_dpmmX * 0.254;
      sy = -m_dpmmY * 0.254;
      break;
    case 5:
      sx = m_dpmmX * 0.0254;
      sy = -m_dpmmY * 0.0254;
      break;
    case 6:
      sx = m_dpmmX * 25.4 / 1440;
      sy = -m_dpmmY * 25.4 / 1440;
      break;
    case 7:
    case 8:
      sx = m_map.vpExt.x() / m_map.winExt.x();
      sy = m_map.vpExt.y() / m_map.winExt.y();
      if (m_map.mode == 7) {
        const double m = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
      }
      break;
    default: break;
  }
  return QTransform(sx, 0, 0, sy, m_map.vpOrg.x() - m_map.winOrg.x() * sx, m_map.vpOrg.y() - m_map.winOrg.y() * sy);
}

void Player::Update() {
  const QTransform total = m_map.world * PageToDevice() * m_frameMap * m_base;
  const double det = total.determinant();
  m_drawable = Finite(total) && std::isfinite(det) && std::abs(det) > 1e-12 && SetWorldTransform(m_dc, ToXForm(total));
}

void Player::SetMapMode(int mode) {
  if (m_wmf || mode < 1 || mode > 8) return;
  m_map.mode = mode;
  Update();
}
void Player::SetWindowOrg(double x, double y) {
  m_map.winOrg = {x, y};
  Update();
}
void Player::SetWindowExt(double x, double y) {
  if (!Usable(x) || !Usable(y)) return;
  m_map.winExt = {x, y};
  Update();
}
void Player::SetViewportOrg(double x, double y) {
  if (m_wmf) return;
  m_map.vpOrg = {x, y};
  Update();
}
void Player::SetViewportExt(double x, double y) {
  if (m_wmf || !Usable(x) || !Usable(y)) return;
  m_map.vpExt = {x, y};
  Update();
}
void Player::OffsetWindowOrg(double dx, double dy) {
  m_map.winOrg += QPointF(dx, dy);
  Update();
}
void Player::OffsetViewportOrg(double dx, double dy) {
  if (m_wmf) return;
  m_map.vpOrg += QPointF(dx, dy);
  Update();
}
void Player::ScaleWindowExt(double xNum, double xDen, double yNum, double yDen) {
  if (!Usable(xNum) || !Usable(xDen) || !Usable(yNum) || !Usable(yDen)) return;
  SetWindowExt(m_map.winExt.x() * xNum / xDen, m_map.winExt.y() * yNum / yDen);
}
void Player::ScaleViewportExt(double xNum, double xDen, double yNum, double yDen) {
  if (!Usable(xNum) || !Usable(xDen) || !Usable(yNum) || !Usable(yDen)) return;
  SetViewportExt(m_map.vpExt.x() * xNum / xDen, m_map.vpExt.y() * yNum / yDen);
}
void Player::SetWorld(const QTransform& t) {
  if (!Finite(t)) return;
  m_map.world = t;
  Update();
}
void Player::SetWmfViewport(const Rect& target) {
  m_map.vpOrg = QPointF(target.left, target.top);
  m_map.vpExt = QPointF(RectWidth(target), RectHeight(target));
  Update();
}

void Player::ModifyWorld(const QTransform& t, std::uint32_t mode) {
  if (!Finite(t)) return;
  switch (mode) {
    case 1: m_map.world = QTransform(); break;
    case 2: m_map.world = t * m_map.world; break;
    case 3: m_map.world = m_map.world * t; break;
    case 4: m_map.world = t; break;
    default: return;
  }
  Update();
}

void Player::Save() {
  if (m_saved.size() >= 4096) return;  // deeper than any drawing needs
  SaveDC(m_dc);
  m_saved.push_back(m_map);
}

void Player::Restore(std::int32_t which) {
  const auto depth = static_cast<std::int64_t>(m_saved.size());
  std::int64_t back = 0;
  if (which < 0)
    back = -static_cast<std::int64_t>(which);
  else if (which > 0 && which <= depth)
    back = depth - which + 1;
  if (back <= 0 || back > depth) return;  // not one of the records' own levels
  if (!RestoreDC(m_dc, static_cast<int>(-back))) return;
  m_map = m_saved[static_cast<std::size_t>(depth - back)];
  m_saved.resize(static_cast<std::size_t>(depth - back));
  Update();
}

void Player::SetTableSize(std::size_t size) { m_objects.resize(std::clamp<std::size_t>(size, 1, kMaxObjects)); }

void Player::Put(std::uint32_t index, TableObject object) {
  if (index == 0 || index >= kMaxObjects) return;
  if (index >= m_objects.size()) m_objects.resize(index + 1);
  m_objects[index] = std::move(object);
}

std::int64_t Player::FirstFree() const {
  for (std::size_t i = 1; i < m_objects.size(); ++i)
    if (std::holds_alternative<std::monostate>(m_objects[i])) return static_cast<std::int64_t>(i);
  return m_objects.size() < kMaxObjects ? static_cast<std::int64_t>(std::max<std::size_t>(m_objects.size(), 1)) : -1;
}

void Player::Select(std::uint32_t index) {
  if (index & 0x80000000u) {
    SelectStock(index & 0x7FFFFFFFu);
    return;
  }
  if (index >= m_objects.size()) return;
  const TableObject& o = m_objects[index];
  if (const Pen* p = std::get_if<Pen>(&o))
    SelectPen(m_dc, *p);
  else if (const Brush* b = std::get_if<Brush>(&o))
    SelectBrush(m_dc, *b);
  else if (const Font* f = std::get_if<Font>(&o))
    SelectFont(m_dc, *f);
}

void Player::SelectStock(std::uint32_t index) {
  switch (index) {
    case 0: SelectBrush(m_dc, Brush::SolidColour(Rgb(255, 255, 255))); break;
    case 1: SelectBrush(m_dc, Brush::SolidColour(Rgb(192, 192, 192))); break;
    case 2: SelectBrush(m_dc, Brush::SolidColour(Rgb(128, 128, 128))); break;
    case 3: SelectBrush(m_dc, Brush::SolidColour(Rgb(64, 64, 64))); break;
    case 4: SelectBrush(m_dc, Brush::SolidColour(Rgb(0, 0, 0))); break;
    case 5: SelectBrush(m_dc, Brush::Hollow()); break;
    case 6: SelectPen(m_dc, CentredPen(Rgb(255, 255, 255))); break;
    case 7: SelectPen(m_dc, CentredPen(Rgb(0, 0, 0))); break;
    case 8: SelectPen(m_dc, NullPen()); break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17: SelectFont(m_dc, Font{}); break;
    case 18: SelectBrush(m_dc, Brush::SolidColour(Rgb(255, 255, 255))); break;
    case 19: SelectPen(m_dc, CentredPen(Rgb(0, 0, 0))); break;
    default: break;
  }
}

void Player::Delete(std::uint32_t index) {
  if (index < m_objects.size()) m_objects[index] = std::monostate{};
}

const Brush* Player::BrushAt(std::uint32_t index) const {
  if (index >= m_objects.size()) return nullptr;
  return std::get_if<Brush>(&m_objects[index]);
}

Region Player::DeviceRegion(const std::vector<QRectF>& rects) const {
  const QTransform toDevice = m_frameMap * m_base;
  std::vector<Rect> out;
  out.reserve(rects.size());
  for (const QRectF& r : rects) {
    const QRectF d = toDevice.mapRect(r.normalized());
    if (!std::isfinite(d.left()) || !std::isfinite(d.right()) || !std::isfinite(d.top()) || !std::isfinite(d.bottom()))
      continue;
    auto clampInt = [](double v) { return static_cast<std::int32_t>(std::clamp(std::round(v), -1e8, 1e8)); };
    out.push_back(Rect{clampInt(d.left()), clampInt(d.top()), clampInt(d.right()), clampInt(d.bottom())});
  }
  return Region::FromRects(out.data(), static_cast<int>(out.size()));
}

void Player::ClipChanged() {
  if (m_hasOuterClip) SelectClipRegion(m_dc, &m_outerClip, RegionOp::And);
}

}  // namespace pv::pictor
