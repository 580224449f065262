#include "tests/support/app_fixture.h"

#include <QApplication>

namespace pv::test {

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "plavik_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace pv::test
