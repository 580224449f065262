// Fuzz entry point for Format(): the bytes give a value and a pattern.
//
//   byte 0        the kind of value (its remainder by 8, below)
//   bytes 1-8     the value's bits, little-endian, where the kind needs them
//   the rest      the pattern, UTF-8; for a text value, the part before the
//                 first zero byte is the text and the part after it the
//                 pattern
//
// Every value also goes through the compiled form kept for the pattern, and
// through the empty pattern.
#include "platform/format.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

std::uint64_t Bits(const std::uint8_t* data, std::size_t size) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8 && i < size; ++i) bits |= std::uint64_t{data[i]} << (8 * i);
  return bits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 8;
  const std::uint8_t* rest = data + 1;
  std::size_t restSize = size - 1;
  auto takeBits = [&]() {
    const std::uint64_t bits = Bits(rest, restSize);
    const std::size_t used = restSize < 8 ? restSize : 8;
    rest += used;
    restSize -= used;
    return bits;
  };

  QVariant value;
  switch (kind) {
    case 0: {  // a double, any bit pattern (NaN and infinities included)
      const std::uint64_t bits = takeBits();
      double d = 0;
      std::memcpy(&d, &bits, sizeof d);
      value = d;
      break;
    }
    case 1: value = static_cast<qint64>(takeBits()); break;
    case 2: {  // text, then the pattern
      const void* zero = std::memchr(rest, 0, restSize);
      const std::size_t textSize =
          zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - rest) : restSize;
      value = QString::fromUtf8(reinterpret_cast<const char*>(rest), static_cast<qsizetype>(textSize));
      const std::size_t skip = zero ? textSize + 1 : textSize;
      rest += skip;
      restSize -= skip;
      break;
    }
    case 3: value = QDate::fromJulianDay(static_cast<qint64>(takeBits())); break;
    case 4: {  // a date and time: the milliseconds since 1970, UTC
      value = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(takeBits()), Qt::UTC);
      break;
    }
    case 5: value = QTime::fromMSecsSinceStartOfDay(static_cast<int>(takeBits() % 86400000u)); break;
    case 6: value = (takeBits() & 1) != 0; break;
    default: break;  // Null
  }

  const QString pattern = QString::fromUtf8(reinterpret_cast<const char*>(rest), static_cast<qsizetype>(restSize));
  const QString text = pv::Format(value, pattern);
  if (text != pv::CompiledFormat::Of(pattern)->Apply(value)) __builtin_trap();
  (void)pv::Format(value, QString());
  return 0;
}

// Each kind of value with patterns of each family.
extern "C" void PlavikFuzzSeeds(void (*add)(const std::uint8_t* data, std::size_t size)) {
  const char* patterns[] = {"",
                            "0",
                            "#,##0.00",
                            "0.00%;(0.00);\"zero\"",
                            "d mmmm yyyy",
                            "dddd dd/mm/yy hh:nn:ss",
                            "mmm-q-ww",
                            "@@@-@",
                            ">&&&&",
                            "Currency",
                            "Long Date",
                            "Yes/No",
                            "0.0E+00",
                            "\\a\"b\"c",
                            "hh:nn AM/PM"};
  const double number = 1234.5;
  const qint64 whole = 376123450000000017;
  const qint64 day = 2460655;
  const qint64 msecs = 1733836800123;
  for (int kind = 0; kind < 8; ++kind) {
    for (const char* p : patterns) {
      QByteArray input(1, static_cast<char>(kind));
      std::uint64_t bits = 0;
      switch (kind) {
        case 0: std::memcpy(&bits, &number, sizeof bits); break;
        case 1: bits = static_cast<std::uint64_t>(whole); break;
        case 3: bits = static_cast<std::uint64_t>(day); break;
        case 4: bits = static_cast<std::uint64_t>(msecs); break;
        case 5: bits = 45296789; break;
        case 6: bits = 1; break;
        default: break;
      }
      if (kind == 2)
        input += QByteArray("Nicolò D'Amico") + '\0';
      else if (kind != 7)
        for (int i = 0; i < 8; ++i) input += static_cast<char>(bits >> (8 * i));
      input += p;
      add(reinterpret_cast<const std::uint8_t*>(input.constData()), static_cast<std::size_t>(input.size()));
    }
  }
}
