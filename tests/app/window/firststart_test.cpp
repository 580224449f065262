// The program as a new user meets it: the real start-up with every real view,
// on a program folder of its own. A first start without plavik.ini, the
// Options dialog over what it gives, and a label begun from the wizard.
#include "core/settings.h"
#include "app/startup.h"
#include "app/window/dlgoptions.h"
#include "app/window/mainwnd.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "formats/windows/modeldata.h"
#include "platform/commondialogs.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "platform/stringtable.h"
#include "tests/app/apptest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The save dialog: every request recorded, answered with `answer` (nothing:
// cancelled).
class RecordedFileDialogs : public pv::CommonDialogHost {
 public:
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& request) override {
    requests.push_back(request);
    if (answer.isEmpty()) return std::nullopt;
    return pv::FileDialogResult{answer, 1};
  }
  std::vector<pv::FileDialogRequest> requests;
  QString answer;
};

class FirstStartTest : public apptest::ShellTest {
 protected:
  FirstStartTest() : ShellTest(true) {}
  void SetUp() override {
    ShellTest::SetUp();
    QLocale::setDefault(QLocale::c());
    pv::ResetDocumentState();
    // A machine without printers: the built-in PDF printer.
    pv::SetFakePrintSystem(&m_print);
    pv::SetCommonDialogHost(&dialogs);
  }
  void TearDown() override {
    pv::DestroyMainWnd();
    ShellTest::TearDown();
    QLocale::setDefault(QLocale::system());
  }
  pv::MainWnd& Start() {
    EXPECT_TRUE(pv::Main());
    QApplication::processEvents();
    return pv::GetMainWnd();
  }
  // Runs `inside` on the Options dialog once File > Options has opened it.
  static void WithOptions(pv::MainWnd& w, const std::function<void(pv::dlgOptions&)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<pv::dlgOptions*>(top); d != nullptr && d->isVisible()) {
          ran = true;
          inside(*d);
          if (d->isVisible()) d->CancelButton_Click();
        }
      }
    });
    w.MenuItem(QStringLiteral("popmnufile"), 5)->trigger();
    EXPECT_TRUE(ran);
  }

  RecordedFileDialogs dialogs;

 private:
  pv::FakePrintSystem m_print;
};

TEST_F(FirstStartTest, WithoutPlavikIniTheSettingsAreThoseAUserExpects) {
  ASSERT_FALSE(QFile::exists(Home(QStringLiteral("plavik.ini"))));
  const pv::Settings& settings = pv::ProgramSettings();
  pv::MainWnd& w = Start();
  EXPECT_FLOAT_EQ(settings.SettingGridX, 5.0f);
  EXPECT_FLOAT_EQ(settings.SettingGridY, 5.0f);
  EXPECT_EQ(settings.SettingShowGrid, 1);
  EXPECT_EQ(settings.SettingShowRule, 1);
  EXPECT_EQ(settings.DefaultPath, pv::ProgramPath(QStringLiteral("clipart")));
  // The label of the first delivered print format, on the PDF printer.
  EXPECT_DOUBLE_EQ(pv::Header.LabelWidth, 210.0);
  EXPECT_DOUBLE_EQ(pv::Header.LabelHeight, 297.0);
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("LM4-A4-01"));
  EXPECT_EQ(pv::CurrentPrinterName(), QString::fromLatin1(pv::PdfPrinterName));
  EXPECT_EQ(w.lblStatusBar(0)->text(), pv::StatusLabelSizeText(210, 297));
  EXPECT_TRUE(w.lblStatusBar(2)->text().contains(QString::fromLatin1(pv::PdfPrinterName)));

  // What a first start wrote is read back the same at the next start.
  pv::SaveSettings();
  pv::DestroyMainWnd();
  pv::CloseDatabase();
  pv::ProgramSettings() = pv::Settings{};
  pv::ResetDocumentState();
  Start();
  EXPECT_FLOAT_EQ(settings.SettingGridX, 5.0f);
  EXPECT_EQ(settings.SettingShowRule, 1);
  EXPECT_DOUBLE_EQ(pv::Header.LabelWidth, 210.0);
  EXPECT_EQ(settings.DefaultPath, pv::ProgramPath(QStringLiteral("clipart")));
}

TEST_F(FirstStartTest, AnEarlierFirstStartsZerosGiveWayToTheDefaults) {
  // What the program wrote at the end of a first start before it had
  // defaults: no grid pitch, no folder, no label size.
  apptest::WriteAll(Home(QStringLiteral("plavik.ini")),
                    "[GENERAL]\r\nDEFAULT_PATH=0\r\n[SETTING]\r\nGRID_X= 0\r\nGRID_Y= 0\r\nSHOW_GRID= 0\r\n"
                    "SHOW_RULE= 0\r\nLABELWIDTH= 0\r\nLABELHEIGHT= 0\r\nFORMATCODE=0\r\n");
  Start();
  const pv::Settings& settings = pv::ProgramSettings();
  EXPECT_FLOAT_EQ(settings.SettingGridX, 5.0f);
  EXPECT_FLOAT_EQ(settings.SettingGridY, 5.0f);
  // Shown or hidden is the user's choice, kept as written.
  EXPECT_EQ(settings.SettingShowGrid, 0);
  EXPECT_EQ(settings.SettingShowRule, 0);
  EXPECT_EQ(settings.DefaultPath, pv::ProgramPath(QStringLiteral("clipart")));
  EXPECT_DOUBLE_EQ(pv::Header.LabelWidth, 210.0);
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("LM4-A4-01"));
}

