#include "platform/cp1252.h"

#include <QList>

#include <array>

namespace pv {
namespace {

// 0x80..0x9F; 0 marks the bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ByteToUnicode(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) {
    const char16_t u = kHigh[b - 0x80];
    return u != 0 ? u : static_cast<char16_t>(b);
  }
  return static_cast<char16_t>(b);
}

int UnicodeToByte(char32_t u) {
  if (u < 0x80) return static_cast<int>(u);
  if (u >= 0xA0 && u <= 0xFF) return static_cast<int>(u);
  for (int i = 0; i < 32; ++i) {
    const char16_t m = kHigh[static_cast<std::size_t>(i)];
    if (m != 0 && m == u) return 0x80 + i;
    if (m == 0 && u == static_cast<char32_t>(0x80 + i)) return 0x80 + i;
  }
  return -1;
}

}  // namespace

QByteArray ToAnsi(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  const auto ucs4 = text.toUcs4();
  for (char32_t u : ucs4) {
    const int b = UnicodeToByte(u);
    out.append(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

QString FromAnsi(const char* data, qsizetype size) {
  QString out(size, Qt::Uninitialized);
  QChar* to = out.data();
  for (qsizetype i = 0; i < size; ++i) to[i] = QChar(ByteToUnicode(static_cast<unsigned char>(data[i])));
  return out;
}

QString FromAnsi(const QByteArray& bytes) { return FromAnsi(bytes.constData(), bytes.size()); }

}  // namespace pv
