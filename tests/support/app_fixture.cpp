#include "tests/support/app_fixture.h"

#include "app/wiring.h"
#include "app/window/views.h"

#include <QApplication>

namespace pv::test {

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "plavik_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

void ClearAllHosts() {
  for (HostSlotBase* slot : HostSlotBase::Registry()) slot->Clear();
  ViewFactories() = ViewFactoryTable{};
}

void AppFixture::SetUp() {
  EnsureApplication();
  ClearAllHosts();
  if (program_) InstallProgramHosts();
  SetMessageBoxHost(&messageBoxes);
}

void AppFixture::TearDown() { ClearAllHosts(); }

}  // namespace pv::test
