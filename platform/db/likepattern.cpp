#include "platform/db/likepattern.h"

#include <QChar>
#include <QVarLengthArray>

namespace pv {

namespace {

// Beyond every Unicode code point.
constexpr char32_t kAnyOne = 0x110000;
constexpr char32_t kAnyRun = 0x110001;

// The code point at `i` (a lone surrogate stands for itself); moves `i` past it.
char32_t NextCodePoint(QStringView s, qsizetype& i) {
  const char16_t c = s[i].unicode();
  if (QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
    const char32_t cp = QChar::surrogateToUcs4(c, s[i + 1].unicode());
    i += 2;
    return cp;
  }
  ++i;
  return c;
}

}  // namespace

LikePattern::LikePattern(QStringView pattern) {
  qsizetype i = 0;
  while (i < pattern.size()) {
    const char32_t c = NextCodePoint(pattern, i);
    const bool run = c == U'*' || c == U'%';
    if (!run && c != U'?' && c != U'_') {
      m_tokens.push_back(QChar::toCaseFolded(c));
      continue;
    }
    // A run of wildcards: its single ones, then one any-run if it has one.
    bool anyRun = run;
    if (!run) m_tokens.push_back(kAnyOne);
    while (i < pattern.size()) {
      const char16_t w = pattern[i].unicode();
      if (w == u'*' || w == u'%') {
        anyRun = true;
      } else if (w == u'?' || w == u'_') {
        m_tokens.push_back(kAnyOne);
      } else {
        break;
      }
      ++i;
    }
    if (anyRun) m_tokens.push_back(kAnyRun);
  }
}

bool LikePattern::Matches(QStringView text) const {
  QVarLengthArray<char32_t, 256> s;
  for (qsizetype i = 0; i < text.size();) s.push_back(QChar::toCaseFolded(NextCodePoint(text, i)));

  // Greedy matching that, on a mismatch, goes back only to the last any-run
  // and lets it take one more character: each any-run ends where the next
  // literal part first fits, which is all a match needs.
  const qsizetype n = s.size();
  const auto m = static_cast<qsizetype>(m_tokens.size());
  qsizetype p = 0, t = 0;
  qsizetype runP = -1, runT = 0;
  while (t < n) {
    if (p < m && m_tokens[static_cast<size_t>(p)] == kAnyRun) {
      runP = p++;
      runT = t;
    } else if (p < m && (m_tokens[static_cast<size_t>(p)] == kAnyOne || m_tokens[static_cast<size_t>(p)] == s[t])) {
      ++p;
      ++t;
    } else if (runP >= 0) {
      p = runP + 1;
      t = ++runT;
    } else {
      return false;
    }
  }
  while (p < m && m_tokens[static_cast<size_t>(p)] == kAnyRun) ++p;
  return p == m;
}

}  // namespace pv
