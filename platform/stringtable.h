#pragma once
// The numbered string table of the user interface (Italian), compiled into
// the program from resources/strings.tsv.

#include <QList>
#include <QString>

namespace pv {

// The text of entry `number`; an empty string when there is none.
QString LoadResString(int number);
// Whether the table has entry `number`.
bool HasResString(int number);
// Every number in the table, ascending.
QList<int> ResStringNumbers();

}  // namespace pv
