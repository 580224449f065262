// The readers' tests run as the program does: under an Italian user's locale
// (when the system has one), with numbers kept in the C locale.
#include "datasources/readers/numericlocale.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
  if (std::setlocale(LC_ALL, "it_IT.UTF-8") != nullptr) setenv("LC_ALL", "it_IT.UTF-8", 1);
  QCoreApplication app(argc, argv);  // sets the C library's locale from the user's
  pv::UseCNumericLocale();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
