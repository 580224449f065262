#include "formats/validation.h"

#include "platform/decimalreader.h"
#include "platform/runtime.h"

namespace pv {

namespace {

constexpr int kFieldWidth = 4;
constexpr int kFieldHeight = 5;
constexpr int kFieldAcross = 6;
constexpr int kFieldDown = 7;

}  // namespace

FormatCheck CheckFormatTexts(const FormatFieldTexts& texts, PrintFormat& out) {
  const int kTextMessages[4] = {15105, 32041, 32039, 32040};
  for (int i = 0; i < 4; ++i) {
    if (Trim(texts[static_cast<size_t>(i)]).isEmpty()) return {kTextMessages[i], i};
  }
  PrintFormat f = out;
  const std::array<double*, 12> numbers = FormatNumbers(f);
  for (int i = 0; i < 12; ++i) {
    const int field = 4 + i;
    const std::optional<double> v = ReadDecimal(texts[static_cast<size_t>(field)]);
    if (!v) return {15101, field};
    if (*v < 0 || *v > 100000) return {15102, field};
    *numbers[static_cast<size_t>(i)] = *v;
  }
  if (f.Width == 0) return {15106, kFieldWidth};
  if (f.Height == 0) return {15107, kFieldHeight};
  if (f.nOri < 1) return {15108, kFieldAcross};
  if (f.nVer < 1) return {15109, kFieldDown};
  const double across = f.Width * f.nOri + (f.nOri - 1) * f.horizpitch + f.LeftMargin + f.rightmargin;
  if (RoundHalfEven(across) > f.sheetwidth) return {15103, -1};
  const double down = f.Height * f.nVer + (f.nVer - 1) * f.vertipitch + f.TopMargin + f.bottommarg;
  if (RoundHalfEven(down) > f.sheetdepth) return {15104, -1};

  f.Code = FormatText(texts[0]);
  f.Description = FormatText(texts[1]);
  f.Category = FormatText(texts[2]);
  f.printer = FormatText(texts[3]);
  out = f;
  return {};
}

}  // namespace pv
