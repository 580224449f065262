#pragma once
// The renderer behind Scriva2's exported functions: one process-wide object
// that holds the text settings, and the two drawing operations.

#include "platform/dc.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace pv {

class TextRenderer {
 public:
  // The longest face name kept, in characters.
  static constexpr int kFaceNameMax = 31;
  // Heights above this are ignored by the size setter and clamped in drawing.
  static constexpr std::int32_t kMaxHeight = 32767;
  // Largest mask ScrivaDrawEx builds on a picture (pixels); a bigger box
  // draws nothing there.
  static constexpr std::int64_t kMaxMaskPixels = 64LL * 1024 * 1024;

  enum Alignment : std::int32_t { AlignLeft = 20, AlignRight = 21, AlignCentre = 22, AlignJustify = 23 };

  TextRenderer() = default;
  virtual ~TextRenderer() = default;
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // The settings, in this order.
  QString faceName = QStringLiteral("arial");
  std::int32_t height = 10;
  std::int32_t weight = 700;
  std::uint8_t italic = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t underline = 0;
  std::uint8_t transparent = 1;
  std::uint8_t antialiased = 1;
  Colour foreColor = 0;
  Colour backColor = 0;
  std::int32_t margin = 1;
  double interline = 1.0;
  std::uint8_t safeDC = 0;
  std::int32_t fillParam1 = 0;
  std::int32_t fillParam2 = 0;
  std::uint8_t fillInverse = 0;

  // Setters with their acceptance rules; each returns what the exported
  // function returns.
  void SetFaceName(const char* utf8);
  std::int32_t SetHeight(std::int32_t size);
  std::int32_t SetMargin(std::int32_t value);

  // Text to the device context, clipped to the rotated rectangle.
  void Draw(DeviceContext* dc, const QString& text, Rect* rect, double angle, std::int32_t alignment);
  // Text filled with a gradient or texture that runs across the box of the
  // turned rectangle, at the opacity: inside the glyphs, or around them
  // with fillInverse.
  void DrawEx(DeviceContext* dc, const QString& text, Rect* rect, double angle, std::int32_t alignment,
              std::int32_t fillStyle, std::int32_t texture, std::int32_t opacity);

  // One laid-out line: its text, where it starts (logical units, turned)
  // and the justification it is written with.
  struct Line {
    QString text;
    Point origin;
    std::int32_t extra = 0;   // extra width spread over ...
    std::int32_t spaces = 0;  // ... this many spaces
  };
  // Lays out all lines of text in rect, measured with the font selected in
  // measureDc (the target device). angle is the one points are rotated by
  // (the negated drawing angle). Lines without text are left out.
  std::vector<Line> LayOutLines(DeviceContext* measureDc, const QString& text, const Rect& rect, double angle,
                                std::int32_t alignment) const;
  // Writes the lines with the font selected in outDc.
  static void WriteLines(DeviceContext* outDc, const std::vector<Line>& lines);
  // Whether the glyphs of every line, written on dc, stay inside deviceBox
  // (device units) with a pixel to spare.
  static bool InkInside(DeviceContext* dc, const std::vector<Line>& lines, const Rect& deviceBox);

  // Integer rotation of (x, y) about (cx, cy) by angle degrees in device
  // coordinates; halves of positive values round up, negative values are
  // truncated toward zero.
  static void RotatePoint(std::int32_t cx, std::int32_t cy, std::int32_t& x, std::int32_t& y, double angle);

  // The pixels of a four-point polygon in device units (those whose centres
  // lie inside, winding rule). An upright rectangle, as every unturned
  // text's is, is built directly as that rectangle (left..right-1 by
  // top..bottom-1), the same pixels without the scan of a general polygon;
  // coordinates far beyond any device are left to the polygon scan.
  static Region PolygonRegion(const Point* devicePoints);

  // Fills the four-point polygon with backColor.
  void FillBackground(DeviceContext* dc, const Point* points) const;

  // The font of a drawing call (weight 700 for the filled text).
  Font MakeFont(double angle, bool filled) const;

  // What Draw and DrawEx set up on the device before drawing: the device
  // saved where safeDC asks, the font selected, the text colour and the
  // transparent background mode.
  struct DrawSetup {
    bool safe = false;
    int safeLevel = 0;
    Font font;
  };
  DrawSetup BeginDraw(DeviceContext* dc, double angle, bool filled) const;

  // What DrawEx fills: the laid-out text (rect, angle as given to
  // LayOutLines), the box the fill runs across, and the fill.
  struct FillJob {
    Rect rect;
    Rect box;
    double angle = 0;
    std::int32_t alignment = AlignLeft;
    std::int32_t fillStyle = 0;
    std::int32_t texture = 0;
    std::int32_t opacity = 100;
  };
  // The ways of DrawEx. A device that takes vectors (a printer, a PDF)
  // gets the text written with the fill as its brush: a gradient as one
  // shading, a texture as one picture for the whole job. What one brush
  // cannot give (the rectangular gradient, the fill around the glyphs) is
  // one fill clipped to the glyph outlines. A picture gets the text as a
  // mask in memory, through which the fill is blended row by row.
  // FillWithBrush answers false, drawing nothing, when the fill is no brush.
  bool FillWithBrush(DeviceContext* dc, const QString& text, const FillJob& job) const;
  void FillOutlines(DeviceContext* dc, const QString& text, const FillJob& job) const;
  void FillMask(DeviceContext* dc, const QString& text, const Font& font, const FillJob& job) const;
  // Whether dc draws to a device that keeps vectors.
  static bool TakesVectors(DeviceContext* dc);
};

// The one renderer of the process.
TextRenderer& TheTextRenderer();

}  // namespace pv
