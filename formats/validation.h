#pragma once
// The checks a print format passes before it is accepted: the edit dialog's
// over the texts of its sixteen fields, and the same checks over the numbers
// of a format that comes as numbers (a row of an older archive). Each number
// is read once, with the program's decimal reader, and that value is checked
// and kept.

#include "formats/printformat.h"

namespace pv {

struct FormatCheck {
  int message = 0;  // string number of the refusal; 0 when every check passed
  int field = -1;   // the dialog field at fault (0-15); -1 for none
  bool ok() const { return message == 0; }
};

// Checks `texts` in order (texts required, then the numbers as
// CheckFormatNumbers). When every check passes, the texts and the numbers go
// into `out`; its Label and Type are left alone.
FormatCheck CheckFormatTexts(const FormatFieldTexts& texts, PrintFormat& out);

// Checks the twelve numbers of `f` in the dialog's field order: each a number
// (NaN stands for a value that is none) within 0-100000, then a label size,
// at least one label each way, the labels fitting the sheet across and down.
// Infinite and huge values fall outside the range, so every sum the fit
// checks make is finite.
FormatCheck CheckFormatNumbers(const PrintFormat& f);

}  // namespace pv
