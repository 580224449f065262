#include "platform/exactdecimal.h"

#include <QByteArray>
#include <QVariant>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace pv {

namespace {

// An exponent beyond this is no value of a data source: refused rather
// than written out digit by digit.
constexpr int kMaxExponent = 4096;

// The canonical text of sign, integer digits and fraction digits (ASCII).
QString Canonical(bool negative, std::string whole, std::string fraction) {
  const auto firstDigit = whole.find_first_not_of('0');
  whole.erase(0, firstDigit == std::string::npos ? whole.size() : firstDigit);
  const auto lastDigit = fraction.find_last_not_of('0');
  fraction.erase(lastDigit == std::string::npos ? 0 : lastDigit + 1);
  if (whole.empty()) whole = "0";
  const bool zero = whole == "0" && fraction.empty();
  std::string text;
  text.reserve(whole.size() + fraction.size() + 2);
  if (negative && !zero) text += '-';
  text += whole;
  if (!fraction.empty()) {
    text += '.';
    text += fraction;
  }
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The digits of a canonical text as 0.digits x 10^exponent (digits without
// leading or trailing zeros; empty for zero).
struct Scientific {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

Scientific ScientificOf(const QString& text) {
  Scientific s;
  QStringView t(text);
  if (t.startsWith(QLatin1Char('-'))) {
    s.negative = true;
    t = t.mid(1);
  }
  const qsizetype point = t.indexOf(QLatin1Char('.'));
  const QStringView whole = point < 0 ? t : t.left(point);
  const QStringView fraction = point < 0 ? QStringView() : t.mid(point + 1);
  if (whole != QLatin1String("0")) {
    s.exponent = static_cast<int>(whole.size());
    s.digits = whole.toLatin1().toStdString() + fraction.toLatin1().toStdString();
  } else {
    qsizetype zeros = 0;
    while (zeros < fraction.size() && fraction[zeros] == QLatin1Char('0')) ++zeros;
    s.exponent = -static_cast<int>(zeros);
    s.digits = fraction.mid(zeros).toLatin1().toStdString();
  }
  const auto last = s.digits.find_last_not_of('0');
  s.digits.erase(last == std::string::npos ? 0 : last + 1);
  return s;
}

// Compares magnitudes of canonical texts without their signs.
int CompareMagnitude(QStringView a, QStringView b) {
  const qsizetype pa = a.indexOf(QLatin1Char('.'));
  const qsizetype pb = b.indexOf(QLatin1Char('.'));
  const QStringView wa = pa < 0 ? a : a.left(pa);
  const QStringView wb = pb < 0 ? b : b.left(pb);
  if (wa.size() != wb.size()) return wa.size() < wb.size() ? -1 : 1;
  if (const int c = wa.compare(wb); c != 0) return c < 0 ? -1 : 1;
  const QStringView fa = pa < 0 ? QStringView() : a.mid(pa + 1);
  const QStringView fb = pb < 0 ? QStringView() : b.mid(pb + 1);
  const int c = fa.compare(fb);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int Register() {
  const int id = qMetaTypeId<ExactDecimal>();
  QMetaType::registerConverter<ExactDecimal, QString>([](const ExactDecimal& d) { return d.Text(); });
  QMetaType::registerConverter<ExactDecimal, double>([](const ExactDecimal& d) { return d.ToDouble(); });
  return id;
}

// Registered as the library loads, before any value is made.
[[maybe_unused]] const int kRegisteredId = ExactDecimal::MetaTypeId();

}  // namespace

int ExactDecimal::MetaTypeId() {
  static const int id = Register();
  return id;
}

std::optional<ExactDecimal> ExactDecimal::FromText(QStringView text) {
  const QStringView t = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
    negative = t[i] == QLatin1Char('-');
    ++i;
  }
  std::string whole, fraction;
  bool point = false;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    if (c >= u'0' && c <= u'9') {
      (point ? fraction : whole) += static_cast<char>(c);
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  long exponent = 0;
  if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
    ++i;
    bool minus = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
      minus = t[i] == QLatin1Char('-');
      ++i;
    }
    const qsizetype start = i;
    for (; i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i) {
      exponent = exponent * 10 + (t[i].unicode() - u'0');
      if (exponent > kMaxExponent) return std::nullopt;
    }
    if (i == start) return std::nullopt;
    if (minus) exponent = -exponent;
  }
  if (i != t.size()) return std::nullopt;
  // The exponent moves the point.
  if (exponent > 0) {
    const auto moved = std::min<std::size_t>(static_cast<std::size_t>(exponent), fraction.size());
    whole += fraction.substr(0, moved);
    fraction.erase(0, moved);
    whole.append(static_cast<std::size_t>(exponent) - moved, '0');
  } else if (exponent < 0) {
    const auto moved = std::min<std::size_t>(static_cast<std::size_t>(-exponent), whole.size());
    fraction.insert(0, whole.substr(whole.size() - moved));
    whole.erase(whole.size() - moved);
    fraction.insert(0, static_cast<std::size_t>(-exponent) - moved, '0');
  }
  return ExactDecimal(Canonical(negative, std::move(whole), std::move(fraction)));
}

ExactDecimal ExactDecimal::FromScaled(std::int64_t units, int scale) {
  const bool negative = units < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  std::string digits = std::to_string(magnitude);
  scale = std::max(scale, 0);
  if (static_cast<int>(digits.size()) <= scale)
    digits.insert(0, static_cast<std::size_t>(scale) + 1 - digits.size(), '0');
  const std::size_t split = digits.size() - static_cast<std::size_t>(scale);
  return ExactDecimal(Canonical(negative, digits.substr(0, split), digits.substr(split)));
}

ExactDecimal ExactDecimal::FromDouble(double value) {
  if (const auto d = FromText(QString::number(value, 'g', 15))) return *d;
  return ExactDecimal();  // not finite: no decimal stands for it
}

double ExactDecimal::ToDouble() const { return m_text.toDouble(); }

std::optional<std::int64_t> ExactDecimal::ToInt64() const {
  if (m_text.contains(QLatin1Char('.'))) return std::nullopt;
  bool ok = false;
  const qlonglong v = m_text.toLongLong(&ok);
  if (!ok) return std::nullopt;
  return static_cast<std::int64_t>(v);
}

int ExactDecimal::SignificantDigits() const { return static_cast<int>(ScientificOf(m_text).digits.size()); }

int ExactDecimal::Compare(const ExactDecimal& a, const ExactDecimal& b) {
  const bool na = a.IsNegative(), nb = b.IsNegative();
  if (na != nb) return na ? -1 : 1;
  const int c = CompareMagnitude(QStringView(a.m_text).mid(na ? 1 : 0), QStringView(b.m_text).mid(nb ? 1 : 0));
  return na ? -c : c;
}

QByteArray ExactDecimal::SortKey() const {
  const Scientific s = ScientificOf(m_text);
  QByteArray key;
  if (s.digits.empty()) return QByteArray(1, '\x80');
  key.reserve(static_cast<qsizetype>(s.digits.size()) + 6);
  // Sign, then the exponent (biased, big-endian), then the digits; for a
  // negative number every byte inverted and a last 0xff, so that a longer
  // run of digits (a larger magnitude) comes first.
  const std::uint32_t biased = static_cast<std::uint32_t>(s.exponent) + 0x80000000u;
  const auto flip = [&](unsigned char b) { return static_cast<char>(s.negative ? 0xff - b : b); };
  key += s.negative ? '\x7f' : '\x81';
  for (int shift = 24; shift >= 0; shift -= 8) key += flip(static_cast<unsigned char>(biased >> shift));
  for (const char digit : s.digits) key += flip(static_cast<unsigned char>(digit));
  if (s.negative) key += '\xff';
  return key;
}

bool IsExactDecimal(const QVariant& value) { return value.typeId() == ExactDecimal::MetaTypeId(); }

const ExactDecimal* AsExactDecimal(const QVariant& value) {
  return IsExactDecimal(value) ? static_cast<const ExactDecimal*>(value.constData()) : nullptr;
}

}  // namespace pv
