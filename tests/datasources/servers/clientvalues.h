#pragma once
// Comparing what the program read with what the engine's own client prints.
#include "tests/support/dbservers.h"

#include <QVariant>

#include <gtest/gtest.h>

namespace pv::test {

// A value read by the program against the client's text of it: Null against
// Null, texts and whole numbers exactly, doubles after parsing the client's
// digits, exact decimals as the client's digits are, dates and times field by field, booleans against "t"/"f" or 1/0.
::testing::AssertionResult SameAsClient(const QVariant& read, const ClientValue& printed);

// The program's value as the text a report shows ("NULL" for Null).
std::string Shown(const QVariant& value);

}  // namespace pv::test
