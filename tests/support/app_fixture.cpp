#include "tests/support/app_fixture.h"

#include "app/wiring.h"

namespace pv::test {

void ClearAllHosts() {
  for (HostSlotBase* slot : HostSlotBase::Registry()) slot->Clear();
}

void AppFixture::SetUp() {
  EnsureApplication();
  ClearAllHosts();
  if (m_program) InstallProgramHosts();
  SetMessageBoxHost(&messageBoxes);
}

void AppFixture::TearDown() { ClearAllHosts(); }

}  // namespace pv::test
