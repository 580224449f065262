#pragma once
// The thumbnail grid without widgets: equal cells laid out in rows and
// columns on a white backing image, scrolled vertically a cell offset at a
// time, picked with the mouse and marked. It never draws a cell's content:
// for each visible cell it asks its host to draw into the cell's rectangle
// of the surface, then draws the mark over it.
//
// Two variants share the design: ImageList (pickers and property windows;
// mark by inversion or a blue frame) and ImageListNoBorder (the new-label
// wizard; wider gaps, always inversion, the selection follows the release,
// a Repaint event before the cells and pictures painted straight on the
// surface).
#include "platform/dc.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace pv {

enum class ImageGridVariant { ImageList, ImageListNoBorder };

// The events of the grid; the host draws the cells.
class ImageGridHost {
 public:
  virtual ~ImageGridHost() = default;
  // Draw cell Index into (X1, Y1)-(X2, Y2) of Pic.
  virtual void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                          ImageSurface& Pic) = 0;
  virtual void ClickImage(std::int16_t /*Index*/) {}
  // ImageListNoBorder: the start of a repaint that has cell places.
  virtual void Repaint() {}
};

// Where the cells of one page lie on a surface of the given size.
struct ImageGridLayout {
  int cols = 0;
  int rows = 0;
  double xOff = 0;
  double yOff = 0;
  int perPage() const { return cols * rows; }
};

// The layout over the area left of the scroll bar (width w, height h).
ImageGridLayout ComputeImageGridLayout(int w, int h, int bitmapX, int bitmapY, int spaceX, int spaceY);

// The grid's scroll bar as the core keeps it; the widget mirrors it.
struct ImageGridScroll {
  int value = 0;
  int minimum = 0;
  int maximum = 0;
  int smallChange = 1;
  int largeChange = 1;
  bool enabled = false;
};

class ImageGridCore {
 public:
  static constexpr int kTagCount = 1025;

  explicit ImageGridCore(ImageGridVariant variant, ImageGridHost* host = nullptr);
  ~ImageGridCore();
  ImageGridCore(const ImageGridCore&) = delete;
  ImageGridCore& operator=(const ImageGridCore&) = delete;

  ImageGridVariant variant() const { return m_variant; }
  void SetHost(ImageGridHost* host) { m_host = host; }

  // Public fields, written by the host; nothing repaints until Refresh.
  std::int16_t BitmapX = 100;
  std::int16_t BitmapY = 100;
  std::int16_t nBitmap = 50;
  std::int16_t SpaceX;
  std::int16_t SpaceY;
  bool pSelectMode = false;
  std::int16_t EvidMode = 0;  // ImageList: 0 inversion, else blue frame

  // The surface: a white image of this size whose right `scrollBarWidth`
  // pixels lie under the scroll bar. Sizes beyond 16-bit coordinates are
  // clamped. Repaints.
  void Resize(int width, int height, int scrollBarWidth);
  ImageSurface& Surface() { return *m_surface; }
  const QImage& Image() const { return m_surface->image(); }

  // Back to the first cell and repaint now.
  void Refresh();
  void Selected(std::int16_t iIndex);
  // Throw std::out_of_range outside 0..1024, changing nothing.
  void SetTag(std::int16_t iValue, int iIndex);
  std::int16_t GetTag(int iIndex) const;

  // The property lets convert to Integer (halves to even) and throw
  // std::overflow_error, changing nothing, when the value does not fit.
  double ImageWidth() const { return BitmapX; }
  void SetImageWidth(double v);
  double ImageHeight() const { return BitmapY; }
  void SetImageHeight(double v);
  double ImageSpaceX() const { return SpaceX; }
  void SetImageSpaceX(double v);
  double ImageSpaceY() const { return SpaceY; }
  void SetImageSpaceY(double v);
  double ImageCount() const { return nBitmap; }
  void SetImageCount(double v);

  // ImageListNoBorder: paints the picture file stretched to dx by dy at
  // (x1, y1) until the next repaint. Throws std::runtime_error when the file
  // cannot be loaded, painting nothing.
  void ShowBitmap(const QString& FileName, std::int32_t x1, std::int32_t y1, std::int32_t dx, std::int32_t dy);

  // The scroll bar's value changed (by the user): repaint.
  void SetScrollValue(int value);
  // The mouse wheel: `rows` rows of cells down (up when negative), to the
  // start of a row and within the scroll bar's range. Nothing while the bar
  // is off.
  void ScrollRows(int rows);
  const ImageGridScroll& Scroll() const { return m_scroll; }

  // The mouse, in surface pixels. MouseMove answers whether the point is over
  // a cell (the widget shows the cell pointer there).
  bool MouseMove(int x, int y) const;
  void MousePress(int x, int y);
  void MouseRelease(int x, int y);

  // Repaint now (every visible cell drawn again by the host).
  void Paint();

  // The cell rectangle of `index` if it is on the visible page.
  bool VisibleCellRect(int index, Rect& rect) const;
  // The index of the existing cell under the point, 0 for none.
  int CellAt(int x, int y) const;
  ImageGridLayout Layout() const;
  int SelectedIndex() const { return m_selectedIndex; }

  // Told whenever part of the image changed outside a full repaint (a mark),
  // and after a full repaint with the whole surface.
  std::function<void(const Rect&)> onImageChanged;
  // Told after the scroll state changed in a repaint.
  std::function<void()> onScrollChanged;

 private:
  Rect CellRect(const ImageGridLayout& layout, int k) const;
  void ToggleMark(const Rect& cell);  // inversion: the same call removes it
  void DrawMark(const Rect& cell, bool on);
  void Changed(const Rect& r);

  ImageGridVariant m_variant;
  ImageGridHost* m_host = nullptr;
  std::unique_ptr<ImageSurface> m_surface;
  int m_surfaceWidth = 0;
  int m_surfaceHeight = 0;
  int m_scrollBarWidth = 0;
  ImageGridScroll m_scroll;
  std::array<std::int16_t, kTagCount> m_tags{};
  std::int16_t m_selectedIndex = 0;
  bool m_highlightShown = false;
  Rect m_pressRect;
  std::int16_t m_pressedIndex = 0;
  std::int16_t m_markedIndex = 0;  // the cell whose mark is on the image, 0 none
};

}  // namespace pv
