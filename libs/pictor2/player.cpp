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
    : dc_(dc), frameMap_(frameMap), dpmmX_(dpmmX), dpmmY_(dpmmY), wmf_(wmf) {
  const XForm w = GetWorldTransform(dc_);
  base_ = QTransform(w.m11, w.m12, w.m21, w.m22, w.dx, w.dy);
  hasOuterClip_ = GetClipRegion(dc_, &outerClip_);
  if (wmf_) map_.mode = 8;
  objects_.resize(1);
  // A fresh context's defaults, as the records expect them.
  SelectPen(dc_, CentredPen(Rgb(0, 0, 0)));
  SelectBrush(dc_, Brush::SolidColour(Rgb(255, 255, 255)));
  SelectFont(dc_, Font{});
  SetTextColour(dc_, Rgb(0, 0, 0));
  SetBkColour(dc_, Rgb(255, 255, 255));
  SetBkMode(dc_, BkMode::Opaque);
  SetPolyFillMode(dc_, FillMode::Alternate);
  SetTextAlign(dc_, TaLeft | TaTop);
  SetRop2(dc_, Rop2::CopyPen);
  SetArcDirection(dc_, ArcDirection::CounterClockwise);
  SetStretchMode(dc_, StretchMode::ColorOnColor);  // a blit stretches without smoothing, as GDI's default
  Update();
}

Player::~Player() = default;

QTransform Player::PageToDevice() const {
  double sx = 1, sy = 1;
  switch (map_.mode) {
    case 2:
      sx = dpmmX_ * 0.1;
      sy = -dpmmY_ * 0.1;
      break;
    case 3:
      sx = dpmmX_ * 0.01;
      sy = -dpmmY_ * 0.01;
      break;
    case 4:
      sx = dpmmX_ * 0.254;
      sy = -dpmmY_ * 0.254;
      break;
    case 5:
      sx = dpmmX_ * 0.0254;
      sy = -dpmmY_ * 0.0254;
      break;
    case 6:
      sx = dpmmX_ * 25.4 / 1440;
      sy = -dpmmY_ * 25.4 / 1440;
      break;
    case 7:
    case 8:
      sx = map_.vpExt.x() / map_.winExt.x();
      sy = map_.vpExt.y() / map_.winExt.y();
      if (map_.mode == 7) {
        const double m = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
      }
      break;
    default: break;
  }
  return QTransform(sx, 0, 0, sy, map_.vpOrg.x() - map_.winOrg.x() * sx, map_.vpOrg.y() - map_.winOrg.y() * sy);
}

void Player::Update() {
  const QTransform total = map_.world * PageToDevice() * frameMap_ * base_;
  const double det = total.determinant();
  drawable_ = Finite(total) && std::isfinite(det) && std::abs(det) > 1e-12 && SetWorldTransform(dc_, ToXForm(total));
}

void Player::SetMapMode(int mode) {
  if (wmf_ || mode < 1 || mode > 8) return;
  map_.mode = mode;
  Update();
}
void Player::SetWindowOrg(double x, double y) {
  map_.winOrg = {x, y};
  Update();
}
void Player::SetWindowExt(double x, double y) {
  if (!Usable(x) || !Usable(y)) return;
  map_.winExt = {x, y};
  Update();
}
void Player::SetViewportOrg(double x, double y) {
  if (wmf_) return;
  map_.vpOrg = {x, y};
  Update();
}
void Player::SetViewportExt(double x, double y) {
  if (wmf_ || !Usable(x) || !Usable(y)) return;
  map_.vpExt = {x, y};
  Update();
}
void Player::OffsetWindowOrg(double dx, double dy) {
  map_.winOrg += QPointF(dx, dy);
  Update();
}
void Player::OffsetViewportOrg(double dx, double dy) {
  if (wmf_) return;
  map_.vpOrg += QPointF(dx, dy);
  Update();
}
void Player::ScaleWindowExt(double xNum, double xDen, double yNum, double yDen) {
  if (!Usable(xNum) || !Usable(xDen) || !Usable(yNum) || !Usable(yDen)) return;
  SetWindowExt(map_.winExt.x() * xNum / xDen, map_.winExt.y() * yNum / yDen);
}
void Player::ScaleViewportExt(double xNum, double xDen, double yNum, double yDen) {
  if (!Usable(xNum) || !Usable(xDen) || !Usable(yNum) || !Usable(yDen)) return;
  SetViewportExt(map_.vpExt.x() * xNum / xDen, map_.vpExt.y() * yNum / yDen);
}
void Player::SetWorld(const QTransform& t) {
  if (!Finite(t)) return;
  map_.world = t;
  Update();
}
void Player::SetWmfViewport(const Rect& target) {
  map_.vpOrg = QPointF(target.left, target.top);
  map_.vpExt = QPointF(RectWidth(target), RectHeight(target));
  Update();
}

