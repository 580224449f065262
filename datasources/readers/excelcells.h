#pragma once
// What an Excel cell holds, read from its record: a number shown by its
// number format (a date or a time is a number with such a format), a text,
// a logical, or nothing (an empty or blank cell, an error such as #N/A).
#include <QStringView>
#include <QVariant>

namespace pv::excel {

// What a number format shows a number as.
enum class Shown : quint8 { Number, Date, Time, DateTime };

// A format's code ("dd/mm/yyyy", "0.00", "[$-411]ge.m.d").
Shown ShownByCode(QStringView code);
// Excel's built-in formats, for an index no FORMAT record defines: those of
// every language (14-22, 45-47) and the East Asian ones (27-36, 50-58).
Shown ShownByBuiltIn(int index);

struct Cell {
  enum Kind : quint8 { Empty, Whole, Decimal, Text, Logical, Date, DateTime, Time } kind = Empty;
  QVariant value;  // qint64, double, QString, bool, QDate, QDateTime
};

// A number as its format shows it; a date counts its days from the
// workbook's base (1900 or 1904). A serial no calendar holds (a negative
// one, Excel's 29 February 1900) is Null.
Cell NumberCell(double value, Shown shown, bool base1904);
// A whole number (an RK or BIFF 2 integer record) keeps its integer type
// unless its format shows a date or time.
Cell WholeCell(qint64 value, Shown shown, bool base1904);

// An RK value: a whole number of 30 bits or the high bits of a double, either
// of them perhaps in hundredths.
Cell RkCell(quint32 rk, Shown shown, bool base1904);

}  // namespace pv::excel
