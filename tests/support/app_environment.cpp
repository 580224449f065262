// Linked into a test program, as one of its sources, whose tests need the Qt
// application for the whole run (drawing text and fonts, widgets made
// outside a fixture): the tests' one application set-up (app_fixture.h),
// made before the first test and kept to the end, as the fixtures make it.
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

namespace {
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { pv::test::EnsureApplication(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
}  // namespace
