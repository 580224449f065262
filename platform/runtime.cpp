#include "platform/runtime.h"

#include <QMetaType>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace pv {
namespace {

// Formats v with `precision` significant digits the way the runtime prints
// it: plain up to `maxDigits` integer digits and down to 1E-04, scientific
// beyond; no leading zero before the point, a leading blank when not negative.
QString FormatG(double v, int precision, int maxDigits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", precision - 1, v);
  const char* e = std::strchr(buf, 'e');
  const int exponent = e != nullptr ? std::atoi(e + 1) : 0;
  std::string s;
  if (exponent < -4 || exponent >= maxDigits) {
    std::snprintf(buf, sizeof buf, "%.*G", precision, v);
    s = buf;
  } else {
    const int decimals = std::max(0, precision - 1 - exponent);
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    s = buf;
    if (s.find('.') != std::string::npos) {
      while (!s.empty() && s.back() == '0') s.pop_back();
      if (!s.empty() && s.back() == '.') s.pop_back();
    }
  }
  if (s.rfind("0.", 0) == 0) {
    s.erase(0, 1);
  } else if (s.rfind("-0.", 0) == 0) {
    s.erase(1, 1);
  }
  QString out = QString::fromLatin1(s.c_str());
  if (!(v < 0)) out.prepend(QLatin1Char(' '));
  return out;
}

}  // namespace

QString StrSingle(float v) {
  if (std::isnan(v) || std::isinf(v)) return FormatG(static_cast<double>(v), 7, 7);
  if (v == 0.0f) return QStringLiteral(" 0");
  for (int p = 1; p <= 7; ++p) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", p, static_cast<double>(v));
    if (std::strtof(buf, nullptr) == v) return FormatG(static_cast<double>(v), p, 7);
  }
  return FormatG(static_cast<double>(v), 7, 7);
}

QString StrDouble(double v) {
  if (std::isnan(v) || std::isinf(v)) return FormatG(v, 15, 15);
  if (v == 0.0) return QStringLiteral(" 0");
  for (int p = 1; p <= 15; ++p) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", p, v);
    if (std::strtod(buf, nullptr) == v) return FormatG(v, p, 15);
  }
  return FormatG(v, 15, 15);
}

QString StrLong(long long v) {
  QString s = QString::number(v);
  if (v >= 0) s.prepend(QLatin1Char(' '));
  return s;
}

double Val(const QString& text) {
  const int n = static_cast<int>(text.size());
  int i = 0;
  while (i < n && text[i] == QLatin1Char(' ')) ++i;
  std::string num;
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    num += static_cast<char>(text[i].unicode());
    ++i;
  }
  bool digits = false;
  while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
    num += static_cast<char>(text[i].unicode());
    ++i;
    digits = true;
  }
  if (i < n && text[i] == QLatin1Char('.')) {
    num += '.';
    ++i;
    while (i < n && text[i].unicode() < 128 && text[i].isDigit()) {
      num += static_cast<char>(text[i].unicode());
      ++i;
      digits = true;
    }
  }
  if (!digits) return 0.0;
  if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e') || text[i] == QLatin1Char('D') ||
                text[i] == QLatin1Char('d'))) {
    int j = i + 1;
    std::string ex = "E";
    if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
      ex += static_cast<char>(text[j].unicode());
      ++j;
    }
    bool expDigits = false;
    while (j < n && text[j].unicode() < 128 && text[j].isDigit()) {
      ex += static_cast<char>(text[j].unicode());
      ++j;
      expDigits = true;
    }
    if (expDigits) num += ex;
  }
  const double v = std::strtod(num.c_str(), nullptr);
  if (std::isinf(v)) return v > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
  return v;
}

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  return std::nearbyint(v);  // default rounding mode: to nearest, ties to even
}

namespace {
template <typename T>
T ClampRound(double v, bool* overflow) {
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (std::isnan(v)) {
    if (overflow) *overflow = true;
    return 0;
  }
  const double r = RoundHalfEven(v);
  if (r < lo) {
    if (overflow) *overflow = true;
    return std::numeric_limits<T>::min();
  }
  if (r > hi) {
    if (overflow) *overflow = true;
    return std::numeric_limits<T>::max();
  }
  return static_cast<T>(r);
}
}  // namespace

std::int16_t CInt(double v, bool* overflow) { return ClampRound<std::int16_t>(v, overflow); }
std::int32_t CLng(double v, bool* overflow) { return ClampRound<std::int32_t>(v, overflow); }

QString LTrim(const QString& s) {
  int i = 0;
  while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
  return s.mid(i);
}

QString RTrim(const QString& s) {
  auto n = s.size();
  while (n > 0 && s[n - 1] == QLatin1Char(' ')) --n;
  return s.left(n);
}

QString Trim(const QString& s) { return LTrim(RTrim(s)); }

bool IsNumericMetaType(int metaTypeId) {
  switch (metaTypeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
  }
}

}  // namespace pv
