#pragma once
// The one application set-up of the tests: the Qt application object (made
// once per test program), every host back to its default after each test,
// message boxes recorded and answered, and, where a test needs it, the real
// program as main() wires it (InstallProgramHosts).
#include "platform/msgbox.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace pv::test {

// A QGuiApplication, for tests that draw without widgets.
inline void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "plavik_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

// A QApplication, for tests of widgets (plavik_test_qapp).
void EnsureApplication();

// Puts every host slot back to its default.
void ClearAllHosts();

// Message boxes recorded while it is installed, answered from `answers` in
// turn while there are any, then with `answer`.
class RecordedMessageBoxes : public MessageBoxHost {
 public:
  MsgAnswer Show(const MsgBoxRequest& request) override {
    boxes.push_back(request);
    if (!answers.empty()) {
      const MsgAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return answer;
  }
  std::vector<MsgBoxRequest> boxes;
  std::deque<MsgAnswer> answers;
  MsgAnswer answer = MsgAnswer::Ok;
};

// The application fixture: the QApplication, the program's hosts when
// `program` is set (else every host at its default), and message boxes
// recorded in `messageBoxes`. Every host is back at its default afterwards.
class AppFixture : public ::testing::Test {
 protected:
  explicit AppFixture(bool program = false) : m_program(program) {}
  void SetUp() override;
  void TearDown() override;

  RecordedMessageBoxes messageBoxes;

 private:
  bool m_program;
};

}  // namespace pv::test
