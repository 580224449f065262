// The tests draw text and fonts: a QGuiApplication lives for the whole run.
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QGuiApplication::instance()) {
      static int argc = 1;
      static char name[] = "render-tests";
      static char* argv[] = {name, nullptr};
      app_ = new QGuiApplication(argc, argv);
    }
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QGuiApplication* app_ = nullptr;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
}  // namespace