void Player::ModifyWorld(const QTransform& t, std::uint32_t mode) {
  if (!Finite(t)) return;
  switch (mode) {
    case 1: map_.world = QTransform(); break;
    case 2: map_.world = t * map_.world; break;
    case 3: map_.world = map_.world * t; break;
    case 4: map_.world = t; break;
    default: return;
  }
  Update();
}

void Player::Save() {
  if (saved_.size() >= 4096) return;  // deeper than any drawing needs
  SaveDC(dc_);
  saved_.push_back(map_);
}

void Player::Restore(std::int32_t which) {
  const auto depth = static_cast<std::int64_t>(saved_.size());
  std::int64_t back = 0;
  if (which < 0)
    back = -static_cast<std::int64_t>(which);
  else if (which > 0 && which <= depth)
    back = depth - which + 1;
  if (back <= 0 || back > depth) return;  // not one of the records' own levels
  if (!RestoreDC(dc_, static_cast<int>(-back))) return;
  map_ = saved_[static_cast<std::size_t>(depth - back)];
  saved_.resize(static_cast<std::size_t>(depth - back));
  Update();
}

void Player::SetTableSize(std::size_t size) { objects_.resize(std::clamp<std::size_t>(size, 1, kMaxObjects)); }

void Player::Put(std::uint32_t index, TableObject object) {
  if (index == 0 || index >= kMaxObjects) return;
  if (index >= objects_.size()) objects_.resize(index + 1);
  objects_[index] = std::move(object);
}

std::int64_t Player::FirstFree() const {
  for (std::size_t i = 1; i < objects_.size(); ++i)
    if (std::holds_alternative<std::monostate>(objects_[i])) return static_cast<std::int64_t>(i);
  return objects_.size() < kMaxObjects ? static_cast<std::int64_t>(std::max<std::size_t>(objects_.size(), 1)) : -1;
}

void Player::Select(std::uint32_t index) {
  if (index & 0x80000000u) {
    SelectStock(index & 0x7FFFFFFFu);
    return;
  }
  if (index >= objects_.size()) return;
  const TableObject& o = objects_[index];
  if (const Pen* p = std::get_if<Pen>(&o))
    SelectPen(dc_, *p);
  else if (const Brush* b = std::get_if<Brush>(&o))
    SelectBrush(dc_, *b);
  else if (const Font* f = std::get_if<Font>(&o))
    SelectFont(dc_, *f);
}

void Player::SelectStock(std::uint32_t index) {
  switch (index) {
    case 0: SelectBrush(dc_, Brush::SolidColour(Rgb(255, 255, 255))); break;
    case 1: SelectBrush(dc_, Brush::SolidColour(Rgb(192, 192, 192))); break;
    case 2: SelectBrush(dc_, Brush::SolidColour(Rgb(128, 128, 128))); break;
    case 3: SelectBrush(dc_, Brush::SolidColour(Rgb(64, 64, 64))); break;
    case 4: SelectBrush(dc_, Brush::SolidColour(Rgb(0, 0, 0))); break;
    case 5: SelectBrush(dc_, Brush::Hollow()); break;
    case 6: SelectPen(dc_, CentredPen(Rgb(255, 255, 255))); break;
    case 7: SelectPen(dc_, CentredPen(Rgb(0, 0, 0))); break;
    case 8: SelectPen(dc_, NullPen()); break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17: SelectFont(dc_, Font{}); break;
    case 18: SelectBrush(dc_, Brush::SolidColour(Rgb(255, 255, 255))); break;
    case 19: SelectPen(dc_, CentredPen(Rgb(0, 0, 0))); break;
    default: break;
  }
}

void Player::Delete(std::uint32_t index) {
  if (index < objects_.size()) objects_[index] = std::monostate{};
}

const Brush* Player::BrushAt(std::uint32_t index) const {
  if (index >= objects_.size()) return nullptr;
  return std::get_if<Brush>(&objects_[index]);
}

Region Player::DeviceRegion(const std::vector<QRectF>& rects) const {
  const QTransform toDevice = frameMap_ * base_;
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
  if (hasOuterClip_) SelectClipRegion(dc_, &outerClip_, RegionOp::And);
}

}  // namespace pv::pictor
