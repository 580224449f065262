// Linked into every test program: a host used without being installed
// (platform/hostslot.h) fails the test that used it.
#include "platform/hostslot.h"

#include <gtest/gtest.h>

namespace {

void FailRunningTest(const char* name) { ADD_FAILURE() << "the host \"" << name << "\" was used but never installed"; }

const bool kGuardInstalled = (pv::SetUnwiredHostReporter(&FailRunningTest), true);

}  // namespace
