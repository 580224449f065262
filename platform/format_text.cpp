// Text patterns: @ (a character or a blank), & (a character or nothing),
// < and > (lower and upper case), ! (fill from the left) and literals.
#include "platform/format_internal.h"

namespace pv::fmt {

TextSection CompileTextSection(const QString& section) {
  TextSection s;
  auto literal = [&s](const QString& text) {
    if (!s.tokens.empty() && s.tokens.back().kind == TextSection::Token::Literal) {
      s.tokens.back().text += text;
    } else {
      s.tokens.push_back({TextSection::Token::Literal, text});
    }
  };
  qsizetype i = 0;
  while (i < section.size()) {
    QString quoted;
    if (ReadQuoted(section, i, &quoted)) {
      literal(quoted);
      continue;
    }
    const QChar ch = section[i++];
    if (ch == u'@' || ch == u'&') {
      s.tokens.push_back({ch == u'@' ? TextSection::Token::At : TextSection::Token::Ampersand, {}});
      ++s.placeholders;
    } else if (ch == u'<') {
      s.letterCase = TextSection::Lower;
    } else if (ch == u'>') {
      s.letterCase = TextSection::Upper;
    } else if (ch == u'!') {
      s.leftToRight = true;
    } else {
      literal(QString(ch));
    }
  }
  return s;
}

QString RenderText(const TextSection& s, const QString& value) {
  const QString text = s.letterCase == TextSection::Lower   ? value.toLower()
                       : s.letterCase == TextSection::Upper ? value.toUpper()
                                                            : value;
  QString out;
  if (s.placeholders == 0) {
    for (const TextSection::Token& t : s.tokens) out += t.text;
    return out + text;
  }
  const qsizetype length = text.size();
  // Characters that find no placeholder go before the first one (filling
  // from the right) or after the last one (filling from the left); missing
  // characters leave the first (or last) placeholders empty.
  const qsizetype missing = std::max<qsizetype>(0, s.placeholders - length);
  const qsizetype surplus = std::max<qsizetype>(0, length - s.placeholders);
  qsizetype next = 0;  // next character of text
  int placeholder = 0;
  for (const TextSection::Token& t : s.tokens) {
    if (t.kind == TextSection::Token::Literal) {
      out += t.text;
      continue;
    }
    const bool empty = s.leftToRight ? placeholder >= length : placeholder < missing;
    if (!s.leftToRight && placeholder == 0) {
      out += text.left(surplus);
      next = surplus;
    }
    if (empty) {
      if (t.kind == TextSection::Token::At) out += QLatin1Char(' ');
    } else {
      out += text[next++];
    }
    ++placeholder;
    if (s.leftToRight && placeholder == s.placeholders) out += text.mid(next);
  }
  return out;
}

}  // namespace pv::fmt
