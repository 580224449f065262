#include "app/hosts.h"
#include "document/hosts.h"
#include "app/ini.h"
#include "app/startup.h"
#include "document/model.h"

#include "apptest.h"

#include <QFileInfo>

namespace {

using apptest::ReadAll;
using apptest::WriteAll;

// Records every call start-up and shutdown make on the windows and views.

class SplashRecorder : public pv::ShellSplashHost {
 public:
  explicit SplashRecorder(QStringList& calls) : m_calls(calls) {}
  void Show() override { m_calls << QStringLiteral("splash.Show"); }
  void Repaint() override {
    // The settings file has been touched before the splash is repainted.
    m_calls << QStringLiteral("splash.Repaint:") +
                   pv::IniToText(pv::ReadIni(pv::IniFileName(), QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH")));
  }
  void Unload() override { m_calls << QStringLiteral("splash.Unload"); }

 private:
  QStringList& m_calls;
};

class Recorder : public pv::ShellWindowHost,
                 public pv::ShellViewsHost,
                 public pv::ShellStyleHost,
                 public pv::ShellDocumentHost,
                 public pv::ShellPopUpHost,
                 public pv::MainWindowHost {
 public:
  Recorder() {
    pv::SetMainWindowHost(this);
    pv::SetShellSplashHost(&splash);
    pv::SetShellWindowHost(this);
    pv::SetShellViewsHost(this);
    pv::SetShellStyleHost(this);
    pv::SetShellDocumentHost(this);
    pv::SetShellPopUpHost(this);
  }
  ~Recorder() override {
    pv::SetShellSplashHost(nullptr);
    pv::SetShellWindowHost(nullptr);
    pv::SetShellViewsHost(nullptr);
    pv::SetShellStyleHost(nullptr);
    pv::SetShellDocumentHost(nullptr);
    pv::SetShellPopUpHost(nullptr);
    pv::SetMainWindowHost(nullptr);
  }

  void Show() override { calls << QStringLiteral("window.Show"); }

  bool Load() override {
    calls << QStringLiteral("window.Load");
    const bool ok = pv::LoadSettings();
    calls << (ok ? QStringLiteral("window.SelectView") : QStringLiteral("window.End"));
    return ok;
  }
  void SetStatusBar() override { calls << QStringLiteral("window.SetStatusBar"); }
  void DataSourceManagerInit() override {
    calls << QStringLiteral("DataBaseData.Init:") + (pv::rsTemplate.IsOpen() ? QStringLiteral("db") : QStringLiteral("nodb"));
  }
  void WizardInit() override { calls << QStringLiteral("ModelData.Init"); }
  void PrintPanelInit() override { calls << QStringLiteral("PreviewData.Init"); }
  void FormatArchiveRefreshData(const QString& code) override { calls << QStringLiteral("FormatData.RefreshData:") + code; }
  void ResetDefaultStyle() override { calls << QStringLiteral("editor.DefaultStyle"); }
  void SetLabelSize(double w, double h) override {
    calls << QStringLiteral("doc.SetLabelSize");
    ShellDocumentHost::SetLabelSize(w, h);
  }
  void SetLabelFormatCode(const QString& code) override {
    calls << QStringLiteral("doc.SetLabelFormatCode");
    ShellDocumentHost::SetLabelFormatCode(code);
  }
  void ClearNames() override { calls << QStringLiteral("doc.ClearNames"); }
  void NewDocument() override { calls << QStringLiteral("doc.NewDocument"); }
  bool PopUpLoaded(int index) const override { return loaded.contains(index); }
  void UnloadPopUp(int index) override {
    // Unloaded before anything is written.
    const bool written = pv::ReadIniText(pv::IniFileName(), QStringLiteral("PRINTER"), QStringLiteral("CALIBRATION_X")).has_value();
    calls << QStringLiteral("unload:%1%2").arg(index).arg(written ? QStringLiteral(" after write") : QString());
    loaded.removeAll(index);
  }
  QStringList calls;
  QList<int> loaded;
  SplashRecorder splash{calls};
};

class StartupTest : public apptest::ShellTest {
 protected:
  QString Ini() const { return Home(QStringLiteral("plavik.ini")); }
};

const QByteArray kAllKeysAfterFirstStart =
    "[GENERAL]\r\n"
    "DEFAULT_PATH=0\r\n"
    "SHOW_HELP= 0\r\n"
    "[PRINTER]\r\n"
    "CALIBRATION_X= 0\r\n"
    "CALIBRATION_Y= 0\r\n"
    "PRINT_ARCHIVE=0\r\n"
    "PRINT_BORDER=0\r\n"
    "PRINT_LOW=0\r\n"
    "PRINT_STOP_PAGE=0\r\n"
    "PRINTFIELDCODE= 0\r\n"
    "PRINTFIELDCODEIFNULL= 0\r\n"
    "PRINTCIRCLE= 0\r\n"
    "[SHOWS]\r\n"
    "SMALL_TEMPLATE= 0\r\n"
    "ANTIALIASING= 0\r\n"
    "[SETTING]\r\n"
    "GRID_X= 0\r\n"
    "GRID_Y= 0\r\n"
    "SHOW_GRID= 0\r\n"
    "SHOW_RULE= 0\r\n"
    "AUTO_INSERT= 0\r\n"
    "BOZZA= 0\r\n"
    "SNAP= 0\r\n"
    "LABELWIDTH= 0\r\n"
    "LABELHEIGHT= 0\r\n"
    "FORMATCODE=0\r\n";

TEST_F(StartupTest, StepsRunInTheirOrder) {
  Recorder rec;
  ASSERT_TRUE(pv::Main());
  EXPECT_EQ(rec.calls, (QStringList{
                           "splash.Show",
                           "splash.Repaint:0",
                           "window.Load",
                           "doc.SetLabelSize",
                           "doc.SetLabelFormatCode",
                           "DataBaseData.Init:db",
                           "ModelData.Init",
                           "PreviewData.Init",
                           "FormatData.RefreshData:",
                           "window.SetStatusBar",
                           "editor.DefaultStyle",
                           "doc.ClearNames",
                           "doc.NewDocument",
                           "window.SelectView",
                           "window.Show",
                           "splash.Unload",
                       }));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(StartupTest, AFirstStartAndAnOrderlyExit) {
  Recorder rec;
  ASSERT_TRUE(pv::Main());
  // Every setting at its start value; the text keys read as "0".
  EXPECT_EQ(pv::CalibrationX, 0);
  EXPECT_EQ(pv::PrintBorder, pv::VbFalse);
  EXPECT_EQ(pv::SettingShowGrid, 0);
  EXPECT_FLOAT_EQ(pv::SettingGridX, 0.0f);
  EXPECT_EQ(pv::DefaultPath, QStringLiteral("0"));
  EXPECT_EQ(rec.LabelWidth(), 0.0);
  EXPECT_EQ(rec.LabelFormatCode(), QStringLiteral("0"));
  // The built-in PDF printer stands in when the machine has none.
  EXPECT_EQ(pv::PrinterDpiX, pv::PrinterCapabilities(pv::CurrentPrinterName())->DpiX);
  EXPECT_GT(pv::PrinterDpiY, 0);
  // After the start only DEFAULT_PATH is in the file; the database was made.
  EXPECT_EQ(ReadAll(Ini()), QByteArray("[GENERAL]\r\nDEFAULT_PATH=0\r\n"));
  EXPECT_TRUE(QFileInfo::exists(Home(QStringLiteral("plavik.db"))));

  const QString picture = pv::TempImageFile(QStringLiteral("1.png"));
  WriteAll(picture, "x");
  answer = pv::MsgAnswer::Yes;
  EXPECT_TRUE(pv::ConfirmEndProgram());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15045));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Question);
  EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::YesNoCancel);
  EXPECT_EQ(ReadAll(Ini()), kAllKeysAfterFirstStart);
  EXPECT_FALSE(QFileInfo::exists(picture));
}

