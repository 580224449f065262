// The server tests run as the program does: under the locale of the
// environment (ctest sets an Italian one, or C), with numbers kept in the C
// locale; PostgreSQL and MariaDB are started once for the whole program.
#include "datasources/readers/numericlocale.h"
#include "testservers.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // sets the C library's locale from the environment
  pv::UseCNumericLocale();
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new pv::test::TestServers);
  return RUN_ALL_TESTS();
}
