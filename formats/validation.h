#pragma once
// The checks a print format passes before it is accepted, over the texts of
// the edit dialog's sixteen fields. Each number is read once, with the
// program's decimal reader, and that value is checked and kept.

#include "formats/printformat.h"

namespace pv {

struct FormatCheck {
  int message = 0;  // string number of the refusal; 0 when every check passed
  int field = -1;   // the dialog field at fault (0-15); -1 for none
  bool ok() const { return message == 0; }
};

// Checks `texts` in order (texts required, numbers readable and within
// 0-100000, a label size, at least one label each way, the labels fitting
// the sheet across and down). When every check passes, the texts and the
// numbers go into `out`; its Label and Type are left alone.
FormatCheck CheckFormatTexts(const FormatFieldTexts& texts, PrintFormat& out);

}  // namespace pv