TEST_F(StartupTest, SettingsComeBackAsTheyWereWritten) {
  WriteAll(Ini(),
           "[PRINTER]\r\n"
           "CALIBRATION_X=12.5\r\n"
           "CALIBRATION_Y=-120\r\n"
           "PRINT_BORDER=1\r\n"
           "PRINT_LOW=2\r\n"
           "PRINT_STOP_PAGE=1.0\r\n"
           "PRINTCIRCLE=Vero\r\n"
           "[SETTING]\r\n"
           "GRID_X= 2.5\r\n"
           "GRID_Y=abc\r\n"
           "SHOW_GRID=Vero\r\n"
           "SNAP=Falso\r\n"
           "SHOW_RULE=70000\r\n"
           "LABELWIDTH=101.6mm\r\n"
           "LABELHEIGHT= 38.1\r\n"
           "FORMATCODE=LM4-A4-14\r\n"
           "USER_KEY=kept\r\n"
           "[GENERAL]\r\n"
           "DEFAULT_PATH=/srv/clip\r\n");
  Recorder rec;
  ASSERT_TRUE(pv::Main());
  EXPECT_EQ(pv::CalibrationX, 12);
  EXPECT_EQ(pv::CalibrationY, -120);
  EXPECT_EQ(pv::PrintBorder, pv::VbTrue);
  EXPECT_EQ(pv::PrintLow, pv::VbFalse);
  EXPECT_EQ(pv::PrintStopPage, pv::VbTrue);
  EXPECT_EQ(pv::PrintCircle, 1);
  EXPECT_FLOAT_EQ(pv::SettingGridX, 2.5f);
  EXPECT_FLOAT_EQ(pv::SettingGridY, 0.0f);
  EXPECT_EQ(pv::SettingShowGrid, 1);
  EXPECT_EQ(pv::SettingSnap, 0);
  EXPECT_EQ(pv::SettingShowRule, 0);
  EXPECT_DOUBLE_EQ(rec.LabelWidth(), 101.6);
  EXPECT_DOUBLE_EQ(rec.LabelHeight(), 38.1);
  EXPECT_EQ(rec.LabelFormatCode(), QStringLiteral("LM4-A4-14"));
  EXPECT_EQ(pv::DefaultPath, QStringLiteral("/srv/clip"));

  pv::SettingGridY = 5;
  rec.SetLabelSize(70, 37);
  pv::SaveSettings();
  const QByteArray written = ReadAll(Ini());
  for (const char* line : {"CALIBRATION_X= 12\r\n", "CALIBRATION_Y=-120\r\n", "PRINT_BORDER=1\r\n", "PRINT_LOW=0\r\n",
                           "PRINTCIRCLE= 1\r\n", "GRID_X= 2.5\r\n", "GRID_Y= 5\r\n", "LABELWIDTH= 70\r\n",
                           "FORMATCODE=LM4-A4-14\r\n", "USER_KEY=kept\r\n", "DEFAULT_PATH=/srv/clip\r\n"}) {
    EXPECT_TRUE(written.contains(line)) << line;
  }
  // Keys already there stay where they were.
  EXPECT_LT(written.indexOf("CALIBRATION_X"), written.indexOf("[SETTING]"));
  EXPECT_LT(written.indexOf("FORMATCODE"), written.indexOf("USER_KEY"));
}

