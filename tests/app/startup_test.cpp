#include "core/hosts.h"
#include "document/hosts.h"
#include "core/ini.h"
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
                   pv::IniToText(
                       pv::ReadIni(pv::IniFileName(), QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH")));
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
    calls << QStringLiteral("DataBaseData.Init:") +
                 (pv::rsTemplate.IsOpen() ? QStringLiteral("db") : QStringLiteral("nodb"));
  }
  void WizardInit() override { calls << QStringLiteral("ModelData.Init"); }
  void PrintPanelInit() override { calls << QStringLiteral("PreviewData.Init"); }
  void FormatArchiveRefreshData(const QString& code) override {
    calls << QStringLiteral("FormatData.RefreshData:") + code;
  }
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
    const bool written =
        pv::ReadIniText(pv::IniFileName(), QStringLiteral("PRINTER"), QStringLiteral("CALIBRATION_X")).has_value();
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
    "DEFAULT_PATH=%CLIPART%\r\n"
    "SHOW_HELP= 0\r\n"
    "LABEL_FOLDER=0\r\n"
    "PICTURE_FOLDER=0\r\n"
    "DATA_FOLDER=0\r\n"
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
    "GRID_X= 5\r\n"
    "GRID_Y= 5\r\n"
    "SHOW_GRID= 1\r\n"
    "SHOW_RULE= 1\r\n"
    "AUTO_INSERT= 0\r\n"
    "BOZZA= 0\r\n"
    "SNAP= 0\r\n"
    "LABELWIDTH= 210\r\n"
    "LABELHEIGHT= 297\r\n"
    "FORMATCODE=LM4-A4-01\r\n";

TEST_F(StartupTest, StepsRunInTheirOrder) {
  Recorder rec;
  ASSERT_TRUE(pv::Main());
  EXPECT_EQ(rec.calls, (QStringList{
                           "splash.Show",
                           QStringLiteral("splash.Repaint:") + pv::ProgramPath(QStringLiteral("clipart")),
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
  const pv::Settings& s = pv::ProgramSettings();
  // The settings a user expects: the grid at 5 mm and shown, the rulers
  // shown, the program's clip-art folder, the first delivered format's
  // label; every other setting at its start value.
  EXPECT_EQ(s.CalibrationX, 0);
  EXPECT_EQ(s.PrintBorder, pv::VbFalse);
  EXPECT_EQ(s.SettingShowGrid, 1);
  EXPECT_EQ(s.SettingShowRule, 1);
  EXPECT_FLOAT_EQ(s.SettingGridX, 5.0f);
  EXPECT_FLOAT_EQ(s.SettingGridY, 5.0f);
  EXPECT_EQ(s.SettingSnap, 0);
  EXPECT_EQ(s.DefaultPath, pv::ProgramPath(QStringLiteral("clipart")));
  EXPECT_EQ(rec.LabelWidth(), 210.0);
  EXPECT_EQ(rec.LabelHeight(), 297.0);
  EXPECT_EQ(rec.LabelFormatCode(), QStringLiteral("LM4-A4-01"));
  // The built-in PDF printer stands in when the machine has none.
  EXPECT_EQ(s.Printer.DpiX, pv::PrinterCapabilities(pv::CurrentPrinterName())->DpiX);
  EXPECT_GT(s.Printer.DpiY, 0);
  // After the start only DEFAULT_PATH is in the file; the database was made.
  EXPECT_EQ(ReadAll(Ini()),
            "[GENERAL]\r\nDEFAULT_PATH=" + pv::ProgramPath(QStringLiteral("clipart")).toLocal8Bit() + "\r\n");
  EXPECT_TRUE(QFileInfo::exists(Home(QStringLiteral("plavik.db"))));

  const QString picture = pv::TempImageFile(QStringLiteral("1.png"));
  WriteAll(picture, "x");
  answer = pv::MsgAnswer::Yes;
  EXPECT_TRUE(pv::ConfirmEndProgram());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15045));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Question);
  EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::YesNoCancel);
  EXPECT_EQ(ReadAll(Ini()), QByteArray(kAllKeysAfterFirstStart)
                                .replace("%CLIPART%", pv::ProgramPath(QStringLiteral("clipart")).toLocal8Bit()));
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
  pv::Settings& s = pv::ProgramSettings();
  EXPECT_EQ(s.CalibrationX, 12);
  EXPECT_EQ(s.CalibrationY, -120);
  EXPECT_EQ(s.PrintBorder, pv::VbTrue);
  EXPECT_EQ(s.PrintLow, pv::VbFalse);
  EXPECT_EQ(s.PrintStopPage, pv::VbTrue);
  EXPECT_EQ(s.PrintCircle, 1);
  EXPECT_FLOAT_EQ(s.SettingGridX, 2.5f);
  EXPECT_FLOAT_EQ(s.SettingGridY, 5.0f);  // no pitch the grid can have: the default
  EXPECT_EQ(s.SettingShowGrid, 1);
  EXPECT_EQ(s.SettingSnap, 0);
  EXPECT_EQ(s.SettingShowRule, 0);
  EXPECT_DOUBLE_EQ(rec.LabelWidth(), 101.6);
  EXPECT_DOUBLE_EQ(rec.LabelHeight(), 38.1);
  EXPECT_EQ(rec.LabelFormatCode(), QStringLiteral("LM4-A4-14"));
  EXPECT_EQ(s.DefaultPath, QStringLiteral("/srv/clip"));

  s.SettingGridY = 5;
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
  EXPECT_EQ(rec.calls,
            (QStringList{"splash.Show", QStringLiteral("splash.Repaint:") + pv::ProgramPath(QStringLiteral("clipart")),
                         "window.Load", "window.End"}));
  EXPECT_EQ(ReadAll(Ini()), "[GENERAL]\r\nDEFAULT_PATH=" + pv::ProgramPath(QStringLiteral("clipart")).toLocal8Bit() +
                                "\r\n");  // nothing after Main's own write
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

// A start-up without windows: no views, no editor style, no floating windows.
struct WindowlessStart {
  pv::ShellViewsHost noViews;
  pv::ShellStyleHost noStyle;
  pv::ShellPopUpHost noPopUps;
  const pv::ScopedHost<pv::ShellViewsHost> views{noViews};
  const pv::ScopedHost<pv::ShellStyleHost> style{noStyle};
  const pv::ScopedHost<pv::ShellPopUpHost> popUps{noPopUps};
};

TEST_F(StartupTest, TheLabelSizeAndCodeLiveInTheDocumentHeader) {
  WriteAll(Ini(), "[SETTING]\r\nLABELWIDTH=70\r\nLABELHEIGHT=37\r\nFORMATCODE=LM4-A4-24B\r\n");
  const WindowlessStart windowless;
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

TEST_F(StartupTest, ASizeNoLabelCanHaveIsIgnored) {
  const WindowlessStart windowless;
  for (const char* size :
       {"LABELWIDTH=-70\r\nLABELHEIGHT=37", "LABELWIDTH=70\r\nLABELHEIGHT=0", "LABELWIDTH=1000000\r\nLABELHEIGHT=37",
        "LABELWIDTH=70\r\nLABELHEIGHT=abc", "LABELWIDTH=70\r\nLABELHEIGHT=100000.5"}) {
    pv::Header.LabelWidth = 50;
    pv::Header.LabelHeight = 30;
    WriteAll(Ini(), QByteArray("[SETTING]\r\n") + size + "\r\nFORMATCODE=X\r\n");
    ASSERT_TRUE(pv::LoadSettings());
    EXPECT_DOUBLE_EQ(pv::Header.LabelWidth, 50.0) << size;
    EXPECT_DOUBLE_EQ(pv::Header.LabelHeight, 30.0) << size;
    EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("X"));
  }
  WriteAll(Ini(), "[SETTING]\r\nLABELWIDTH=100000\r\nLABELHEIGHT=0.5\r\n");
  ASSERT_TRUE(pv::LoadSettings());
  EXPECT_DOUBLE_EQ(pv::Header.LabelWidth, 100000.0);
  EXPECT_DOUBLE_EQ(pv::Header.LabelHeight, 0.5);
  pv::ResetDocumentState();
}

}  // namespace

