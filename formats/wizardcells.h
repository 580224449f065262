#pragma once
// The wizard's cells as the thumbnail grid asks for them: a card for a label
// size or a template (captions, the size, description, printer and codes,
// and a small drawing of the label), the picture of a background, the art of
// a border. Only the lists in memory are read.

#include "platform/dc.h"

#include <QImage>
#include <QString>

#include <map>

namespace pv {

// One entry of the size list (mode 1) or of the template list (mode 2).
struct ModelEntry {
  QString Code;     // the print format applied with it
  QString DimText;  // "100 x 50"
  QString Codes;    // every format code of the size, ", "-joined
  QString Description;
  QString printer;   // mode 1 only
  double Width = 0;  // millimetres
  double Height = 0;
  int ID_TEMPLATE = 0;  // mode 2 only
};

// Card geometry: the drawing of a label of width x height millimetres on a
// card whose top-left corner is (X1, Y1). Its corners (CX - w, CY - h) and
// (CX + w, CY + h) are both drawn (the face is 2w + 1 pixels wide).
struct CardLabel {
  int CX = 0, CY = 0;
  int w = 0, h = 0;  // half-width, half-height
};
CardLabel CardLabelGeometry(double width, double height, int X1, int Y1);

// Colours of the cards and cells.
inline constexpr Colour kCardFace = Rgb(225, 225, 225);
inline constexpr Colour kSizeFace = Rgb(255, 255, 255);
inline constexpr Colour kTemplateFace = Rgb(255, 255, 192);
inline constexpr Colour kCardRed = Rgb(255, 0, 0);
inline constexpr Colour kPictureFrame = Rgb(220, 220, 220);

// The card of entry e (mode 1 sizes, 2 templates) into (X1, Y1)-(X2, Y2).
void PaintModelCard(DeviceContext* dc, int mode, const ModelEntry& e, int X1, int Y1, int X2, int Y2);
// Background pictures drawn once at the cell's size, so that a repaint only
// copies them. Cleared whenever the list is read again.
class BackgroundThumbnails {
 public:
  void Clear() { m_images.clear(); }
  // The file as DrawPictureFile draws it into a width x height cell.
  const QImage& Get(const QString& file, int width, int height);

 private:
  std::map<QString, QImage> m_images;
};

// A background picture stretched over the cell, then the cell's outline;
// through `thumbnails` when given.
void PaintBackgroundCell(DeviceContext* dc, const QString& file, int X1, int Y1, int X2, int Y2,
                         BackgroundThumbnails* thumbnails = nullptr);
// A border metafile 2 pixels inside the cell, then the cell's outline.
void PaintBorderCell(DeviceContext* dc, const QString& file, int X1, int Y1, int X2, int Y2);

}  // namespace pv
