#pragma once
// Barcodes: the indexed list of formats, the barcode engine that stands where
// the original put an outside barcode control (its twelve properties, set one
// by one, and the picture of the barcode as currently set), and DrawBarcode,
// which stretches that picture into a rectangle of a device context.
//
// The engine is libzint. Its vector output is drawn through the device
// context, never as a raster picture: bars as rectangles (on whole device
// pixels when the mapping keeps them upright), hexagons and rings as paths,
// the human-readable text as text, so print and PDF stay sharp. A text the format cannot
// encode, or a format index outside the list, gives a visible placeholder (a
// grey frame with its diagonals) instead of a barcode; drawing never fails.
//
// Meaning of the properties (the object fields they come from in brackets):
//   Border (Color2)        a frame of that many points around the symbol, in
//                          the bar colour; 0 or less: none
//   BearerBars             ITF formats: bearer bars (ITF-14: the full box)
//   ShowCheckDigit         formats with an optional check character (Code 39,
//                          Code 39 Extended, Codabar, the 2 of 5 family, MSI
//                          Plessey): add it
//   ShowText               the human-readable text under the bars
//   ShowMargins            the quiet zones the format asks for, around the bars
//   ExtraOption1           backslash escapes in the data (\n, \t, \xNN ...)
//   ExtraOption2           matrix formats that allow it: dots instead of squares
//   FormatIndex (Aspect)   index into BarcodeFormatName's list
//   Orientation (Alignment) 0 normal, 1 turned +90 degrees, 2 turned -90, 3
//                          upside down
//   Reduction (Color1)     bar width reduction in per cent of a module (0-90)
//   LineColor              colour of bars and text
//   Data (Content / merge value) the text to encode (UTF-8 to the engine)
#include "platform/dc.h"

#include <QString>
#include <cstdint>
#include <memory>

struct zint_symbol;

namespace pv {

// Formats: index 0 upwards; the index of Code 128 is 10 (what a new barcode
// object gets).
inline constexpr int BarcodeCode128Index = 10;
int BarcodeFormatCount();
// Name of format i; the empty string for an index past the last (or below 0).
QString BarcodeFormatName(int index);
// The libzint symbology of format i; 0 outside the list.
int BarcodeFormatSymbology(int index);

struct BarcodeProperties {
  std::int32_t Border = 0;
  std::int16_t BearerBars = 0;
  std::int16_t ShowCheckDigit = 0;
  std::int16_t ShowText = 1;
  std::int16_t ShowMargins = 0;
  std::int16_t ExtraOption1 = 0;
  std::int16_t ExtraOption2 = 0;
  std::int32_t FormatIndex = BarcodeCode128Index;
  std::int16_t Orientation = 0;
  std::int32_t Reduction = 0;
  Colour LineColor = 0;
  QString Data;
  bool operator==(const BarcodeProperties&) const = default;
};

class BarcodeControl {
 public:
  BarcodeControl();
  ~BarcodeControl();
  BarcodeControl(const BarcodeControl&) = delete;
  BarcodeControl& operator=(const BarcodeControl&) = delete;

  void SetBorder(std::int32_t v);
  void SetBearerBars(std::int16_t v);
  void SetShowCheckDigit(std::int16_t v);
  void SetShowText(std::int16_t v);
  void SetShowMargins(std::int16_t v);
  void SetExtraOption1(std::int16_t v);
  void SetExtraOption2(std::int16_t v);
  void SetFormatIndex(std::int32_t v);
  void SetOrientation(std::int16_t v);
  void SetReduction(std::int32_t v);
  void SetLineColor(Colour v);
  void SetData(const QString& v);
  // Every property at once, through the setters above.
  void SetProperties(const BarcodeProperties& p);

  const BarcodeProperties& Properties() const { return m_props; }
  // Whether the current properties give a barcode (false: the placeholder).
  bool IsValid();
  // The engine's message for the last failed encoding (empty when valid).
  QString ErrorText();

  // The current picture stretched into (x, y, width, height), logical units.
  // pointScale: device pixels per typographic point for the border (0 or less:
  // the context's resolution / 72).
  void Draw(DeviceContext* dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
            float pointScale);

 private:
  struct Symbol;
  void Encode();
  BarcodeProperties m_props;
  bool m_dirty = true;
  std::unique_ptr<Symbol> m_symbol;
  // The engine's symbol, made once and set back to its defaults before each
  // encoding (a merge job encodes anew for every label).
  zint_symbol* m_zint = nullptr;
};

// The one barcode engine of the process (the main window's control).
BarcodeControl& Axbarcode1();

// Plays the engine's current picture into the rectangle; the context's state
// is as before afterwards.
void DrawBarcode(DeviceContext* hDC, std::int32_t& X, std::int32_t& Y, std::int32_t& Width, std::int32_t& Height,
                 float pointScale = 0.0f);

// The placeholder of a barcode that cannot be drawn: a grey frame and its two
// diagonals, inside the rectangle (logical units).
void DrawBarcodePlaceholder(DeviceContext* dc, const Rect& rect);

}  // namespace pv
