// Date and time patterns, and the serial date numbers that let numbers and
// dates stand for each other (day 0 is 30 December 1899, the fraction the
// time of day).
#include "platform/format_internal.h"

#include <cmath>

namespace pv::fmt {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr double kFirstSerial = -657434.0;        // 1 January 100
constexpr double kLastSerial = 2958465.99999999;  // 31 December 9999, end of day

qsizetype RunOf(const QString& s, qsizetype i, char16_t lower) {
  qsizetype k = i;
  while (k < s.size() && s[k].toLower() == QChar(lower)) ++k;
  return k - i;
}

bool StartsWithNoCase(const QString& s, qsizetype i, QLatin1StringView word) {
  return QStringView(s).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

void AddLiteral(DateSection& s, const QString& text) {
  if (!s.tokens.empty() && s.tokens.back().kind == DateToken::Literal) {
    s.tokens.back().text += text;
  } else {
    s.tokens.push_back({DateToken::Literal, text, {}, {}});
  }
}

void Compile(DateSection& s, const QString& section, const FormatConventions& c, int depth) {
  DateToken::Kind lastField = DateToken::Literal;
  auto add = [&](DateToken::Kind kind) {
    s.tokens.push_back({kind, {}, {}, {}});
    lastField = kind;
  };
  auto expand = [&](const QString& pattern) {
    if (depth == 0) Compile(s, pattern, c, depth + 1);
    lastField = DateToken::Literal;
  };
  const qsizetype n = section.size();
  qsizetype i = 0;
  while (i < n) {
    QString quoted;
    if (ReadQuoted(section, i, &quoted)) {
      AddLiteral(s, quoted);
      continue;
    }
    const QChar ch = section[i];
    const char16_t lower = ch.toLower().unicode();
    switch (lower) {
      case u'd': {
        const qsizetype run = std::min<qsizetype>(RunOf(section, i, u'd'), 6);
        const DateToken::Kind kinds[] = {DateToken::Day, DateToken::Day2, DateToken::DayAbbr, DateToken::DayName};
        if (run <= 4) {
          add(kinds[run - 1]);
        } else {
          expand(run == 5 ? c.shortDate : c.longDate);
        }
        i += run;
        break;
      }
      case u'w': {
        const qsizetype run = std::min<qsizetype>(RunOf(section, i, u'w'), 2);
        add(run == 1 ? DateToken::Weekday : DateToken::Week);
        i += run;
        break;
      }
      case u'm': {
        const qsizetype run = std::min<qsizetype>(RunOf(section, i, u'm'), 4);
        const bool minute = run <= 2 && (lastField == DateToken::Hour || lastField == DateToken::Hour2);
        const DateToken::Kind kinds[] = {DateToken::Month, DateToken::Month2, DateToken::MonthAbbr,
                                         DateToken::MonthName};
        if (minute) {
          add(run == 1 ? DateToken::Minute : DateToken::Minute2);
        } else {
          add(kinds[run - 1]);
        }
        i += run;
        break;
      }
      case u'y': {
        const qsizetype run = RunOf(section, i, u'y');
        if (run >= 4) {
          add(DateToken::Year4);
          i += 4;
        } else if (run >= 2) {
          add(DateToken::Year2);
          i += 2;
        } else {
          add(DateToken::DayOfYear);
          i += 1;
        }
        break;
      }
      case u'h':
      case u'n':
      case u's': {
        const qsizetype run = std::min<qsizetype>(RunOf(section, i, lower), 2);
        const DateToken::Kind one = lower == u'h'   ? DateToken::Hour
                                    : lower == u'n' ? DateToken::Minute
                                                    : DateToken::Second;
        const DateToken::Kind two = lower == u'h'   ? DateToken::Hour2
                                    : lower == u'n' ? DateToken::Minute2
                                                    : DateToken::Second2;
        add(run == 1 ? one : two);
        i += run;
        break;
      }
      case u'q':
        add(DateToken::Quarter);
        ++i;
        break;
      case u'c':
        add(DateToken::GeneralDate);
        ++i;
        break;
      case u't':
        if (RunOf(section, i, u't') >= 5) {
          expand(c.longTime);
          i += 5;
        } else {
          AddLiteral(s, QString(ch));
          ++i;
        }
        break;
      case u'a': {
        const bool upper = ch.isUpper();
        if (StartsWithNoCase(section, i, QLatin1StringView("am/pm"))) {
          s.tokens.push_back({DateToken::AmPm,
                              {},
                              upper ? QStringLiteral("AM") : QStringLiteral("am"),
                              upper ? QStringLiteral("PM") : QStringLiteral("pm")});
          s.twelveHour = true;
          i += 5;
        } else if (StartsWithNoCase(section, i, QLatin1StringView("a/p"))) {
          s.tokens.push_back({DateToken::AmPm,
                              {},
                              upper ? QStringLiteral("A") : QStringLiteral("a"),
                              upper ? QStringLiteral("P") : QStringLiteral("p")});
          s.twelveHour = true;
          i += 3;
        } else {
          AddLiteral(s, QString(ch));
          ++i;
        }
        break;
      }
      case u'/':
        AddLiteral(s, c.dateSeparator);
        ++i;
        break;
      case u':':
        AddLiteral(s, c.timeSeparator);
        ++i;
        break;
      default:
        AddLiteral(s, QString(ch));
        ++i;
        break;
    }
  }
}

QString Two(int v) { return QString::number(v).rightJustified(2, u'0'); }

// Entry `index` of a table of names; empty text for an index outside it.
// Dates reach here valid, so this only keeps a date Qt cannot spell (month
// or weekday 0) from reading outside the table.
template <std::size_t N>
QString NameAt(const std::array<QString, N>& names, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < N ? names[static_cast<std::size_t>(index)] : QString();
}

// The week of the year when weeks start on Sunday and the first week is the
// one holding 1 January.
int WeekOfYear(const QDate& d) {
  const int firstWeekday = QDate(d.year(), 1, 1).dayOfWeek() % 7;  // Sunday 0
  return (d.dayOfYear() - 1 + firstWeekday) / 7 + 1;
}

}  // namespace

DateSection CompileDateSection(const QString& section, const FormatConventions& c) {
  DateSection s;
  Compile(s, section, c, 0);
  return s;
}

QString RenderDate(const DateSection& s, const QDateTime& value, const FormatConventions& c) {
  const QDate d = value.date();
  const QTime t = value.time();
  const int hour = s.twelveHour ? (t.hour() % 12 == 0 ? 12 : t.hour() % 12) : t.hour();
  QString out;
  for (const DateToken& token : s.tokens) {
    switch (token.kind) {
      case DateToken::Literal: out += token.text; break;
      case DateToken::Day: out += QString::number(d.day()); break;
      case DateToken::Day2: out += Two(d.day()); break;
      case DateToken::DayAbbr: out += NameAt(c.dayAbbreviations, d.dayOfWeek() % 7); break;
      case DateToken::DayName: out += NameAt(c.dayNames, d.dayOfWeek() % 7); break;
      case DateToken::Weekday: out += QString::number(d.dayOfWeek() % 7 + 1); break;
      case DateToken::Week: out += QString::number(WeekOfYear(d)); break;
      case DateToken::Month: out += QString::number(d.month()); break;
      case DateToken::Month2: out += Two(d.month()); break;
      case DateToken::MonthAbbr: out += NameAt(c.monthAbbreviations, d.month() - 1); break;
      case DateToken::MonthName: out += NameAt(c.monthNames, d.month() - 1); break;
      case DateToken::Quarter: out += QString::number((d.month() - 1) / 3 + 1); break;
      case DateToken::DayOfYear: out += QString::number(d.dayOfYear()); break;
      case DateToken::Year2: out += Two(d.year() % 100); break;
      case DateToken::Year4: out += QString::number(d.year()); break;
      case DateToken::Hour: out += QString::number(hour); break;
      case DateToken::Hour2: out += Two(hour); break;
      case DateToken::Minute: out += QString::number(t.minute()); break;
      case DateToken::Minute2: out += Two(t.minute()); break;
      case DateToken::Second: out += QString::number(t.second()); break;
      case DateToken::Second2: out += Two(t.second()); break;
      case DateToken::AmPm: out += t.hour() < 12 ? token.am : token.pm; break;
      case DateToken::GeneralDate: out += GeneralDate(value, c); break;
    }
  }
  return out;
}

QString GeneralDate(const QDateTime& v, const FormatConventions& c) {
  static const DateSection shortDate = CompileDateSection(c.shortDate, c);
  static const DateSection longTime = CompileDateSection(c.longTime, c);
  const bool noTime = v.time().msecsSinceStartOfDay() / 1000 == 0;
  if (v.date() == SerialEpoch()) return RenderDate(longTime, v, c);
  if (noTime) return RenderDate(shortDate, v, c);
  return RenderDate(shortDate, v, c) + QLatin1Char(' ') + RenderDate(longTime, v, c);
}

QDate SerialEpoch() { return QDate(1899, 12, 30); }

double SerialFromDateTime(const QDateTime& v) {
  const double days = static_cast<double>(SerialEpoch().daysTo(v.date()));
  const double fraction = v.time().isValid() ? v.time().msecsSinceStartOfDay() / 86400000.0 : 0.0;
  return days < 0 ? days - fraction : days + fraction;
}

std::optional<QDateTime> DateTimeFromSerial(double serial) {
  if (!std::isfinite(serial) || serial < kFirstSerial || serial > kLastSerial) return std::nullopt;
  // Days count towards zero; the fraction is always the time of day, rounded
  // to the second.
  double whole = std::trunc(serial);
  qint64 seconds = std::llround(std::fabs(serial - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    whole += serial < 0 ? -1 : 1;
  }
  const QDate date = SerialEpoch().addDays(static_cast<qint64>(whole));
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000)), Qt::UTC);
}

}  // namespace pv::fmt
