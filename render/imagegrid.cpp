#include "render/imagegrid.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace pv {

namespace {

constexpr int kMaxCoordinate = std::numeric_limits<std::int16_t>::max();

// Integer conversion of a property let: nearest, halves to even.
std::int16_t ToInteger(double v) {
  const double r = std::nearbyint(v);
  if (!std::isfinite(r) || r < std::numeric_limits<std::int16_t>::min() ||
      r > std::numeric_limits<std::int16_t>::max()) {
    throw std::overflow_error("value does not fit an Integer");
  }
  return static_cast<std::int16_t>(r);
}

std::int16_t Coordinate(double v) {
  return static_cast<std::int16_t>(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
}

}  // namespace

ImageGridLayout ComputeImageGridLayout(int w, int h, int bitmapX, int bitmapY, int spaceX, int spaceY) {
  ImageGridLayout layout;
  const int pitchX = bitmapX + spaceX;
  const int pitchY = bitmapY + spaceY;
  if (pitchX <= 0 || pitchY <= 0 || w <= 0 || h <= 0) return layout;
  layout.cols = static_cast<int>(std::floor(static_cast<float>(w) / static_cast<float>(pitchX)));
  layout.rows = static_cast<int>(std::floor(static_cast<float>(h) / static_cast<float>(pitchY)));
  if (layout.cols <= 0 || layout.rows <= 0) {
    layout.cols = layout.rows = 0;
    return layout;
  }
  layout.xOff = (w - (layout.cols * bitmapX + (layout.cols - 1) * spaceX)) / 2.0;
  layout.yOff = (h - (layout.rows * bitmapY + (layout.rows - 1) * spaceY)) / 2.0;
  return layout;
}

ImageGridCore::ImageGridCore(ImageGridVariant variant, ImageGridHost* host)
    : SpaceX(variant == ImageGridVariant::ImageList ? 5 : 10),
      SpaceY(variant == ImageGridVariant::ImageList ? 5 : 10),
      variant_(variant),
      host_(host),
      surface_(std::make_unique<ImageSurface>(1, 1)) {}

ImageGridCore::~ImageGridCore() = default;

void ImageGridCore::Resize(int width, int height, int scrollBarWidth) {
  surfaceWidth_ = std::clamp(width, 1, kMaxCoordinate);
  surfaceHeight_ = std::clamp(height, 1, kMaxCoordinate);
  scrollBarWidth_ = std::max(0, scrollBarWidth);
  surface_ = std::make_unique<ImageSurface>(surfaceWidth_, surfaceHeight_);
  Paint();
}

ImageGridLayout ImageGridCore::Layout() const {
  return ComputeImageGridLayout(surfaceWidth_ - scrollBarWidth_, surfaceHeight_, BitmapX, BitmapY, SpaceX, SpaceY);
}

Rect ImageGridCore::CellRect(const ImageGridLayout& layout, int k) const {
  const int r = (k - 1) / layout.cols;
  const int c = (k - 1) % layout.cols;
  const std::int16_t x1 = Coordinate(layout.xOff + c * (BitmapX + SpaceX));
  const std::int16_t y1 = Coordinate(layout.yOff + r * (BitmapY + SpaceY));
  return Rect{x1, y1, Coordinate(x1 + BitmapX), Coordinate(y1 + BitmapY)};
}

bool ImageGridCore::VisibleCellRect(int index, Rect& rect) const {
  const ImageGridLayout layout = Layout();
  const int k = index - scroll_.value;
  if (layout.perPage() == 0 || k < 1 || k > layout.perPage() || index > nBitmap) return false;
  rect = CellRect(layout, k);
  return true;
}

int ImageGridCore::CellAt(int x, int y) const {
  const ImageGridLayout layout = Layout();
  for (int k = 1; k <= layout.perPage(); ++k) {
    const int index = k + scroll_.value;
    if (index > nBitmap) break;
    const Rect r = CellRect(layout, k);
    if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) return index;
  }
  return 0;
}

void ImageGridCore::Refresh() {
  scroll_.value = 0;
  Paint();
}

void ImageGridCore::Selected(std::int16_t iIndex) {
  selectedIndex_ = iIndex;
  highlightShown_ = true;
}

void ImageGridCore::SetTag(std::int16_t iValue, int iIndex) {
  if (iIndex < 0 || iIndex >= kTagCount) throw std::out_of_range("tag index out of range");
  tags_[static_cast<std::size_t>(iIndex)] = iValue;
}

std::int16_t ImageGridCore::GetTag(int iIndex) const {
  if (iIndex < 0 || iIndex >= kTagCount) throw std::out_of_range("tag index out of range");
  return tags_[static_cast<std::size_t>(iIndex)];
}

void ImageGridCore::SetImageWidth(double v) { BitmapX = ToInteger(v); }
void ImageGridCore::SetImageHeight(double v) { BitmapY = ToInteger(v); }
void ImageGridCore::SetImageSpaceX(double v) { SpaceX = ToInteger(v); }
void ImageGridCore::SetImageSpaceY(double v) { SpaceY = ToInteger(v); }
void ImageGridCore::SetImageCount(double v) { nBitmap = ToInteger(v); }

void ImageGridCore::ShowBitmap(const QString& FileName, std::int32_t x1, std::int32_t y1, std::int32_t dx,
                               std::int32_t dy) {
  QImage picture;
  if (!picture.load(FileName.trimmed())) throw std::runtime_error("picture file cannot be loaded");
  surface_->painter()->drawImage(QRect(x1, y1, dx, dy), picture);
  Changed(Rect{x1, y1, x1 + dx, y1 + dy});
}

