#include "formats/validation.h"

#include "platform/decimalreader.h"
#include "platform/runtime.h"

#include <cmath>
#include <limits>

namespace pv {

namespace {

constexpr int kFirstNumberField = 4;
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
  for (size_t i = 0; i < numbers.size(); ++i) {
    const std::optional<double> v = ReadDecimal(texts[kFirstNumberField + i]);
    *numbers[i] = v ? *v : std::numeric_limits<double>::quiet_NaN();
  }
  if (const FormatCheck check = CheckFormatNumbers(f); !check.ok()) return check;

  f.Code = FormatText(texts[0]);
  f.Description = FormatText(texts[1]);
  f.Category = FormatText(texts[2]);
  f.printer = FormatText(texts[3]);
  out = f;
  return {};
}

FormatCheck CheckFormatNumbers(const PrintFormat& f) {
  const std::array<double, 12> numbers = FormatNumbers(f);
  for (size_t i = 0; i < numbers.size(); ++i) {
    const int field = kFirstNumberField + static_cast<int>(i);
    if (std::isnan(numbers[i])) return {15101, field};
    if (!(numbers[i] >= 0 && numbers[i] <= 100000)) return {15102, field};
  }
  if (f.Width == 0) return {15106, kFieldWidth};
  if (f.Height == 0) return {15107, kFieldHeight};
  if (f.nOri < 1) return {15108, kFieldAcross};
  if (f.nVer < 1) return {15109, kFieldDown};
  const double across = f.Width * f.nOri + (f.nOri - 1) * f.horizpitch + f.LeftMargin + f.rightmargin;
  if (RoundHalfEven(across) > f.sheetwidth) return {15103, -1};
  const double down = f.Height * f.nVer + (f.nVer - 1) * f.vertipitch + f.TopMargin + f.bottommarg;
  if (RoundHalfEven(down) > f.sheetdepth) return {15104, -1};
  return {};
}

}  // namespace pv