TEST_F(StartupTest, WithoutAPrintSystemMessage15000EndsTheStart) {
  pv::FakePrintSystem none;
  none.unavailable = true;
  pv::SetFakePrintSystem(&none);
  Recorder rec;
  EXPECT_FALSE(pv::Main());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15000));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::Ok);
  EXPECT_EQ(rec.calls, (QStringList{"splash.Show", "splash.Repaint:0", "window.Load", "window.End"}));
  EXPECT_EQ(ReadAll(Ini()), QByteArray("[GENERAL]\r\nDEFAULT_PATH=0\r\n"));  // nothing after Main's own write
  EXPECT_FALSE(QFileInfo::exists(Home(QStringLiteral("plavik.db"))));
}

TEST_F(StartupTest, OnlyYesEndsTheProgram) {
  Recorder rec;
  ASSERT_TRUE(pv::Main());
  rec.loaded = {pv::PopFont, pv::PopFill};
  const QByteArray before = ReadAll(Ini());
  for (const auto a : {pv::MsgAnswer::No, pv::MsgAnswer::Cancel}) {
    answer = a;
    EXPECT_FALSE(pv::ConfirmEndProgram());
  }
  EXPECT_EQ(ReadAll(Ini()), before);
  EXPECT_EQ(rec.loaded.size(), 2);

  rec.calls.clear();
  answer = pv::MsgAnswer::Yes;
  EXPECT_TRUE(pv::ConfirmEndProgram());
  EXPECT_EQ(rec.calls, (QStringList{"unload:0", "unload:4"}));  // font, then fill, before any write
  EXPECT_TRUE(rec.loaded.isEmpty());
}

}  // namespace

namespace {

TEST_F(StartupTest, TheLabelSizeAndCodeLiveInTheDocumentHeader) {
  WriteAll(Ini(), "[SETTING]\r\nLABELWIDTH=70\r\nLABELHEIGHT=37\r\nFORMATCODE=LM4-A4-24B\r\n");
  // A start-up without windows: no views, no editor style, no floating windows.
  pv::ShellViewsHost noViews;
  pv::ShellStyleHost noStyle;
  pv::ShellPopUpHost noPopUps;
  const pv::ScopedHost<pv::ShellViewsHost> views(noViews);
  const pv::ScopedHost<pv::ShellStyleHost> style(noStyle);
  const pv::ScopedHost<pv::ShellPopUpHost> popUps(noPopUps);
  pv::DocFileName = QStringLiteral("/old/file.lab");
  ASSERT_TRUE(pv::LoadSettings());
  EXPECT_DOUBLE_EQ(pv::Header.LabelWidth, 70.0);
  EXPECT_DOUBLE_EQ(pv::Header.LabelHeight, 37.0);
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("LM4-A4-24B"));
  EXPECT_TRUE(pv::DocFileName.isEmpty());
  EXPECT_EQ(pv::BackgroundName.size(), pv::FixedNameLength);
  pv::Header.LabelWidth = 99.1;
  pv::Header.LabelFormatCode = QStringLiteral("LM4-A4-14");
  pv::SaveSettings();
  EXPECT_TRUE(ReadAll(Ini()).contains("LABELWIDTH= 99.1\r\nLABELHEIGHT= 37\r\nFORMATCODE=LM4-A4-14\r\n"));
  pv::ResetDocumentState();
}

}  // namespace
