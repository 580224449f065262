#pragma once
// The order text sorts in: the Italian collation of the Unicode collation
// algorithm (ICU, through QCollator), in any letter case. Accented letters
// stand beside their base letters ("Élodie" after "Elena", before "Fabio";
// "Nicolò" before "Nicolosi"), and a word differing only in case or accent
// from another comes next to it. The filter's comparisons are not this
// order: they compare text in any case by character (criteria.h).
#include <QStringView>

namespace pv {

// <0, 0, >0. Safe from any thread.
int CompareForSort(QStringView a, QStringView b);

}  // namespace pv
