#pragma once
// The small table every reader's test writes in its own format and reads
// back: accents (and the euro sign, which Latin-1 lacks), Null, a whole
// number, a decimal, a date and a logical.
#include "datasources/readers/sourcereader.h"

#include <QString>

#include <ostream>

namespace pv::testing {

SourceTable SampleTable();

// Compares names, types and typed values; a value's type must match its
// column's (qint64, double, QString, QDate, QDateTime, bool) or be Null.
void ExpectSameTable(const SourceTable& actual, const SourceTable& expected);

QString Describe(const QVariant& value);

// The exact decimal a text writes ("-0.123"), as a value of a row.
QVariant ExactValue(const char* text);

}  // namespace pv::testing

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
