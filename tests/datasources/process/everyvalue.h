#pragma once
// A table of every kind of value a reader gives, with the edges of each: the
// test build of the reader sends it on request, and the test compares what
// arrives with it.
#include "datasources/readers/sourcereader.h"

namespace pv::testing {

SourceTable EveryValueKind();

}  // namespace pv::testing
