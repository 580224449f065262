#include "format_test_support.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <limits>

namespace {

// Every date letter and named date format, alone.
const char* const kEveryDatePattern[] = {
    "d",         "dd",          "ddd",        "dddd",      "ddddd",       "dddddd",    "w",
    "ww",        "m",           "mm",         "mmm",       "mmmm",        "q",         "y",
    "yy",        "yyyy",        "h",          "hh",        "n",           "nn",        "s",
    "ss",        "hh:mm",       "ttttt",      "AM/PM",     "a/p",         "c",         "General Date",
    "Long Date", "Medium Date", "Short Date", "Long Time", "Medium Time", "Short Time"};

TEST(FormatDates, DayMonthYearAndNames) {
  CheckFormats({
      {kThursday, "dd/mm/yyyy", "10/12/2026"},
      {kThursday, "DD/MM/YYYY", "10/12/2026"},
      {kThursday, "yyyy-mm-dd", "2026-12-10"},
      {QDate(2026, 3, 5), "d/m/yy", "5/3/26"},
      {QDate(2026, 3, 5), "dd/mm/yy", "05/03/26"},
      {kThursday, "ddd dd mmm yyyy", "gio 10 dic 2026"},
      {kThursday, "dddd d mmmm", "gioved\xC3\xAC 10 dicembre"},
      {QDate(2026, 3, 1), "dddd d mmmm yyyy", "domenica 1 marzo 2026"},
      {QDate(2026, 8, 17), "ddd mmm", "lun ago"},
      {kThursday, "ddddd", "10/12/2026"},
      {kThursday, "dddddd", "gioved\xC3\xAC 10 dicembre 2026"},
      {kThursday, "q\\/yyyy", "4/2026"},
      {kThursday, "y", "344"},
      {kThursday, "\\D\\a\\t\\a: dd", "Data: 10"},
      {kThursday, "\"Oggi \"dd", "Oggi 10"},
      {QDate(105, 6, 1), "dd/mm/yyyy", "01/06/105"},
  });
}

TEST(FormatDates, WeeksStartOnSundayAndTheFirstHoldsFirstJanuary) {
  CheckFormats({
      {kThursday, "w", "5"},
      {QDate(2026, 12, 13), "w", "1"},  // Sunday
      {QDate(2026, 12, 12), "w", "7"},  // Saturday
      {kThursday, "ww", "50"},
      {QDate(2022, 1, 1), "ww", "1"},  // a Saturday: week 1 is one day long
      {QDate(2022, 1, 2), "ww", "2"},  // the next Sunday starts week 2
      {QDate(2023, 1, 1), "ww", "1"},  // a Sunday
      {QDate(2023, 1, 7), "ww", "1"},
      {QDate(2023, 1, 8), "ww", "2"},
      {QDate(2022, 12, 31), "ww", "53"},
      {QDate(2000, 12, 31), "ww", "54"},  // leap year from a Saturday
  });
}

TEST(FormatDates, TimesAndTwelveHourClock) {
  CheckFormats({
      {kThursday, "hh:nn:ss", "14:05:09"},
      {kThursday, "h:n:s", "14:5:9"},
      {kThursday, "hh:mm", "14:05"},  // m after an hour is the minute
      {kThursday, "hh.mm.ss", "14.05.09"},
      {kThursday, "mm/yyyy hh", "12/2026 14"},
      {kThursday, "h:nn AM/PM", "2:05 PM"},
      {kThursday, "hh:nn am/pm", "02:05 pm"},
      {kThursday, "h A/P", "2 P"},
      {kThursday, "h a/p", "2 p"},
      {QTime(0, 30), "h:nn AM/PM", "12:30 AM"},
      {QTime(12, 0), "h:nn AM/PM", "12:00 PM"},
      {QTime(23, 59, 59), "hh:nn:ss", "23:59:59"},
      {kThursday, "ttttt", "14:05:09"},
      {kThursday, "c", "10/12/2026 14:05:09"},
      {QDate(2026, 12, 10), "c", "10/12/2026"},
      {QTime(8, 0), "c", "08:00:00"},
  });
}

TEST(FormatDates, NumbersAndTextAsDates) {
  CheckFormats({
      // Serial day numbers: day 0 is 30 December 1899; the fraction is the
      // time of day, also before day 0.
      {45000, "dd/mm/yyyy", "15/03/2023"},
      {46366.5, "dd/mm/yyyy hh:nn", "10/12/2026 12:00"},
      {0.5, "c", "12:00:00"},
      {-1.25, "dd/mm/yyyy hh:nn", "29/12/1899 06:00"},
      {2.999999999, "dd/mm/yyyy hh:nn:ss", "02/01/1900 00:00:00"},
      // Text that reads as a date, Italian or ISO, or as a serial number.
      {QStringLiteral("10/12/2026"), "dddd", "gioved\xC3\xAC"},
      {QStringLiteral("5/3/26"), "dd mmmm yyyy", "05 marzo 2026"},
      {QStringLiteral("2026-12-10 14:05"), "hh:nn", "14:05"},
      {QStringLiteral("14:05:09"), "hh-nn-ss", "14-05-09"},
      {QStringLiteral("45000"), "yyyy", "2023"},
      // What cannot be a date comes back as it is.
      {QStringLiteral("abc"), "dd/mm/yyyy", "abc"},
      {QStringLiteral("31/02/2026"), "dd/mm/yyyy", "31/02/2026"},
      {1e10, "dd/mm/yyyy", "10000000000"},
      {-700000, "dd/mm/yyyy", "-700000"},
      {QVariant(), "dd/mm/yyyy", ""},
      {QDate(), "dd/mm/yyyy", ""},
  });
}

TEST(FormatDates, DatesQtCannotSpellFormatAsNull) {
  // A QDate reaches about two billion years either way; a date and time only
  // about 290 million. Beyond that Qt has no month, day or weekday for it.
  const QVariant beyond[] = {
      QDate::fromJulianDay(-784350574879),  // the first day a QDate holds
      QDate::fromJulianDay(-200000000000),
      QDate::fromJulianDay(-106751991167 * 2),
      QDate::fromJulianDay(200000000000),
      QDate::fromJulianDay(784354017364),  // the last
      QDateTime(QDate::fromJulianDay(300000000000), QTime(12, 0), Qt::UTC),
      QDate(0, 1, 1),  // there is no year 0
      QDate::fromJulianDay(784354017365),
      QTime(25, 0),
  };
  for (const QVariant& v : beyond) {
    SCOPED_TRACE(Show(v));
    for (const char* pattern : kEveryDatePattern) CheckFormat({v, pattern, QString()});
    CheckFormats({
        {v, "dddd d mmmm yyyy hh:nn", QString()},
        {v, "", QString()},
        {v, "0;-0;\\z;\\N", QStringLiteral("N")},  // the Null section
        {v, "@;\\v", QStringLiteral("v")},
        {v, "General Number", QString()},
    });
  }
}

TEST(FormatDates, TheFarthestDatesQtCanSpellFormatAsDates) {
  const qint64 msMax = std::numeric_limits<qint64>::max();
  const qint64 msMin = std::numeric_limits<qint64>::min();
  CheckFormats({
      {QDate(-1, 1, 1), "dddd d mmmm yyyy", QStringLiteral("sabato 1 gennaio -1")},
      {QDate(-1, 1, 1), "ddd mmm q y w ww", QStringLiteral("sab gen 1 1 7 1")},
      {QDate(1, 1, 1), "dddd dd/mm/yyyy", QStringLiteral("luned\u00EC 01/01/1")},
      {QDate::fromJulianDay(-1), "ddd d mmm yyyy", QStringLiteral("dom 23 nov -4714")},
      {QDate::fromJulianDay(-1000000000), "dddd d mmmm yyyy q y",
       QString::fromUtf8("marted\xC3\xAC 21 novembre -2742621 4 326")},
      {QDate::fromJulianDay(100000000000), "dddd d mmmm yyyy", QStringLiteral("sabato 6 agosto 273785988")},
      {QDateTime::fromMSecsSinceEpoch(msMax, Qt::UTC), "mmm", QStringLiteral("ago")},
      {QDateTime::fromMSecsSinceEpoch(msMin, Qt::UTC), "mmm", QStringLiteral("mag")},
  });
  // Every pattern gives text for them, the names from their tables.
  for (const QVariant& v : {QVariant(QDate(-1, 12, 31)), QVariant(QDateTime::fromMSecsSinceEpoch(msMax, Qt::UTC)),
                            QVariant(QDateTime::fromMSecsSinceEpoch(msMin, Qt::UTC))}) {
    SCOPED_TRACE(Show(v));
    for (const char* pattern : kEveryDatePattern)
      EXPECT_FALSE(pv::Format(v, QString::fromLatin1(pattern)).isEmpty()) << pattern;
  }
}

}  // namespace
