#include "libs/scriva2/linefit.h"

#include <algorithm>
#include <cmath>

namespace pv {

namespace {

QChar CharAt(const QString& text, qsizetype i) { return i < text.size() ? text.at(i) : QChar(u'\0'); }

// Characters whose advance never shrinks the text they are appended to:
// Latin (with Latin-1 and the extended Latin blocks), spacing modifiers,
// dashes, quotes, the other common punctuation and the currency signs.
// Left out: the soft hyphen (drawn only at a line's end), combining marks,
// the fraction slash (it turns the digits around it into a fraction),
// invisible format characters, and every script that joins or reorders
// its letters.
bool Simple(char16_t c) {
  if (c < 0x0300) return c != 0x00AD;
  if (c >= 0x2010 && c <= 0x2027) return true;
  if (c >= 0x2030 && c <= 0x205E) return c != 0x2044;
  if (c >= 0x20A0 && c <= 0x20BF) return true;
  return c == 0x2122;
}

bool AllSimple(const QString& text) {
  return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return Simple(c.unicode()); });
}

bool IsFull(std::int64_t wide, std::int32_t w) { return static_cast<double>(wide) < w * 1.02; }

// After this many interpolated guesses a line is finished by bisection.
constexpr int kGuesses = 8;

}  // namespace

qsizetype NextChar(const QString& text, qsizetype i) {
  if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) return i + 2;
  return i + 1;
}

qsizetype LineBreakAt(const QString& text, qsizetype i) {
  const QChar c = CharAt(text, i);
  if (c == u'\r') return CharAt(text, i + 1) == u'\n' ? 2 : 1;
  if (c == u'\n') return 1;
  return 0;
}

LineFitter::LineFitter(const DeviceContext* dc, const QString& text, double slopeHint)
    : m_dc(dc),
      m_text(text),
      m_searchable(AllSimple(text)),
      m_slope(std::isfinite(slopeHint) && slopeHint > 0 ? slopeHint : 1.0) {}

std::int32_t LineFitter::Extent(qsizetype start, qsizetype end) {
  if (start != m_memoStart) {
    m_memo.clear();
    m_memoStart = start;
  }
  for (auto it = m_memo.rbegin(); it != m_memo.rend(); ++it)
    if (it->first == end) return it->second;
  return Measure(start, end);
}

std::int32_t LineFitter::Measure(qsizetype start, qsizetype end) {
  if (start != m_memoStart) {
    m_memo.clear();
    m_memoStart = start;
  }
  const std::int32_t w = GetTextExtent(m_dc, m_text.mid(start, end - start)).cx;
  ++m_measurements;
  m_memo.emplace_back(end, w);
  return w;
}

LineStop LineFitter::FitByCharacter(qsizetype start, std::int64_t wide) {
  const qsizetype n = m_text.size();
  qsizetype scan = start;
  for (;;) {
    if (IsFull(wide, Measure(start, scan))) return {scan, LineEnd::Full};
    if (scan >= n) return {scan, LineEnd::EndOfText};
    if (LineBreakAt(m_text, scan) > 0) return {scan, LineEnd::LineBreak};
    scan = NextChar(m_text, scan);
  }
}

LineStop LineFitter::Fit(qsizetype start, std::int64_t wide) {
  if (!m_searchable) return FitByCharacter(start, wide);
  const qsizetype n = m_text.size();

  // The first line break (or the end) at or after start; simple text has no
  // surrogate pairs, so the scan positions are start, start + 1, ... up to it.
  if (!(m_breakFrom >= 0 && m_breakFrom <= start && start <= m_breakAt)) {
    qsizetype e = start;
    while (e < n && LineBreakAt(m_text, e) == 0) ++e;
    m_breakFrom = start;
    m_breakAt = e;
  }
  const qsizetype end = m_breakAt;
  const qsizetype last = end - start;  // the longest prefix the scan can reach

  // The scan stops at the shortest full prefix. Appending a character never
  // narrows simple text, so the prefixes are not full up to some length and
  // full from there on: find that length between lo (known not full, -1 for
  // none) and hi (known full, last + 1 for none).
  const double limit = static_cast<double>(wide) / 1.02;
  qsizetype lo = -1;
  qsizetype hi = last + 1;
  std::int32_t wLo = 0;
  std::int32_t wHi = 0;
  for (int guesses = 0; hi - lo > 1; ++guesses) {
    // The guess: where the widths measured so far (or the average character
    // width) put the first full prefix.
    const double ak = lo >= 0 ? static_cast<double>(lo) : 0.0;
    const double aw = lo >= 0 ? static_cast<double>(wLo) : 0.0;
    double slope = m_slope;
    if (hi <= last && static_cast<double>(hi) > ak) slope = (wHi - aw) / (static_cast<double>(hi) - ak);
    qsizetype k;
    if (guesses < kGuesses && slope > 0 && std::isfinite(slope)) {
      const double at = ak + std::floor((limit - aw) / slope) + 1.0;
      k = static_cast<qsizetype>(
          std::clamp(std::isfinite(at) ? at : ak, static_cast<double>(lo + 1), static_cast<double>(hi - 1)));
    } else {
      k = lo + (hi - lo) / 2;
    }
    const std::int32_t w = Extent(start, start + k);
    if (IsFull(wide, w)) {
      hi = k;
      wHi = w;
    } else {
      lo = k;
      wLo = w;
    }
  }
  // The average character width of this line guides the next one.
  if (hi <= last && hi > 0 && wHi > 0)
    m_slope = static_cast<double>(wHi) / static_cast<double>(hi);
  else if (lo > 0 && wLo > 0)
    m_slope = static_cast<double>(wLo) / static_cast<double>(lo);

  if (hi <= last) return {start + hi, LineEnd::Full};
  return {end, end >= n ? LineEnd::EndOfText : LineEnd::LineBreak};
}

}  // namespace pv