namespace {

// Every key with a value of its own, in the form and order the program
// writes them.
const QByteArray kEveryKeySet =
    "[GENERAL]\r\n"
    "DEFAULT_PATH=/srv/clip art\r\n"
    "SHOW_HELP= 1\r\n"
    "LABEL_FOLDER=/home/anna/Etichette\r\n"
    "PICTURE_FOLDER=/home/anna/Immagini/loghi\r\n"
    "DATA_FOLDER=/srv/dati clienti\r\n"
    "[PRINTER]\r\n"
    "CALIBRATION_X=-120\r\n"
    "CALIBRATION_Y= 45\r\n"
    "PRINT_ARCHIVE=1\r\n"
    "PRINT_BORDER=0\r\n"
    "PRINT_LOW=1\r\n"
    "PRINT_STOP_PAGE=0\r\n"
    "PRINTFIELDCODE= 1\r\n"
    "PRINTFIELDCODEIFNULL= 0\r\n"
    "PRINTCIRCLE= 1\r\n"
    "[SHOWS]\r\n"
    "SMALL_TEMPLATE= 3\r\n"
    "ANTIALIASING= 1\r\n"
    "[SETTING]\r\n"
    "GRID_X= 2.5\r\n"
    "GRID_Y= 12.25\r\n"
    "SHOW_GRID= 1\r\n"
    "SHOW_RULE= 0\r\n"
    "AUTO_INSERT= 1\r\n"
    "BOZZA= 0\r\n"
    "SNAP= 1\r\n"
    "LABELWIDTH= 101.6\r\n"
    "LABELHEIGHT= 38.1\r\n"
    "FORMATCODE=LM4-A4-14\r\n";

// Every setting in memory, one readable line each.
std::vector<std::string> SettingsInMemory(const pv::ShellDocumentHost& doc) {
  const auto line = [](const char* name, const QString& value) {
    return std::string(name) + "=" + value.toStdString();
  };
  const auto n = [](double v) { return QString::number(v); };
  const pv::Settings& s = pv::ProgramSettings();
  return {line("CalibrationX", n(s.CalibrationX)),
          line("CalibrationY", n(s.CalibrationY)),
          line("PrintArchive", n(s.PrintArchive)),
          line("PrintBorder", n(s.PrintBorder)),
          line("PrintLow", n(s.PrintLow)),
          line("PrintStopPage", n(s.PrintStopPage)),
          line("PrintFieldCode", n(s.PrintFieldCode)),
          line("PrintFieldCodeIfNull", n(s.PrintFieldCodeIfNull)),
          line("PrintCircle", n(s.PrintCircle)),
          line("SettingSmallTemplate", n(s.SettingSmallTemplate)),
          line("SettingAntialiasing", n(s.SettingAntialiasing)),
          line("SettingGridX", n(s.SettingGridX)),
          line("SettingGridY", n(s.SettingGridY)),
          line("SettingShowGrid", n(s.SettingShowGrid)),
          line("SettingShowRule", n(s.SettingShowRule)),
          line("SettingAutoInsert", n(s.SettingAutoInsert)),
          line("SettingBozza", n(s.SettingBozza)),
          line("SettingSnap", n(s.SettingSnap)),
          line("LabelWidth", n(doc.LabelWidth())),
          line("LabelHeight", n(doc.LabelHeight())),
          line("LabelFormatCode", doc.LabelFormatCode()),
          line("SettingShowHelp", n(s.SettingShowHelp)),
          line("DefaultPath", s.DefaultPath),
          line("LabelFolder", s.LabelFolder),
          line("PictureFolder", s.PictureFolder),
          line("DataFolder", s.DataFolder)};
}

TEST_F(StartupTest, AFileLoadedAndSavedComesBackByteForByte) {
  WriteAll(Ini(), kEveryKeySet);
  Recorder rec;
  ASSERT_TRUE(pv::Main());
  const pv::Settings& s = pv::ProgramSettings();
  EXPECT_EQ(s.CalibrationX, -120);
  EXPECT_EQ(s.PrintLow, pv::VbTrue);
  EXPECT_FLOAT_EQ(s.SettingGridY, 12.25f);
  EXPECT_EQ(s.DefaultPath, QStringLiteral("/srv/clip art"));
  EXPECT_EQ(s.PictureFolder, QStringLiteral("/home/anna/Immagini/loghi"));
  answer = pv::MsgAnswer::Yes;
  ASSERT_TRUE(pv::ConfirmEndProgram());
  EXPECT_EQ(ReadAll(Ini()), kEveryKeySet);
}

// The file SaveSettings writes for the values EveryKeyComesBackIntoItsOwnSetting
// gives the settings in pass p.
QByteArray FileOfPass(int p) {
  const auto n = [](double v) { return (v < 0 ? QString() : QStringLiteral(" ")) + QString::number(v); };
  const auto flag = [p](int i) { return QString::number(i == p ? 1 : 0); };
  const int base = 10 * (p + 1);
  const QString file =
      QStringLiteral(
          "[GENERAL]\r\nDEFAULT_PATH=/clip/%1\r\nSHOW_HELP=%2\r\n"
          "LABEL_FOLDER=/etichette/%1\r\nPICTURE_FOLDER=/foto/%1\r\nDATA_FOLDER=/dati/%1\r\n"
          "[PRINTER]\r\nCALIBRATION_X=%3\r\nCALIBRATION_Y=%4\r\n"
          "PRINT_ARCHIVE=%5\r\nPRINT_BORDER=%6\r\nPRINT_LOW=%7\r\nPRINT_STOP_PAGE=%8\r\n"
          "PRINTFIELDCODE=%9\r\n")
          .arg(p)
          .arg(n(base + 10), n(-100 - p), n(200 + p), flag(0), flag(1), flag(2), flag(3), n(base)) +
      QStringLiteral(
          "PRINTFIELDCODEIFNULL=%1\r\nPRINTCIRCLE=%2\r\n"
          "[SHOWS]\r\nSMALL_TEMPLATE=%3\r\nANTIALIASING=%4\r\n"
          "[SETTING]\r\nGRID_X=%5\r\nGRID_Y=%6\r\nSHOW_GRID=%7\r\nSHOW_RULE=%8\r\nAUTO_INSERT=%9\r\n")
          .arg(n(base + 1), n(base + 2), n(base + 3), n(base + 4), n(1.5 + p), n(20.75 + p), n(base + 5), n(base + 6),
               n(base + 7)) +
      QStringLiteral("BOZZA=%1\r\nSNAP=%2\r\nLABELWIDTH=%3\r\nLABELHEIGHT=%4\r\nFORMATCODE=CODE-%5\r\n")
          .arg(n(base + 8), n(base + 9), n(70.5 + p), n(37.25 + p))
          .arg(p);
  return file.toLatin1();
}

TEST_F(StartupTest, EveryKeyComesBackIntoItsOwnSetting) {
  // Each pass gives every setting a value no other setting has, and turns
  // on just one of the four PRINT_ flags, so a key written from or read into
  // another key's setting shows in the file or after the next start.
  for (int pass = 0; pass < 4; ++pass) {
    SCOPED_TRACE(pass);
    Recorder rec;
    ASSERT_TRUE(pv::Main());
    // What the start read (the printer's values among it), every setting
    // then given its own value.
    pv::Settings s = pv::ProgramSettings();
    s.CalibrationX = -100 - pass;
    s.CalibrationY = 200 + pass;
    pv::VbBool pv::Settings::*flags[] = {&pv::Settings::PrintArchive, &pv::Settings::PrintBorder,
                                         &pv::Settings::PrintLow, &pv::Settings::PrintStopPage};
    for (int i = 0; i < 4; ++i) s.*flags[i] = pv::ToVbBool(i == pass);
    std::int16_t next = static_cast<std::int16_t>(10 * (pass + 1));
    for (std::int16_t pv::Settings::*v :
         {&pv::Settings::PrintFieldCode, &pv::Settings::PrintFieldCodeIfNull, &pv::Settings::PrintCircle,
          &pv::Settings::SettingSmallTemplate, &pv::Settings::SettingAntialiasing, &pv::Settings::SettingShowGrid,
          &pv::Settings::SettingShowRule, &pv::Settings::SettingAutoInsert, &pv::Settings::SettingBozza,
          &pv::Settings::SettingSnap, &pv::Settings::SettingShowHelp}) {
      s.*v = next++;
    }
    s.SettingGridX = 1.5f + static_cast<float>(pass);
    s.SettingGridY = 20.75f + static_cast<float>(pass);
    s.DefaultPath = QStringLiteral("/clip/%1").arg(pass);
    s.LabelFolder = QStringLiteral("/etichette/%1").arg(pass);
    s.PictureFolder = QStringLiteral("/foto/%1").arg(pass);
    s.DataFolder = QStringLiteral("/dati/%1").arg(pass);
    pv::ProgramSettings() = s;
    rec.SetLabelSize(70.5 + pass, 37.25 + pass);
    rec.SetLabelFormatCode(QStringLiteral("CODE-%1").arg(pass));
    const std::vector<std::string> saved = SettingsInMemory(rec);
    pv::SaveSettings();
    EXPECT_EQ(ReadAll(Ini()).toStdString(), FileOfPass(pass).toStdString());

    pv::ProgramSettings() = pv::Settings{};
    rec.SetLabelSize(0, 0);
    rec.SetLabelFormatCode(QString());
    pv::CloseDatabase();
    ASSERT_TRUE(pv::Main());
    EXPECT_EQ(SettingsInMemory(rec), saved);
    pv::CloseDatabase();
  }
}

}  // namespace
