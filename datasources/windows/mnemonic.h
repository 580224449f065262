#pragma once
// The keyboard mnemonic of a caption from the string table that has none of
// its own.

#include <QString>

namespace pv {

// `caption` with "&" before its first `letter` (in either case); the caption
// as it is when the letter is not in it.
QString WithMnemonic(const QString& caption, QChar letter);

}  // namespace pv
