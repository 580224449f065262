#pragma once
// The text of the counter merge field on the label with index labelIndex
// (0 for the first label of a run).
//
// A pattern "#start+step#" (a first "#", then a "+", then a last "#") counts
// from start by step: labelIndex x step + start, in floating point, written
// with a point and up to 15 significant digits ("100", "2.5", "-0.5"). Start
// and step are read as leading numbers with blanks ignored; none reads 0.
// Any other pattern formats labelIndex + 1 with Format(); an empty one gives
// the plain number.

#include <QString>

#include <cstdint>

namespace pv {

QString CounterValue(const QString& pattern, std::int32_t labelIndex);

}  // namespace pv
