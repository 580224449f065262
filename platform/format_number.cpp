// Number patterns: digit placeholders 0 and #, the decimal point, thousands
// grouping and scaling by commas, percent, scientific notation and literals.
#include "platform/format_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pv::fmt {

namespace {

void StripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

void AppendLiteral(std::vector<NumberToken>& tokens, const QString& text) {
  if (!tokens.empty() && tokens.back().kind == NumberToken::Literal) {
    tokens.back().text += text;
  } else {
    tokens.push_back({NumberToken::Literal, text});
  }
}

QString Literals(const std::vector<NumberToken>& tokens) {
  QString out;
  for (const NumberToken& t : tokens) {
    if (t.kind == NumberToken::Literal) out += t.text;
  }
  return out;
}

void AppendReversed(QString& out, const QString& text) {
  for (qsizetype i = text.size(); i > 0; --i) out += text[i - 1];
}

}  // namespace

Decimal DecimalFromDouble(double v, int significant) {
  Decimal d;
  if (!std::isfinite(v) || v == 0.0) return d;
  d.negative = v < 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(v));
  const char* p = buf;
  for (; *p != '\0' && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits += *p;
  }
  d.exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
  StripTrailingZeros(d);
  return d;
}

Decimal DecimalFromInteger(std::int64_t v) {
  Decimal d;
  if (v == 0) return d;
  d.negative = v < 0;
  const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  d.digits = std::to_string(magnitude);
  d.exponent = static_cast<int>(d.digits.size());
  StripTrailingZeros(d);
  return d;
}

Decimal DecimalFromExact(const QString& canonical) {
  Decimal d;
  QStringView t(canonical);
  if (t.startsWith(u'-')) {
    d.negative = true;
    t = t.mid(1);
  }
  const qsizetype point = t.indexOf(u'.');
  const QStringView whole = point < 0 ? t : t.left(point);
  const QStringView fraction = point < 0 ? QStringView() : t.mid(point + 1);
  std::string digits = whole.toLatin1().toStdString() + fraction.toLatin1().toStdString();
  int exponent = static_cast<int>(whole.size());
  const auto first = digits.find_first_not_of('0');
  if (first == std::string::npos) return Decimal{};
  digits.erase(0, first);
  exponent -= static_cast<int>(first);
  d.digits = std::move(digits);
  d.exponent = exponent;
  StripTrailingZeros(d);
  return d;
}