TEST_F(FirstStartTest, OptionsOkOnAFirstStartKeepsItsValuesAndARefusalBringsItsTabForward) {
  pv::MainWnd& w = Start();
  WithOptions(w, [&](pv::dlgOptions& d) {
    EXPECT_EQ(d.Text2(0)->text(), QStringLiteral("5"));
    EXPECT_EQ(d.Text3()->text(), pv::ProgramPath(QStringLiteral("clipart")));
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible()) << "OK with nothing changed is accepted";
  });
  EXPECT_TRUE(boxes.empty());
  EXPECT_FLOAT_EQ(pv::ProgramSettings().SettingGridX, 5.0f);

  // A grid pitch the dialog refuses, typed while another tab is in front.
  WithOptions(w, [&](pv::dlgOptions& d) {
    d.SSTab1()->setCurrentIndex(1);
    d.Text2(1)->setText(QStringLiteral("0"));
    d.SSTab1()->setCurrentIndex(3);
    QTest::mouseClick(d.OKButton(), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, pv::LoadResString(15044));
    EXPECT_EQ(d.SSTab1()->currentIndex(), 1);
    EXPECT_EQ(d.focusWidget(), d.Text2(1));
  });
  EXPECT_FLOAT_EQ(pv::ProgramSettings().SettingGridY, 5.0f);
}

// A label begun in the wizard, from a size or from a template, is a new
// untitled label: the file open before keeps its content, and the first
// save asks for a name.
TEST_F(FirstStartTest, ALabelBegunInTheWizardIsUntitledAndItsFirstSaveAsksForAName) {
  pv::MainWnd& w = Start();
  auto* wizard = dynamic_cast<pv::ModelData*>(w.ModelData());
  ASSERT_NE(wizard, nullptr);
  const QString untitled = pv::LoadResString(1000) + QStringLiteral(" - ") + pv::LoadResString(pv::MsgUntitled);
  EXPECT_EQ(pv::LoadResString(pv::MsgUntitled), QStringLiteral("Senza nome"));

  // The delivered templates in the program folder of the test.
  const QDir templates(QStringLiteral(PLAVIK_PROGRAM_DIR "/graphics/template"));
  QDir().mkpath(Home(QStringLiteral("graphics/template")));
  for (const QString& name : templates.entryList(QDir::Files))
    QFile::copy(templates.filePath(name), Home(QStringLiteral("graphics/template/") + name));
  ASSERT_FALSE(templates.entryList(QDir::Files).isEmpty());

  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    // test1.lab saved and open.
    const QString test1 = Home(QStringLiteral("test1.lab"));
    QFile::remove(test1);
    dialogs.requests.clear();
    dialogs.answer = test1;
    w.MenuItem(QStringLiteral("popmnufile"), 3)->trigger();  // Save as
    ASSERT_TRUE(QFile::exists(test1));
    const QByteArray saved = apptest::ReadAll(test1);
    ASSERT_EQ(w.windowTitle(), pv::LoadResString(1000) + QStringLiteral(" - ") + test1);

    // The wizard's list, a click on its first entry, "Applica".
    w.SelectView(QStringLiteral("tbr_template"));
    wizard->Command_Click(mode);
    ASSERT_GE(wizard->Model().Models().size(), 2u);
    wizard->Model().ClickImage(1);
    w.popup_modello()->hide();
    w.MenuItem(QStringLiteral("mnu_modello"), 0)->trigger();
    ASSERT_EQ(w.CurrentView(), QStringLiteral("tbr_editor"));
    if (mode == 2) {
      EXPECT_GT(pv::ObjCount, 0) << "the template was read";
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(pv::DocFileName.isEmpty());
    EXPECT_EQ(w.windowTitle(), untitled);

    // Ctrl+S asks for a name; cancelled, test1.lab is as it was.
    dialogs.requests.clear();
    dialogs.answer.clear();
    w.MenuItem(QStringLiteral("popmnufile"), 2)->trigger();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(dialogs.requests[0].save);
    EXPECT_EQ(apptest::ReadAll(test1), saved);
    EXPECT_EQ(w.windowTitle(), untitled);
  }
  // The background and border commands change the open label, not its file.
  const QString kept = Home(QStringLiteral("kept.lab"));
  dialogs.answer = kept;
  w.MenuItem(QStringLiteral("popmnufile"), 3)->trigger();
  w.SelectView(QStringLiteral("tbr_template"));
  wizard->Command_Click(4);
  wizard->Model().ClickImage(1);
  w.popup_modello()->hide();
  w.MenuItem(QStringLiteral("mnu_modello"), 2)->trigger();
  EXPECT_EQ(pv::DocFileName, kept);
}

}  // namespace
