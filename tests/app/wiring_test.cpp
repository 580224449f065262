// The composition root: after InstallProgramHosts and the main window's
// views, every host of the program is installed; a host left out is reported
// by name the moment it is used.
#include "app/wiring.h"
#include "app/window/mainwnd.h"
#include "editor/pickers.h"
#include "editor/view/editcard.h"
#include "platform/hostslot.h"
#include "render/hosts.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& Reported() {
  static std::vector<std::string> names;
  return names;
}
void Record(const char* name) { Reported().emplace_back(name); }

class WiringTest : public pv::test::AppFixture {
 protected:
  void TearDown() override {
    pv::DestroyMainWnd();
    AppFixture::TearDown();
  }
  static std::vector<std::string> Missing(bool wiredOnly) {
    std::vector<std::string> missing;
    for (pv::HostSlotBase* slot : pv::HostSlotBase::Registry()) {
      if (wiredOnly && slot->Kind() != pv::HostDefault::Wired) continue;
      if (!slot->Installed()) missing.emplace_back(slot->Name());
    }
    return missing;
  }
};

TEST_F(WiringTest, TheProgramInstallsEveryHostOnceItsMainWindowIsMade) {
  ASSERT_GE(pv::HostSlotBase::Registry().size(), 23u);  // every slot is linked in
  EXPECT_FALSE(Missing(true).empty());                  // nothing installed yet

  pv::InstallProgramHosts();
  // Every host that has no headless default is wired at once.
  EXPECT_EQ(Missing(true), std::vector<std::string>{});
  pv::SetMessageBoxHost(&messageBoxes);  // no real box in a test

  // The editor view brings the document's canvas and editor and the
  // drawing's font scale; then nothing is left at its default.
  pv::MainWnd& w = pv::GetMainWnd();
  w.InitGui();
  auto* editor = dynamic_cast<pv::EditCard*>(w.EditCard());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(&pv::Canvas(), &editor->Canvas());
  EXPECT_EQ(Missing(false), std::vector<std::string>{});
}

TEST_F(WiringTest, AHostLeftUnwiredIsReportedByNameWhenUsed) {
  const pv::UnwiredHostReporter previous = pv::SetUnwiredHostReporter(&Record);
  Reported().clear();
  // The program without its pickers: the field tool's picker answers
  // "cancelled" but the slot says it was never installed.
  pv::Pickers().ShowFieldPicker(nullptr);
  // The drawing without a window has a default of its own: no report.
  pv::RenderPrint().OCXFontRatio();
  pv::SetUnwiredHostReporter(previous);
  EXPECT_EQ(Reported(), std::vector<std::string>{"EditorPickers"});
}

}  // namespace
