#pragma once
// How the format lists, the summary and the chooser write a number: the
// user's decimal sign, no grouping, the shortest text that reads back to the
// same value ("99,1", "210", "0").

#include <QString>

namespace pv {

QString GeneralNumber(double value);

}  // namespace pv
