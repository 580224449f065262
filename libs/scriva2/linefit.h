#pragma once
// Where a line of text stops: the scan of the line-breaking rules (grow the
// line one character at a time until the rectangle is full, the text ends or
// a line break comes), answered with few measurements.

#include "platform/dc.h"

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace pv {

enum class LineEnd { None, Full, LineBreak, EndOfText };

struct LineStop {
  qsizetype scan = 0;              // where the scan stopped
  LineEnd reason = LineEnd::None;  // why
};

// Position after the character at i (a surrogate pair is one character).
qsizetype NextChar(const QString& text, qsizetype i);
// Length of the line break at i, or 0. A carriage return with a line feed,
// a lone line feed and a lone carriage return each end a line.
qsizetype LineBreakAt(const QString& text, qsizetype i);

// Measures the lines of one text with the font selected in dc (its text
// justification reset). Every width it uses is a real text extent of the
// device; the search only decides which prefixes are measured.
class LineFitter {
 public:
  // slopeHint: a guess of the average character width (logical units), used
  // only to choose the first prefix measured.
  LineFitter(const DeviceContext* dc, const QString& text, double slopeHint);

  // The stop of the line that starts at start, for a rectangle width wide:
  // the first scan position (start, then one character further each step)
  // where the prefix is full (wide < extent x 1.02), else the end of the
  // text or a line break, whichever comes first.
  //
  // For text of simple alphabetic characters, where appending a character
  // never narrows the text, the position is found by a search over the
  // prefixes (interpolated from the widths measured so far, bisection
  // as a safeguard) that ends on a measured pair: the prefix one character
  // shorter not full and the one there full. Any other text is scanned a
  // character at a time.
  LineStop Fit(qsizetype start, std::int64_t wide);
  // The scan one character at a time, measuring every prefix.
  LineStop FitByCharacter(qsizetype start, std::int64_t wide);

  // Width of the characters [start, end), measured once per line start.
  std::int32_t Extent(qsizetype start, qsizetype end);

  // Whether Fit searches (the text holds only simple characters).
  bool searchable() const { return m_searchable; }
  // Real measurements made so far.
  int measurements() const { return m_measurements; }

 private:
  // Measures [start, end) and remembers it, without looking it up first.
  std::int32_t Measure(qsizetype start, qsizetype end);

  const DeviceContext* m_dc;
  const QString& m_text;
  bool m_searchable;
  double m_slope;
  int m_measurements = 0;
  qsizetype m_memoStart = -1;
  std::vector<std::pair<qsizetype, std::int32_t>> m_memo;  // (end, width) for m_memoStart
  qsizetype m_breakFrom = -1;                              // the line break search started here ...
  qsizetype m_breakAt = -1;                                // ... and found the first one (or the end) here
};

}  // namespace pv
