#pragma once
// One print format: a kind of label sheet. The label size, how many labels
// lie across and down, the four margins, the gaps between neighbours and the
// sheet size (millimetres), plus a few descriptive texts. Texts hold at most
// 50 characters.

#include <QString>

#include <array>
#include <cstdint>

namespace pv {

inline constexpr int kFormatTextLength = 50;

struct PrintFormat {
  QString Category;
  QString printer;
  std::int16_t Label = 0;  // carried along, never interpreted
  QString Code;            // the key, compared trimmed and without regard to case
  QString Description;
  double Width = 0;
  double Height = 0;
  double nOri = 0;  // labels across
  double nVer = 0;  // labels down
  double TopMargin = 0;
  double bottommarg = 0;
  double LeftMargin = 0;
  double rightmargin = 0;
  double vertipitch = 0;  // gap between two rows
  double horizpitch = 0;  // gap between two columns
  double sheetwidth = 0;
  double sheetdepth = 0;
  std::int16_t Type = 0;

  bool operator==(const PrintFormat&) const = default;
};

// Type codes.
inline constexpr std::int16_t kFormatUser = 0;
inline constexpr std::int16_t kFormatProduct = 1;
inline constexpr std::int16_t kFormatCommercial = 2;
inline constexpr std::int16_t kFormatGeneric = 3;

// A text cut to the 50 characters a format's text field holds.
QString FormatText(const QString& text);

// The name of a type in the lists ("Utente" ... "Altro"); empty for a code
// that is no type.
QString FormatTypeName(int type);

// The texts of the edit dialog's sixteen fields, in its order: code,
// description, category, printer, then the twelve numbers.
inline constexpr int kFormatFieldCount = 16;
using FormatFieldTexts = std::array<QString, kFormatFieldCount>;

// The twelve numbers in the dialog's field order (fields 4 to 15).
std::array<double*, 12> FormatNumbers(PrintFormat& f);
std::array<double, 12> FormatNumbers(const PrintFormat& f);

}  // namespace pv