void RoundDigits(Decimal& d, int keep) {
  if (d.IsZero() || keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
      d.digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++d.digits[static_cast<std::size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  StripTrailingZeros(d);
}

NumberSection CompileNumberSection(const QString& section) {
  NumberSection s;
  s.empty = section.isEmpty();
  enum { IntegerPart, FractionPart, AfterExponent } part = IntegerPart;
  struct Raw {
    bool comma;
    NumberToken token;
  };
  std::vector<Raw> integerRaw;
  auto literal = [&](const QString& text) {
    if (part == IntegerPart) {
      if (!integerRaw.empty() && !integerRaw.back().comma && integerRaw.back().token.kind == NumberToken::Literal) {
        integerRaw.back().token.text += text;
      } else {
        integerRaw.push_back({false, {NumberToken::Literal, text}});
      }
    } else {
      AppendLiteral(part == FractionPart ? s.fractionPart : s.afterExponent, text);
    }
  };

  const qsizetype n = section.size();
  qsizetype i = 0;
  while (i < n) {
    QString quoted;
    if (ReadQuoted(section, i, &quoted)) {
      literal(quoted);
      continue;
    }
    const QChar ch = section[i];
    if (part != AfterExponent && (ch == u'0' || ch == u'#')) {
      const NumberToken token{ch == u'0' ? NumberToken::Zero : NumberToken::Hash, {}};
      if (part == IntegerPart) {
        integerRaw.push_back({false, token});
      } else {
        s.fractionPart.push_back(token);
        ++s.fractionDigits;
      }
      ++i;
    } else if (ch == u'.' && part == IntegerPart) {
      s.point = true;
      part = FractionPart;
      ++i;
    } else if (ch == u',') {
      if (part == IntegerPart) integerRaw.push_back({true, {}});
      ++i;
    } else if (ch == u'%') {
      ++s.percents;
      literal(QStringLiteral("%"));
      ++i;
    } else if ((ch == u'E' || ch == u'e') && part != AfterExponent && i + 1 < n &&
               (section[i + 1] == u'+' || section[i + 1] == u'-')) {
      s.scientific = true;
      s.exponentLetter = ch;
      s.exponentAlwaysSigned = section[i + 1] == u'+';
      i += 2;
      while (i < n && (section[i] == u'0' || section[i] == u'#')) {
        if (section[i] == u'0') ++s.exponentMinDigits;
        ++i;
      }
      part = AfterExponent;
    } else {
      literal(QString(ch));
      ++i;
    }
  }

  // Commas after the last integer placeholder scale by a thousand each; any
  // other comma among the integer placeholders turns grouping on.
  qsizetype lastPlaceholder = -1;
  for (qsizetype k = 0; k < static_cast<qsizetype>(integerRaw.size()); ++k) {
    if (!integerRaw[static_cast<std::size_t>(k)].comma &&
        integerRaw[static_cast<std::size_t>(k)].token.kind != NumberToken::Literal) {
      lastPlaceholder = k;
    }
  }
  for (qsizetype k = 0; k < static_cast<qsizetype>(integerRaw.size()); ++k) {
    const Raw& r = integerRaw[static_cast<std::size_t>(k)];
    if (r.comma) {
      if (k > lastPlaceholder) {
        ++s.thousandsScale;
      } else {
        s.grouping = true;
      }
      continue;
    }
    if (r.token.kind == NumberToken::Literal) {
      AppendLiteral(s.integerPart, r.token.text);
    } else {
      s.integerPart.push_back(r.token);
      ++s.integerPlaceholders;
    }
  }
  // Without integer placeholders (".00", ".0E+0") the integer digits still
  // show, just before the point.
  if (s.integerPlaceholders == 0 && (s.point || s.fractionDigits > 0 || s.scientific)) {
    s.integerPart.push_back({NumberToken::Hash, {}});
    s.integerPlaceholders = 1;
  }
  s.placeholders = s.integerPlaceholders + s.fractionDigits > 0;
  bool seenZero = false;
  for (const NumberToken& t : s.integerPart) {
    if (t.kind == NumberToken::Zero) seenZero = true;
    if (seenZero && t.kind != NumberToken::Literal) ++s.minIntegerDigits;
  }
  return s;
}

QString RenderNumber(const NumberSection& s, Decimal d, const FormatConventions& c, bool* shownDigits) {
  *shownDigits = false;
  if (!s.placeholders) return Literals(s.integerPart) + Literals(s.fractionPart) + Literals(s.afterExponent);

  d.negative = false;
  if (!d.IsZero()) d.exponent += 2 * s.percents - 3 * s.thousandsScale;
  int exponent10 = 0;
  if (s.scientific) {
    if (!d.IsZero()) {
      RoundDigits(d, s.integerPlaceholders + s.fractionDigits);
      exponent10 = d.exponent - s.integerPlaceholders;
      d.exponent = s.integerPlaceholders;
    }
  } else {
    RoundDigits(d, d.exponent + s.fractionDigits);
  }
  *shownDigits = !d.IsZero();

  std::string integerDigits;
  std::string fractionDigits;
  const int size = static_cast<int>(d.digits.size());
  for (int k = 0; k < d.exponent; ++k) integerDigits += k < size ? d.digits[static_cast<std::size_t>(k)] : '0';
  for (int k = 0; k < s.fractionDigits; ++k) {
    const int index = d.exponent + k;
    fractionDigits += index >= 0 && index < size ? d.digits[static_cast<std::size_t>(index)] : '0';
  }
  if (static_cast<int>(integerDigits.size()) < s.minIntegerDigits) {
    integerDigits.insert(0, static_cast<std::size_t>(s.minIntegerDigits) - integerDigits.size(), '0');
  }

  // Integer digits fill the placeholders from the right; the leftmost one
  // takes whatever is left.
  QString reversed;
  qsizetype leftmost = 0;
  while (s.integerPart[static_cast<std::size_t>(leftmost)].kind == NumberToken::Literal) ++leftmost;
  auto remaining = integerDigits.size();
  int emitted = 0;
  auto emitDigit = [&]() {
    if (s.grouping && emitted > 0 && emitted % 3 == 0) AppendReversed(reversed, c.thousandsSeparator);
    reversed += QLatin1Char(integerDigits[--remaining]);
    ++emitted;
  };
  for (qsizetype t = static_cast<qsizetype>(s.integerPart.size()) - 1; t >= 0; --t) {
    const NumberToken& token = s.integerPart[static_cast<std::size_t>(t)];
    if (token.kind == NumberToken::Literal) {
      AppendReversed(reversed, token.text);
    } else if (t == leftmost) {
      while (remaining > 0) emitDigit();
    } else if (remaining > 0) {
      emitDigit();
    }
  }
  QString out(reversed.size(), Qt::Uninitialized);
  std::reverse_copy(reversed.cbegin(), reversed.cend(), out.begin());

  if (s.point) out += c.decimalSeparator;
  // Trailing # positions drop their zeros.
  int shown = s.fractionDigits;
  {
    int placeholder = s.fractionDigits;
    for (auto it = s.fractionPart.rbegin(); it != s.fractionPart.rend() && shown > 0; ++it) {
      if (it->kind == NumberToken::Literal) continue;
      --placeholder;
      if (it->kind == NumberToken::Hash && fractionDigits[static_cast<std::size_t>(placeholder)] == '0') {
        --shown;
      } else {
        break;
      }
    }
  }
  int placeholder = 0;
  for (const NumberToken& token : s.fractionPart) {
    if (token.kind == NumberToken::Literal) {
      out += token.text;
    } else {
      if (placeholder < shown) out += QLatin1Char(fractionDigits[static_cast<std::size_t>(placeholder)]);
      ++placeholder;
    }
  }

  if (s.scientific) {
    out += s.exponentLetter;
    if (exponent10 < 0) {
      out += QLatin1Char('-');
    } else if (s.exponentAlwaysSigned) {
      out += QLatin1Char('+');
    }
    QString digits = QString::number(std::abs(exponent10));
    if (digits.size() < s.exponentMinDigits) digits.prepend(QString(s.exponentMinDigits - digits.size(), u'0'));
    out += digits;
    out += Literals(s.afterExponent);
  }
  return out;
}

}  // namespace pv::fmt
