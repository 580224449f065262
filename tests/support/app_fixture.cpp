#include "tests/support/app_fixture.h"

#include "app/wiring.h"

namespace pv::test {

void ClearAllHosts() {
  for (HostSlotBase* slot : HostSlotBase::Registry()) slot->Clear();
}

void AppFixture::SetUp() {
  EnsureApplication();
  ClearAllHosts();
  if (program_) InstallProgramHosts();
  SetMessageBoxHost(&messageBoxes);
}

void AppFixture::TearDown() { ClearAllHosts(); }

}  // namespace pv::test
