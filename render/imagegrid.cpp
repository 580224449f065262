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
      m_variant(variant),
      m_host(host),
      m_surface(std::make_unique<ImageSurface>(1, 1)) {}

ImageGridCore::~ImageGridCore() = default;

void ImageGridCore::Resize(int width, int height, int scrollBarWidth) {
  m_surfaceWidth = std::clamp(width, 1, kMaxCoordinate);
  m_surfaceHeight = std::clamp(height, 1, kMaxCoordinate);
  m_scrollBarWidth = std::max(0, scrollBarWidth);
  m_surface = std::make_unique<ImageSurface>(m_surfaceWidth, m_surfaceHeight);
  Paint();
}

ImageGridLayout ImageGridCore::Layout() const {
  return ComputeImageGridLayout(m_surfaceWidth - m_scrollBarWidth, m_surfaceHeight, BitmapX, BitmapY, SpaceX, SpaceY);
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
  const int k = index - m_scroll.value;
  if (layout.perPage() == 0 || k < 1 || k > layout.perPage() || index > nBitmap) return false;
  rect = CellRect(layout, k);
  return true;
}

int ImageGridCore::CellAt(int x, int y) const {
  const ImageGridLayout layout = Layout();
  for (int k = 1; k <= layout.perPage(); ++k) {
    const int index = k + m_scroll.value;
    if (index > nBitmap) break;
    const Rect r = CellRect(layout, k);
    if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) return index;
  }
  return 0;
}

void ImageGridCore::Refresh() {
  m_scroll.value = 0;
  Paint();
}

void ImageGridCore::Selected(std::int16_t iIndex) {
  m_selectedIndex = iIndex;
  m_highlightShown = true;
}

void ImageGridCore::SetTag(std::int16_t iValue, int iIndex) {
  if (iIndex < 0 || iIndex >= kTagCount) throw std::out_of_range("tag index out of range");
  m_tags[static_cast<std::size_t>(iIndex)] = iValue;
}

std::int16_t ImageGridCore::GetTag(int iIndex) const {
  if (iIndex < 0 || iIndex >= kTagCount) throw std::out_of_range("tag index out of range");
  return m_tags[static_cast<std::size_t>(iIndex)];
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
  m_surface->painter()->drawImage(QRect(x1, y1, dx, dy), picture);
  Changed(Rect{x1, y1, x1 + dx, y1 + dy});
}

void ImageGridCore::SetScrollValue(int value) {
  value = std::clamp(value, m_scroll.minimum, m_scroll.maximum);
  if (value == m_scroll.value) return;
  m_scroll.value = value;
  Paint();
}

void ImageGridCore::ScrollRows(int rows) {
  const int cols = Layout().cols;
  if (!m_scroll.enabled || cols == 0 || rows == 0) return;
  // A value the scroll bar left inside a row goes to that row's start first.
  const int row = rows > 0 ? m_scroll.value / cols : (m_scroll.value + cols - 1) / cols;
  SetScrollValue((row + rows) * cols);
}

void ImageGridCore::Paint() {
  const ImageGridLayout layout = Layout();
  const int perPage = layout.perPage();
  if (perPage == 0) return;

  if (perPage >= nBitmap) {
    m_scroll.value = 0;
    m_scroll.enabled = false;
  } else {
    m_scroll.enabled = true;
    m_scroll.minimum = 0;
    m_scroll.maximum = nBitmap - perPage;
    m_scroll.smallChange = layout.rows;
    m_scroll.largeChange = perPage;
    m_scroll.value = std::clamp(m_scroll.value, 0, m_scroll.maximum);
  }
  if (onScrollChanged) onScrollChanged();

  FillRect(m_surface->dc(), Rect{0, 0, m_surfaceWidth, m_surfaceHeight}, Rgb(255, 255, 255));
  m_markedIndex = 0;
  if (m_variant == ImageGridVariant::ImageListNoBorder && m_host) m_host->Repaint();
  for (int k = 1; k <= perPage; ++k) {
    const int index = k + m_scroll.value;
    if (index > nBitmap) break;
    const Rect r = CellRect(layout, k);
    if (m_host) {
      m_host->PaintImage(static_cast<std::int16_t>(index), static_cast<std::int16_t>(r.left),
                         static_cast<std::int16_t>(r.top), static_cast<std::int16_t>(r.right),
                         static_cast<std::int16_t>(r.bottom), *m_surface);
    }
    if (pSelectMode && index == m_selectedIndex) {
      DrawMark(r, true);
      m_markedIndex = static_cast<std::int16_t>(index);
    }
  }
  if (onImageChanged) onImageChanged(Rect{0, 0, m_surfaceWidth, m_surfaceHeight});
}

void ImageGridCore::DrawMark(const Rect& cell, bool on) {
  DeviceContext* dc = m_surface->dc();
  if (m_variant == ImageGridVariant::ImageListNoBorder || EvidMode == 0) {
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
  if (m_highlightShown && pSelectMode && VisibleCellRect(m_selectedIndex, old)) {
    DrawMark(old, false);
    Changed(Rect{old.left - 2, old.top - 2, old.right + 3, old.bottom + 3});
    m_markedIndex = 0;
  }
  VisibleCellRect(index, m_pressRect);
  DrawMark(m_pressRect, true);
  Changed(Rect{m_pressRect.left - 2, m_pressRect.top - 2, m_pressRect.right + 3, m_pressRect.bottom + 3});
  m_highlightShown = true;
  m_pressedIndex = static_cast<std::int16_t>(index);
  m_markedIndex = m_pressedIndex;
}

void ImageGridCore::MouseRelease(int x, int y) {
  auto changedAround = [this](const Rect& r) { Changed(Rect{r.left - 2, r.top - 2, r.right + 3, r.bottom + 3}); };
  if (m_highlightShown && !pSelectMode) {
    DrawMark(m_pressRect, false);
    changedAround(m_pressRect);
    m_highlightShown = false;
    m_markedIndex = 0;
  }
  if (Layout().perPage() == 0) return;
  const int index = CellAt(x, y);
  if (index != 0) {
    if (m_host) m_host->ClickImage(static_cast<std::int16_t>(index));
    m_selectedIndex = static_cast<std::int16_t>(index);
  }
  if (m_variant == ImageGridVariant::ImageList) {
    m_selectedIndex = m_pressedIndex;
    return;
  }
  // The mark follows the selected cell, so that no two cells show marked.
  if (pSelectMode && m_markedIndex != m_selectedIndex) {
    Rect r;
    if (m_markedIndex != 0 && VisibleCellRect(m_markedIndex, r)) {
      DrawMark(r, false);
      changedAround(r);
    }
    m_markedIndex = 0;
    if (VisibleCellRect(m_selectedIndex, r)) {
      DrawMark(r, true);
      changedAround(r);
      m_markedIndex = m_selectedIndex;
    }
  }
}

}  // namespace pv
