// The Qt application object that tests of Qt SQL and file work need, made
// once for the whole test program.
#pragma once

#include <QCoreApplication>

namespace pv::test {

inline void EnsureCoreApplication() {
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "plavik_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
  }
}

}  // namespace pv::test
