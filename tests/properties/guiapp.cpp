// The pickers' windows need a QApplication for the whole run.
#include <QApplication>
#include <gtest/gtest.h>

namespace {
class AppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "properties-tests";
      static char* argv[] = {name, nullptr};
      app_ = new QApplication(argc, argv);
    }
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new AppEnvironment);
}  // namespace
