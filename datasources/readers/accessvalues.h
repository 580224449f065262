#pragma once
// Values of Access (Jet 4 and later) columns decoded from the bytes a row
// stores, for the columns libmdb reads wrongly or not at all: text with
// characters outside the basic plane, replication identifiers, extended
// date/times (Access 2019) and the stored results of calculated columns
// (Access 2010). Every decoder gives Null for bytes that hold no value of
// the column, never a guess.
#include "datasources/readers/sourcereader.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>

namespace pv {

// Column type codes beyond libmdb's names: a date/time as text of a fixed
// layout, 42 bytes.
constexpr int kJetExtendedDateTime = 0x14;
constexpr int kJetExtendedDateTimeSize = 42;

// The column type a result of the given Jet type is read as.
ColumnType JetColumnType(int jetType, bool shortDate);

// A value of a fixed size (logical, whole numbers, floating point,
// currency, date/time, identifier, extended date/time) from its bytes.
// A logical here is a byte of its own (a calculated one), not the null mask.
QVariant JetFixedValue(int jetType, QByteArrayView bytes, bool shortDate);

// Text as Jet 4 stores it: UTF-16, or compressed (a FF FE mark, then runs
// of one byte per character and of UTF-16 split by zero bytes).
QString JetText(QByteArrayView bytes);

// An identifier in its usual form, {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
QString JetGuid(QByteArrayView bytes);

// The result a calculated column stores: a header of 16 bytes, the length
// of the result (32 bits), the result in the form of its type, and padding.
// Null where the result type is one that is not stored in the row (memo),
// and where a result of a fixed-size type does not have exactly its size.
QVariant JetCalculatedValue(int resultType, QByteArrayView stored, bool shortDate);

}  // namespace pv
