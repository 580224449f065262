#pragma once
// Shared set-up of the printing tests: one application object, a program
// folder of its own, message boxes and the panel's controls recorded, the
// editor's SaveData counted, a fake print system, and a label whose
// background is a solid picture (so ink shows where labels are drawn).

#include "../app/apptest.h"

#include "app/dialogs.h"
#include "document/document.h"
#include "document/hosts.h"
#include "platform/dc.h"
#include "printing/engine.h"
#include "printing/panelhost.h"
#include "render/render.h"

#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <optional>

namespace printtest {

// A run on format f: `pages` pages, the positions first..last printing where
// the range applies, the count box in pages.
inline pv::PrintRunValues MakeRun(const pv::PanelFormat& f, std::int32_t pages, std::int32_t first, std::int32_t last,
                                  std::int32_t range) {
  pv::PrintRunValues run;
  run.m_Format = f;
  run.m_PageCount = pages;
  run.m_FirstLabel = first;
  run.m_LastLabel = last;
  run.m_RangePages = range;
  return run;
}

// The engine's run with `change` made to it, handed back to the engine.
template <class Change>
void ChangeRun(Change change) {
  pv::PrintRunValues run = pv::PrintRun().Run();
  change(run);
  pv::PrintRun().SetRun(run);
}

// The engine's run as it stands.
inline const pv::PrintRunValues& CurrentRun() { return pv::PrintRun().Run(); }

struct RecordingControls : pv::PrintPanelControls {
  std::vector<bool> warnings;
  QStringList pageCaptions;
  QStringList formatCaptions;
  int controlInformation = 0;
  std::vector<bool> progressShown;
  std::vector<double> progressValues;
  double progressMaximum = 0;
  struct Prepared {
    double w, h;
    int rx, ry;
  };
  std::vector<Prepared> prepared;
  pv::PreviewSheet sheet;

  void SetWarningVisible(bool v) override { warnings.push_back(v); }
  void SetPageCaption(const QString& c) override { pageCaptions << c; }
  void SetFormatCaption(const QString& c) override { formatCaptions << c; }
  void SetControlInformation() override { ++controlInformation; }
  void ShowProgress(bool v) override { progressShown.push_back(v); }
  void SetProgress(double, double maximum, double value) override {
    progressMaximum = maximum;
    progressValues.push_back(value);
  }
  void PreparePrinting(double w, double h, std::int32_t rx, std::int32_t ry) override {
    prepared.push_back({w, h, rx, ry});
  }
  pv::PreviewSheet PreviewGeometry() override { return sheet; }

  // The merge side of the panel.
  std::vector<bool> manualOptions;
  int refreshes = 0;
  int noMergeSelections = 0;
  std::optional<bool> stopPageTicked;  // unset: the default's answer
  void ShowManualOptions(bool v) override { manualOptions.push_back(v); }
  void RefreshPreview() override { ++refreshes; }
  void SelectNoMergeEntry() override {
    ++noMergeSelections;
    PrintPanelControls::SelectNoMergeEntry();
  }
  bool StopPageChecked() override { return stopPageTicked ? *stopPageTicked : PrintPanelControls::StopPageChecked(); }
};

struct CountingEditor : pv::EditorHost {
  int saves = 0;
  void SaveData() override { ++saves; }
};

// Answers the save dialog with a file (or cancels with an empty one).
struct AnsweringDialogs : pv::CommonDialogHost {
  QString answer;
  int asked = 0;
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest&) override {
    ++asked;
    if (answer.isEmpty()) return std::nullopt;
    return pv::FileDialogResult{answer, 1};
  }
};

class PrintTest : public apptest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    pv::PrintRun().Reset();
    pv::ResetDocumentState();
    m_oldControls = pv::SetPrintPanelControls(&controls);
    m_oldEditor = pv::SetEditorHost(&editor);
    m_oldDialogs = pv::SetCommonDialogHost(&dialogs);
    pv::SetFakePrintSystem(&fake);
  }
  void TearDown() override {
    pv::SetCommonDialogHost(m_oldDialogs);
    pv::SetEditorHost(m_oldEditor);
    pv::SetPrintPanelControls(m_oldControls);
    pv::ClearPictureCache();
    pv::PrintRun().Reset();
    ShellTest::TearDown();
    pv::ProgramSettings() = pv::Settings{};
  }

  // Opens the program database of the test's program folder and adds print
  // formats: each entry "'code', Width, Height, nOri, nVer, TopMargin,
  // bottommarg, LeftMargin, rightmargin, vertipitch, horizpitch, sheetwidth,
  // sheetdepth".
  void AddFormats(const QStringList& rows) {
    pv::OpenDatabase();
    ASSERT_TRUE(pv::cnDatabase.IsOpen());
    QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
    for (const QString& row : rows) {
      ASSERT_TRUE(q.exec(
          QStringLiteral("INSERT INTO rst_format (Code, Width, Height, nOri, nVer, TopMargin, bottommarg, LeftMargin,"
                         " rightmargin, vertipitch, horizpitch, sheetwidth, sheetdepth) VALUES (%1)")
              .arg(row)));
    }
  }

  // One printer, "Office", the default, with these capabilities.
  void OfficePrinter(const pv::PrinterCaps& caps) {
    fake.printers = QStringList{QStringLiteral("Office")};
    fake.defaultPrinter = QStringLiteral("Office");
    fake.caps = caps;
    pv::SetFakePrintSystem(&fake);
  }

  // A solid picture as the label's background.
  void SolidBackground(QColor colour = Qt::black) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(colour);
    const QString file = Home(QStringLiteral("solid.png"));
    ASSERT_TRUE(img.save(file));
    pv::BackgroundName = file;
  }

  // 2 x 2 labels of 20 x 10 mm, 5 mm gaps, 5 mm margins, drawn 20 x 10; the
  // printer at 254 dpi (10 dots a millimetre) with no offsets.
  void TwoByTwo() {
    pv::PanelFormat f;
    f.Sheet.Width = 20;
    f.Sheet.Height = 10;
    f.Sheet.nOri = 2;
    f.Sheet.nVer = 2;
    f.Sheet.TopMargin = 5;
    f.Sheet.LeftMargin = 5;
    f.Sheet.vertipitch = 5;
    f.Sheet.horizpitch = 5;
    f.Sheet.sheetwidth = 60;
    f.Sheet.sheetdepth = 35;
    pv::Header.LabelWidth = 20;
    pv::Header.LabelHeight = 10;
    pv::PrinterCaps& printer = pv::ProgramSettings().Printer;
    printer.DpiX = printer.DpiY = 254;
    printer.HorzSize = 210;
    printer.VertSize = 297;
    pv::PrintRun().SetRun(MakeRun(f, 1, 1, 4, 0));
  }

  int Count16200() const {
    int n = 0;
    for (const auto& b : boxes) n += b.text.startsWith(QStringLiteral("Attenzione: richiesto")) ? 1 : 0;
    return n;
  }
  int CountPrintingErrors() const {
    int n = 0;
    for (const auto& b : boxes) n += (b.text == QStringLiteral("Printing error: 1") && b.icon == pv::MsgIcon::Critical);
    return n;
  }

  RecordingControls controls;
  CountingEditor editor;
  AnsweringDialogs dialogs;
  pv::FakePrintSystem fake;

 private:
  pv::PrintPanelControls* m_oldControls = nullptr;
  pv::EditorHost* m_oldEditor = nullptr;
  pv::CommonDialogHost* m_oldDialogs = nullptr;
};

// Whether the pixel is dark (ink).
inline bool Ink(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

}  // namespace printtest
