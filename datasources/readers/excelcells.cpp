#include "datasources/readers/excelcells.h"

#include "datasources/readers/readerkit.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <cstring>

namespace pv::excel {

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

// The day a serial's whole days count to: in the 1900 system serial 1 is
// 1 January 1900, and serial 60 is the 29 February 1900 that Excel counts
// and no calendar holds; in the 1904 system serial 0 is 1 January 1904.
QDate DayOf(qint64 days, bool base1904) {
  if (days < 0 || days > 3000000) return {};  // before the base, or past the year 9999
  if (base1904) return QDate(1904, 1, 1).addDays(days);
  if (days == 60) return {};
  return QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
}

// A letter that shows a part of a date other than its month.
bool IsDateLetter(QChar c) {
  switch (c.toLower().unicode()) {
    case 'y':
    case 'd':
    case 'e':  // a year of the Japanese era
    case 'g':  // the era's name
      return true;
    default: return false;
  }
}

}  // namespace

Shown ShownByCode(QStringView code) {
  bool date = false, time = false, digits = false;
  bool lastWasHour = false;      // the last date or time part was an hour
  bool fractionSeconds = false;  // within the decimals of seconds ("ss.000")
  // Whether the next part after `from` is seconds: an "m" before it is minutes.
  const auto secondsNext = [&code](qsizetype from) {
    for (qsizetype j = from; j < code.size(); ++j) {
      const QChar c = code[j].toLower();
      if (c == QLatin1Char('s')) return true;
      if (c.isLetter() || c == QLatin1Char('"') || c == QLatin1Char(';')) return false;
    }
    return false;
  };
  for (qsizetype i = 0; i < code.size(); ++i) {
    const QChar c = code[i];
    const char16_t lower = c.toLower().unicode();
    const bool wasFraction = fractionSeconds;
    fractionSeconds = false;
    if (lower == ';') break;  // the first section is the one of positive numbers
    if (lower == '"') {
      const qsizetype end = code.indexOf(QLatin1Char('"'), i + 1);
      i = end < 0 ? code.size() : end;
    } else if (lower == '\\' || lower == '_' || lower == '*') {
      ++i;  // a character shown as it is, or a width
    } else if (lower == '[') {
      const qsizetype end = code.indexOf(QLatin1Char(']'), i + 1);
      const QStringView inside = code.mid(i + 1, (end < 0 ? code.size() : end) - i - 1);
      // Elapsed hours, minutes or seconds ("[h]:mm"); colours, conditions
      // and languages are no part of what is shown.
      if (!inside.isEmpty() && inside.count(inside[0]) == inside.size() && QStringView(u"hHmMsS").contains(inside[0])) {
        time = true;
        lastWasHour = inside[0].toLower() == QLatin1Char('h');
      }
      i = end < 0 ? code.size() : end;
    } else if (code.mid(i, 7).compare(u"general", Qt::CaseInsensitive) == 0) {
      i += 6;
    } else if (code.mid(i, 5).compare(u"am/pm", Qt::CaseInsensitive) == 0) {
      time = true;
      i += 4;
    } else if (code.mid(i, 3).compare(u"a/p", Qt::CaseInsensitive) == 0) {
      time = true;
      i += 2;
    } else if (lower == 'h' || lower == 's') {
      time = true;
      lastWasHour = lower == 'h';
      while (i + 1 < code.size() && code[i + 1].toLower() == c.toLower()) ++i;
      if (lower == 's' && i + 1 < code.size() && code[i + 1] == QLatin1Char('.')) {
        ++i;
        fractionSeconds = true;
      }
    } else if (lower == 'm') {
      while (i + 1 < code.size() && code[i + 1].toLower() == QLatin1Char('m')) ++i;
      if (lastWasHour || secondsNext(i + 1)) {
        time = true;
      } else {
        date = true;
      }
      lastWasHour = false;
    } else if (IsDateLetter(c)) {
      date = true;
      lastWasHour = false;
    } else if (lower == '0' && wasFraction) {
      fractionSeconds = true;
    } else if (lower == '0' || lower == '#' || lower == '?') {
      digits = true;
    }
  }
  if (digits || (!date && !time)) return Shown::Number;
  return date ? (time ? Shown::DateTime : Shown::Date) : Shown::Time;
}

Shown ShownByBuiltIn(int index) {
  if ((index >= 14 && index <= 17) || (index >= 27 && index <= 31) || (index >= 34 && index <= 36) ||
      (index >= 50 && index <= 58))
    return Shown::Date;
  if ((index >= 18 && index <= 21) || index == 32 || index == 33 || (index >= 45 && index <= 47)) return Shown::Time;
  if (index == 22) return Shown::DateTime;
  return Shown::Number;
}

Cell NumberCell(double value, Shown shown, bool base1904) {
  if (shown == Shown::Number) return {Cell::Decimal, QVariant(value)};
  if (!std::isfinite(value) || std::fabs(value) > 1e7) return {};
  if (shown == Shown::Time && value >= 0 && value < 1) {
    const qint64 msecs = std::llround(value * kMsecsPerDay);
    return {Cell::Time, QVariant(TimeOfDay(QTime(0, 0)).addMSecs(msecs))};
  }
  const double days = std::floor(value);
  const QDate date = DayOf(static_cast<qint64>(days), base1904);
  if (!date.isValid()) return {};
  const qint64 msecs = std::llround((value - days) * kMsecsPerDay);
  // A date format over a number with a time of day keeps the time.
  if (shown == Shown::Date && msecs == 0) return {Cell::Date, QVariant(date)};
  return {Cell::DateTime, QVariant(QDateTime(date, QTime(0, 0), Qt::UTC).addMSecs(msecs))};
}

Cell WholeCell(qint64 value, Shown shown, bool base1904) {
  if (shown == Shown::Number) return {Cell::Whole, QVariant(value)};
  return NumberCell(static_cast<double>(value), shown, base1904);
}

Cell RkCell(quint32 rk, Shown shown, bool base1904) {
  const bool hundredths = (rk & 1) != 0;
  if ((rk & 2) != 0) {
    const qint32 whole = static_cast<qint32>(rk) >> 2;
    return hundredths ? NumberCell(whole / 100.0, shown, base1904) : WholeCell(whole, shown, base1904);
  }
  const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCu) << 32;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return NumberCell(hundredths ? value / 100 : value, shown, base1904);
}

}  // namespace pv::excel
