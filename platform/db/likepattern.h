#pragma once
// The pattern of a criteria's LIKE: * or % stand for any run of characters
// (none too), ? or _ for one character; every other character stands for
// itself in any letter case (simple Unicode case folding, as text compares
// everywhere in criteria.h). The whole text must match.
//
// A run of wildcards means what its ? and _ ask plus, when it holds a * or %,
// any run: it is kept as that, so a pattern of thousands of wildcards costs
// no more than one. Matching has no backtracking blow-up: at worst it costs
// the pattern's length times the text's.

#include <QString>
#include <QStringView>

#include <vector>

namespace pv {

class LikePattern {
 public:
  LikePattern() = default;
  explicit LikePattern(QStringView pattern);

  bool Matches(QStringView text) const;

 private:
  std::vector<char32_t> m_tokens;  // folded characters, kAnyOne and kAnyRun
};

}  // namespace pv
