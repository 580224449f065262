#include "formats/wizardcells.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "render/libraries.h"
#include "render/pictures.h"

#include <algorithm>
#include <cmath>

namespace pv {

namespace {

constexpr Colour kBlack = Rgb(0, 0, 0);

// Nearest integer, halves to even.
int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

// A horizontal or vertical line with both end points drawn.
void HLine(DeviceContext* dc, int x1, int x2, int y, Colour c) { FillRect(dc, Rect{x1, y, x2 + 1, y + 1}, c); }
void VLine(DeviceContext* dc, int x, int y1, int y2, Colour c) { FillRect(dc, Rect{x, y1, x + 1, y2 + 1}, c); }

// An outline along the cell's edge pixels (X1..X2-1, Y1..Y2-1), where the
// grid's mark lies too.
void CellOutline(DeviceContext* dc, int X1, int Y1, int X2, int Y2, Colour c) {
  FrameRect(dc, Rect{X1, Y1, X2, Y2}, Brush::SolidColour(c));
}

// The cards' font: the grid's 8-point face; only its weight changes.
Font CardFont(DeviceContext* dc, bool bold) {
  Font f;
  f.face = QStringLiteral("Arial");
  f.height = -Nearest(8.0 * DpiY(dc) / 72.0);
  f.weight = bold ? 700 : 400;
  return f;
}

// The text cursor of a picture surface: each printed line moves it down by
// the font's line height; only x is set between lines.
class TextCursor {
 public:
  explicit TextCursor(DeviceContext* dc) : m_dc(dc) {}
  void At(int x, int y) {
    m_x = x;
    m_y = y;
  }
  void SetX(int x) { m_x = x; }
  int Y() const { return m_y; }
  void PrintLine(const QString& text) {
    TextOut(m_dc, m_x, m_y, text);
    const TextMetrics tm = GetTextMetrics(m_dc);
    m_y += tm.height + tm.externalLeading;
  }

 private:
  DeviceContext* m_dc;
  int m_x = 0, m_y = 0;
};

}  // namespace

CardLabel CardLabelGeometry(double width, double height, int X1, int Y1) {
  CardLabel g;
  g.CX = X1 + 60;
  g.CY = Y1 + 105;
  g.w = Nearest(width * 100.0 / 297.0);
  g.h = Nearest(height * 100.0 / 297.0);
  // A tall label (or a very wide one) is drawn at half the scale.
  if (g.w >= 450 || g.h >= 45) {
    g.w = Nearest(g.w / 2.0);
    g.h = Nearest(g.h / 2.0);
  }
  return g;
}

void PaintModelCard(DeviceContext* dc, int mode, const ModelEntry& e, int X1, int Y1, int X2, int Y2) {
  SaveDC(dc);
  FillRect(dc, Rect{X1, Y1, X2, Y2}, kCardFace);
  CellOutline(dc, X1, Y1, X2, Y2, kBlack);

  SetBkMode(dc, BkMode::Transparent);
  SetTextAlign(dc, TaLeft | TaTop);
  SetTextColour(dc, kBlack);
  SelectFont(dc, CardFont(dc, true));
  TextCursor cursor(dc);
  cursor.At(X1 + 3, Y1 + 3);
  for (int caption : {32026, 32029, 32027, 32028}) {
    cursor.SetX(X1 + 3);
    cursor.PrintLine(LoadResString(caption));
  }

  SelectFont(dc, CardFont(dc, false));
  SetTextColour(dc, kCardRed);
  cursor.At(X1 + 150, Y1 + 3);
  cursor.PrintLine(Trim(e.DimText));
  SetTextColour(dc, kBlack);
  cursor.SetX(X1 + 150);
  cursor.PrintLine(Trim(e.Description));
  cursor.SetX(X1 + 150);
  cursor.PrintLine(mode == 1 ? Trim(e.printer) : LoadResString(32037));
  Rect codes{X1 + 150, cursor.Y(), X2, cursor.Y() + 65};
  DrawText(dc, Trim(e.Codes), &codes, DtWordBreak);

  const CardLabel g = CardLabelGeometry(e.Width, e.Height, X1, Y1);
  const int left = g.CX - g.w, top = g.CY - g.h, right = g.CX + g.w, bottom = g.CY + g.h;
  FillRect(dc, Rect{left, top, right + 1, bottom + 1}, mode == 1 ? kSizeFace : kTemplateFace);
  HLine(dc, left, right, top, kBlack);
  HLine(dc, left, right, bottom, kBlack);
  VLine(dc, left, top, bottom, kBlack);
  VLine(dc, right, top, bottom, kBlack);
  // The shadow under and at the right of the label.
  HLine(dc, left + 2, right + 1, bottom + 1, kBlack);
  VLine(dc, right + 1, top + 2, bottom + 1, kBlack);

  if (mode == 2) {
    // Three lines of text on the label, the first one shorter.
    for (int k = 1; k <= 3; ++k) {
      const int y = Nearest(top + k * (2.0 * g.h / 5.0));
      HLine(dc, left + 5, k == 1 ? g.CX : right - 5, y, kBlack);
    }
    SetTextColour(dc, kCardRed);
    HLine(dc, X1 + 150, X2 - 20, g.CY, kBlack);
    Rect note{X1 + 150, g.CY, X2 - 30, g.CY + 60};
    DrawText(dc, Trim(LoadResString(31036) + e.Description), &note, DtWordBreak);
  }
  RestoreDC(dc, -1);
}

const QImage& BackgroundThumbnails::Get(const QString& file, int width, int height) {
  QImage& image = m_images[file];
  if (image.width() != width || image.height() != height) {
    ImageSurface cell(std::max(1, width), std::max(1, height));
    DrawPictureFile(cell.dc(), Trim(file), Rect{0, 0, width, height});
    image = cell.finish().convertToFormat(QImage::Format_RGB32);
  }
  return image;
}

void PaintBackgroundCell(DeviceContext* dc, const QString& file, int X1, int Y1, int X2, int Y2,
                         BackgroundThumbnails* thumbnails) {
  const Rect cell{X1, Y1, X2, Y2};
  if (thumbnails != nullptr && !RectIsEmpty(cell)) {
    StretchImage(dc, cell, thumbnails->Get(file, X2 - X1, Y2 - Y1));
  } else {
    DrawPictureFile(dc, Trim(file), cell);
  }
  CellOutline(dc, X1, Y1, X2, Y2, kPictureFrame);
}

void PaintBorderCell(DeviceContext* dc, const QString& file, int X1, int Y1, int X2, int Y2) {
  const Rect inset{X1 + 2, Y1 + 2, X2 - 2, Y2 - 2};
  const QByteArray path = Trim(file).toUtf8();
  Libraries().PictorRenderMetaFile(dc, &inset, path.constData());
  CellOutline(dc, X1, Y1, X2, Y2, kPictureFrame);
}

}  // namespace pv
