// The tests draw text and fonts: a QGuiApplication lives for the whole run.
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

namespace {
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { pv::test::EnsureGuiApplication(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
}  // namespace
