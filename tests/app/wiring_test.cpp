// The composition root: which slots the program installs at once, which the
// main window's views install while they live, and which it leaves at their
// own defaults on purpose; every slot linked in is one of them, and a slot
// left out is reported by name the moment it is used.
#include "app/wiring.h"
#include "app/window/mainwnd.h"
#include "views/views.h"
#include "datasources/process/readerprocess.h"
#include "datasources/windows/databasedata.h"
#include "editor/pickers.h"
#include "editor/view/editcard.h"
#include "formats/windows/formatdata.h"
#include "formats/windows/modeldata.h"
#include "platform/hostslot.h"
#include "printing/panel/previewdata.h"
#include "printing/panelhost.h"
#include "render/hosts.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::set<std::string>;

// The list of app/wiring.cpp, by slot name.
const Names kInstalledAtOnce = {
    "MessageBoxHost",  "CommonDialogHost",   "ColorDialogHost", "ShellSplashHost",  "ShellWindowHost",
    "ShellViewsHost",  "ShellPopUpHost",     "ShellStyleHost",  "MainWndCommands",  "MainWindowHost",
    "ViewFactory",     "RenderSettingsHost", "EditorServices",  "EditCardDrawing",  "EditorPickers",
    "PropertyWindows", "PrintPanelHost",     "SourceDialogs",   "WizardWindowHost", "PopUpEditor",
};
// Installed by the editor view and the print panel as the main window makes them.
const Names kInstalledByViews = {"CanvasHost", "EditorHost", "RenderCanvasHost", "PrintPanelControls"};
const Names kLeftAtDefault = {"RenderLibraries", "ShellDocumentHost"};

std::vector<std::string>& Reported() {
  static std::vector<std::string> names;
  return names;
}
void Record(const char* name) { Reported().emplace_back(name); }

Names Join(const Names& a, const Names& b) {
  Names all = a;
  all.insert(b.begin(), b.end());
  return all;
}

class WiringTest : public pv::test::AppFixture {
 protected:
  void TearDown() override {
    pv::DestroyMainWnd();
    AppFixture::TearDown();
  }
  static Names Slots(bool installed) {
    Names names;
    for (pv::HostSlotBase* slot : pv::HostSlotBase::Registry())
      if (!installed || slot->Installed()) names.insert(slot->Name());
    return names;
  }
  static Names WiredSlots() {
    Names names;
    for (pv::HostSlotBase* slot : pv::HostSlotBase::Registry())
      if (slot->Kind() == pv::HostDefault::Wired) names.insert(slot->Name());
    return names;
  }
};

TEST_F(WiringTest, EverySlotIsInstalledByTheListOrLeftAtItsDefaultOnPurpose) {
  // Every slot linked in is accounted for, and only once.
  const Names listed = Join(Join(kInstalledAtOnce, kInstalledByViews), kLeftAtDefault);
  ASSERT_EQ(listed.size(), kInstalledAtOnce.size() + kInstalledByViews.size() + kLeftAtDefault.size());
  EXPECT_EQ(Slots(false), listed);
  // A slot that must be installed is installed at once, not left to a view.
  for (const std::string& name : WiredSlots()) EXPECT_EQ(kInstalledAtOnce.count(name), 1u) << name;

  EXPECT_EQ(Slots(true), Names{"MessageBoxHost"});  // the fixture's recorder
  const pv::ReaderProcessSettings readerSettings = pv::ReaderSettings();
  ASSERT_EQ(readerSettings.wait, nullptr);
  pv::InstallProgramHosts();
  EXPECT_EQ(Slots(true), kInstalledAtOnce);
  // The reader program's wait is a setting, not a slot: the root sets it too.
  EXPECT_NE(pv::ReaderSettings().wait, nullptr);
  pv::SetReaderSettings(readerSettings);
  pv::SetMessageBoxHost(&messageBoxes);  // no real box in a test

  pv::MainWnd& w = pv::GetMainWnd();
  w.InitGui();
  EXPECT_EQ(Slots(true), Join(kInstalledAtOnce, kInstalledByViews));
  auto* editor = dynamic_cast<pv::EditCard*>(w.EditCard());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(&pv::Canvas(), &editor->Canvas());
  EXPECT_EQ(&pv::PrintControls(), dynamic_cast<pv::PreviewData*>(w.PreviewData()));

  // The main window goes: what its views installed goes with them.
  pv::DestroyMainWnd();
  EXPECT_EQ(Slots(true), kInstalledAtOnce);
}

TEST_F(WiringTest, TheMainWindowHostsTheProgramsOwnViews) {
  pv::InstallProgramHosts();
  pv::SetMessageBoxHost(&messageBoxes);
  pv::MainWnd& w = pv::GetMainWnd();
  w.InitGui();
  EXPECT_NE(dynamic_cast<pv::ModelData*>(w.ModelData()), nullptr);
  EXPECT_NE(dynamic_cast<pv::EditCard*>(w.EditCard()), nullptr);
  EXPECT_NE(dynamic_cast<pv::DataBaseData*>(w.DataBaseData()), nullptr);
  EXPECT_NE(dynamic_cast<pv::FormatData*>(w.FormatData()), nullptr);
  EXPECT_NE(dynamic_cast<pv::PreviewData*>(w.PreviewData()), nullptr);
}

TEST_F(WiringTest, AHostLeftUnwiredIsReportedByNameWhenUsed) {
  const pv::UnwiredHostReporter previous = pv::SetUnwiredHostReporter(&Record);
  Reported().clear();
  // The program without its pickers: the field tool's picker answers
  // "cancelled" but the slot says it was never installed.
  pv::Pickers().ShowFieldPicker(nullptr);
  // Without its view factory the main window's views are empty, and the
  // slot says so.
  std::unique_ptr<pv::EditCardView> view(pv::ViewFactories().MakeEditCard(nullptr));
  // The drawing without a window has a default of its own: no report.
  pv::RenderCanvas().FontRatio();
  pv::SetUnwiredHostReporter(previous);
  EXPECT_EQ(Reported(), (std::vector<std::string>{"EditorPickers", "ViewFactory"}));
}

}  // namespace