void ImageGridCore::SetScrollValue(int value) {
  value = std::clamp(value, scroll_.minimum, scroll_.maximum);
  if (value == scroll_.value) return;
  scroll_.value = value;
  Paint();
}

void ImageGridCore::ScrollRows(int rows) {
  const int cols = Layout().cols;
  if (!scroll_.enabled || cols == 0 || rows == 0) return;
  // A value the scroll bar left inside a row goes to that row's start first.
  const int row = rows > 0 ? scroll_.value / cols : (scroll_.value + cols - 1) / cols;
  SetScrollValue((row + rows) * cols);
}

void ImageGridCore::Paint() {
  const ImageGridLayout layout = Layout();
  const int perPage = layout.perPage();
  if (perPage == 0) return;

  if (perPage >= nBitmap) {
    scroll_.value = 0;
    scroll_.enabled = false;
  } else {
    scroll_.enabled = true;
    scroll_.minimum = 0;
    scroll_.maximum = nBitmap - perPage;
    scroll_.smallChange = layout.rows;
    scroll_.largeChange = perPage;
    scroll_.value = std::clamp(scroll_.value, 0, scroll_.maximum);
  }
  if (onScrollChanged) onScrollChanged();

  FillRect(surface_->dc(), Rect{0, 0, surfaceWidth_, surfaceHeight_}, Rgb(255, 255, 255));
  markedIndex_ = 0;
  if (variant_ == ImageGridVariant::ImageListNoBorder && host_) host_->Repaint();
  for (int k = 1; k <= perPage; ++k) {
    const int index = k + scroll_.value;
    if (index > nBitmap) break;
    const Rect r = CellRect(layout, k);
    if (host_) {
      host_->PaintImage(static_cast<std::int16_t>(index), static_cast<std::int16_t>(r.left),
                        static_cast<std::int16_t>(r.top), static_cast<std::int16_t>(r.right),
                        static_cast<std::int16_t>(r.bottom), *surface_);
    }
    if (pSelectMode && index == selectedIndex_) {
      DrawMark(r, true);
      markedIndex_ = static_cast<std::int16_t>(index);
    }
  }
  if (onImageChanged) onImageChanged(Rect{0, 0, surfaceWidth_, surfaceHeight_});
}

void ImageGridCore::DrawMark(const Rect& cell, bool on) {
  DeviceContext* dc = surface_->dc();
  if (variant_ == ImageGridVariant::ImageListNoBorder || EvidMode == 0) {
    InvertRect(dc, cell);
    return;
  }
  // Four one-pixel lines two pixels outside the cell, corners included.
  const Colour c = on ? Rgb(0, 0, 255) : Rgb(255, 255, 255);
  const int l = cell.left - 2, t = cell.top - 2, r = cell.right + 2, b = cell.bottom + 2;
  FillRect(dc, Rect{l, t, r + 1, t + 1}, c);
  FillRect(dc, Rect{r, t, r + 1, b + 1}, c);
  FillRect(dc, Rect{l, b, r + 1, b + 1}, c);
  FillRect(dc, Rect{l, t, l + 1, b + 1}, c);
}

void ImageGridCore::Changed(const Rect& r) {
  if (onImageChanged) onImageChanged(r);
}

bool ImageGridCore::MouseMove(int x, int y) const { return Layout().perPage() > 0 && CellAt(x, y) != 0; }

void ImageGridCore::MousePress(int x, int y) {
  const int index = CellAt(x, y);
  if (index == 0) return;
  Rect old;
  if (highlightShown_ && pSelectMode && VisibleCellRect(selectedIndex_, old)) {
    DrawMark(old, false);
    Changed(Rect{old.left - 2, old.top - 2, old.right + 3, old.bottom + 3});
    markedIndex_ = 0;
  }
  VisibleCellRect(index, pressRect_);
  DrawMark(pressRect_, true);
  Changed(Rect{pressRect_.left - 2, pressRect_.top - 2, pressRect_.right + 3, pressRect_.bottom + 3});
  highlightShown_ = true;
  pressedIndex_ = static_cast<std::int16_t>(index);
  markedIndex_ = pressedIndex_;
}

void ImageGridCore::MouseRelease(int x, int y) {
  auto changedAround = [this](const Rect& r) { Changed(Rect{r.left - 2, r.top - 2, r.right + 3, r.bottom + 3}); };
  if (highlightShown_ && !pSelectMode) {
    DrawMark(pressRect_, false);
    changedAround(pressRect_);
    highlightShown_ = false;
    markedIndex_ = 0;
  }
  if (Layout().perPage() == 0) return;
  const int index = CellAt(x, y);
  if (index != 0) {
    if (host_) host_->ClickImage(static_cast<std::int16_t>(index));
    selectedIndex_ = static_cast<std::int16_t>(index);
  }
  if (variant_ == ImageGridVariant::ImageList) {
    selectedIndex_ = pressedIndex_;
    return;
  }
  // The mark follows the selected cell, so that no two cells show marked.
  if (pSelectMode && markedIndex_ != selectedIndex_) {
    Rect r;
    if (markedIndex_ != 0 && VisibleCellRect(markedIndex_, r)) {
      DrawMark(r, false);
      changedAround(r);
    }
    markedIndex_ = 0;
    if (VisibleCellRect(selectedIndex_, r)) {
      DrawMark(r, true);
      changedAround(r);
      markedIndex_ = selectedIndex_;
    }
  }
}

}  // namespace pv
