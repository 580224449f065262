#include "datasources/readers/accessvalues.h"

#include "datasources/readers/readerkit.h"
#include "platform/exactdecimal.h"

#include <mdbtools.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>

namespace pv {

namespace {

// A calculated column's stored value: where its result's length stands,
// and where the result starts.
constexpr int kCalculatedLengthAt = 16;
constexpr int kCalculatedResultAt = 20;

// The days of an extended date/time count from 1 January of year 1.
constexpr int kExtendedDaysDigits = 19;
constexpr int kExtendedSecondsAt = 20;
constexpr int kExtendedSecondsDigits = 12;
constexpr int kExtendedFractionAt = 33;
constexpr int kExtendedFractionDigits = 7;  // of ten-millionths of a second

const unsigned char* Bytes(QByteArrayView bytes) { return reinterpret_cast<const unsigned char*>(bytes.data()); }

// The digits at a place, as a number; none when any is not a digit.
std::optional<qint64> DigitsAt(QByteArrayView bytes, int at, int count) {
  qint64 value = 0;
  for (int i = at; i < at + count; ++i) {
    const char c = bytes[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

QVariant ExtendedDateTime(QByteArrayView bytes) {
  if (bytes.size() < kExtendedFractionAt + kExtendedFractionDigits || bytes[kExtendedDaysDigits] != ':' ||
      bytes[kExtendedFractionAt - 1] != '.')
    return {};
  const auto days = DigitsAt(bytes, 0, kExtendedDaysDigits);
  const auto seconds = DigitsAt(bytes, kExtendedSecondsAt, kExtendedSecondsDigits);
  const auto fraction = DigitsAt(bytes, kExtendedFractionAt, kExtendedFractionDigits);
  // Access keeps years 1 to 9999.
  constexpr qint64 kLastDay = 3652058;
  if (!days || !seconds || !fraction || *days > kLastDay || *seconds >= 86400) return {};
  // Milliseconds are what a date-time of the data engine holds.
  const QTime time = QTime(0, 0).addMSecs(static_cast<int>(*seconds * 1000 + *fraction / 10000));
  return QDateTime(QDate(1, 1, 1).addDays(*days), time, Qt::UTC);
}

// A calculated decimal: its length (16 bits) less two, its scale, its sign,
// and its digits as a whole number of up to 16 bytes: the leading 4 bytes
// (when the count is not a multiple of 8) and each 8 bytes after them
// little-endian, the groups from the most significant.
QVariant CalculatedDecimal(QByteArrayView bytes) {
  if (bytes.size() < 4) return {};
  const int length = qFromLittleEndian<quint16>(bytes.data());
  const int scale = static_cast<unsigned char>(bytes[2]);
  const bool negative = bytes[3] != 0;
  int digitsBytes = (length > 0 ? length : static_cast<int>(bytes.size()) - 2) - 2;
  digitsBytes = std::min(digitsBytes / 4 * 4, 16);
  if (digitsBytes <= 0 || 4 + digitsBytes > bytes.size() || scale > 28) return {};
  std::array<unsigned char, 16> big{};
  const unsigned char* in = Bytes(bytes) + 4;
  int at = 0;
  const auto group = [&](int size) {
    for (int i = 0; i < size; ++i) big[static_cast<size_t>(at + i)] = in[at + size - 1 - i];
    at += size;
  };
  if (digitsBytes % 8 != 0) group(4);
  while (at < digitsBytes) group(8);
  // The whole number's decimal digits, by long division of its bytes.
  std::string digits;
  bool zero = false;
  while (!zero) {
    int remainder = 0;
    zero = true;
    for (int i = 0; i < digitsBytes; ++i) {
      const int current = (remainder << 8) | big[static_cast<size_t>(i)];
      big[static_cast<size_t>(i)] = static_cast<unsigned char>(current / 10);
      remainder = current % 10;
      zero = zero && big[static_cast<size_t>(i)] == 0;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + remainder));
  }
  if (static_cast<int>(digits.size()) <= scale) digits.insert(0, static_cast<size_t>(scale + 1) - digits.size(), '0');
  if (scale > 0) digits.insert(digits.size() - static_cast<size_t>(scale), 1, '.');
  if (negative) digits.insert(0, 1, '-');
  const auto value = ExactDecimal::FromText(QString::fromLatin1(digits));
  return value ? QVariant::fromValue(*value) : QVariant();
}

// The size of a value of a type kept at a fixed size; 0 for the others.
qsizetype FixedSizeOf(int jetType) {
  switch (jetType) {
    case MDB_BOOL:
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT:
    case MDB_FLOAT: return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME: return 8;
    case MDB_REPID: return 16;
    case kJetExtendedDateTime: return kJetExtendedDateTimeSize;
    default: return 0;
  }
}

}  // namespace

ColumnType JetColumnType(int jetType, bool shortDate) {
  switch (jetType) {
    case MDB_BOOL: return ColumnType::Boolean;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT: return ColumnType::Integer;
    case MDB_FLOAT:
    case MDB_DOUBLE: return ColumnType::Double;
    case MDB_MONEY:
    case MDB_NUMERIC: return ColumnType::Decimal;
    case MDB_DATETIME: return shortDate ? ColumnType::Date : ColumnType::DateTime;
    case kJetExtendedDateTime: return ColumnType::DateTime;
    default: return ColumnType::Text;
  }
}

QVariant JetFixedValue(int jetType, QByteArrayView bytes, bool shortDate) {
  const auto fits = [&](int size) { return bytes.size() >= size; };
  const char* at = bytes.data();
  switch (jetType) {
    case MDB_BOOL: return fits(1) ? QVariant(bytes[0] != 0) : QVariant();
    case MDB_BYTE: return fits(1) ? QVariant(qint64{Bytes(bytes)[0]}) : QVariant();
    case MDB_INT: return fits(2) ? QVariant(qint64{qFromLittleEndian<qint16>(at)}) : QVariant();
    case MDB_LONGINT: return fits(4) ? QVariant(qint64{qFromLittleEndian<qint32>(at)}) : QVariant();
    case MDB_FLOAT: return fits(4) ? QVariant(double{qFromLittleEndian<float>(at)}) : QVariant();
    case MDB_DOUBLE: return fits(8) ? QVariant(qFromLittleEndian<double>(at)) : QVariant();
    // A count of ten-thousandths, exactly.
    case MDB_MONEY:
      return fits(8) ? QVariant::fromValue(ExactDecimal::FromScaled(qFromLittleEndian<qint64>(at), 4)) : QVariant();
    case MDB_DATETIME: {
      if (!fits(8)) return {};
      const QDateTime when = DateTimeFromSerial(qFromLittleEndian<double>(at));
      if (!when.isValid()) return {};
      return shortDate ? QVariant(when.date()) : QVariant(when);
    }
    case MDB_REPID: return fits(16) ? QVariant(JetGuid(bytes)) : QVariant();
    case kJetExtendedDateTime: return ExtendedDateTime(bytes);
    default: return {};
  }
}

QString JetText(QByteArrayView bytes) {
  const unsigned char* b = Bytes(bytes);
  const qsizetype size = bytes.size();
  if (size < 2 || b[0] != 0xff || b[1] != 0xfe) {
    QString text(size / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) text[i] = QChar(qFromLittleEndian<quint16>(b + 2 * i));
    return text;
  }
  QString text;
  text.reserve(size);
  bool compressed = true;
  for (qsizetype i = 2; i < size;) {
    if (b[i] == 0) {
      compressed = !compressed;
      ++i;
    } else if (compressed) {
      text += QChar(b[i++]);
    } else if (i + 1 < size) {
      text += QChar(qFromLittleEndian<quint16>(b + i));
      i += 2;
    } else {
      break;
    }
  }
  return text;
}

QString JetGuid(QByteArrayView bytes) {
  if (bytes.size() < 16) return {};
  const unsigned char* b = Bytes(bytes);
  // Three numbers little-endian, then eight bytes as they stand.
  return QStringLiteral("{%1-%2-%3-%4-%5}")
      .arg(qFromLittleEndian<quint32>(b), 8, 16, QLatin1Char('0'))
      .arg(qFromLittleEndian<quint16>(b + 4), 4, 16, QLatin1Char('0'))
      .arg(qFromLittleEndian<quint16>(b + 6), 4, 16, QLatin1Char('0'))
      .arg(QString::fromLatin1(QByteArray(bytes.data() + 8, 2).toHex()))
      .arg(QString::fromLatin1(QByteArray(bytes.data() + 10, 6).toHex()))
      .toUpper();
}

QVariant JetCalculatedValue(int resultType, QByteArrayView stored, bool shortDate) {
  if (stored.size() < kCalculatedResultAt) return {};
  const qint64 length = qFromLittleEndian<qint32>(stored.data() + kCalculatedLengthAt);
  if (length < 0) return {};
  const QByteArrayView result =
      stored.sliced(kCalculatedResultAt, std::min(length, stored.size() - kCalculatedResultAt));
  switch (resultType) {
    case MDB_TEXT: return JetText(result);
    case MDB_NUMERIC: return CalculatedDecimal(result);
    default:
      // A result of a fixed size stores exactly that many bytes; any other
      // count says the result is of another type than the one read.
      if (result.size() != FixedSizeOf(resultType)) return {};
      return JetFixedValue(resultType, result, shortDate);
  }
}

}  // namespace pv
