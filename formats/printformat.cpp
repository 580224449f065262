#include "formats/printformat.h"

#include "platform/stringtable.h"

namespace pv {

QString FormatText(const QString& text) { return text.left(kFormatTextLength); }

QString FormatTypeName(int type) {
  if (type < kFormatUser || type > kFormatGeneric) return {};
  return LoadResString(16100 + type);
}

std::array<double*, 12> FormatNumbers(PrintFormat& f) {
  return {&f.Width,      &f.Height,      &f.nOri,      &f.nVer,       &f.horizpitch, &f.vertipitch,
          &f.LeftMargin, &f.rightmargin, &f.TopMargin, &f.bottommarg, &f.sheetwidth, &f.sheetdepth};
}

std::array<double, 12> FormatNumbers(const PrintFormat& f) {
  return {f.Width,      f.Height,      f.nOri,      f.nVer,       f.horizpitch, f.vertipitch,
          f.LeftMargin, f.rightmargin, f.TopMargin, f.bottommarg, f.sheetwidth, f.sheetdepth};
}

}  // namespace pv
