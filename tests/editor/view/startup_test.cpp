// The editor as the program starts it: the real start-up (splash, the
// main window's load with LoadSettings and the first document, the window
// shown) with a plavik.ini of its own, then the editor's tab. The canvas
// must meet the settings and the document at the size it really has, and
// show the label page fitted and centred once the editor is on screen.
#include "core/database.h"
#include "core/settings.h"
#include "app/startup.h"
#include "app/window/mainwnd.h"
#include "document/canvas/drageditorwidget.h"
#include "document/document.h"
#include "editor/style.h"
#include "editor/view/editcard.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "tests/app/apptest.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ostream>

namespace {

// A settings file as the Windows program wrote it (CRLF lines).
constexpr char kIni[] =
    "[SETTING]\r\nLABELWIDTH=100\r\nLABELHEIGHT=50\r\nSHOW_RULE=1\r\nSHOW_GRID=1\r\nGRID_X=5\r\nGRID_Y=5\r\n";

class StartUpTest : public apptest::ShellTest {
 protected:
  StartUpTest() : ShellTest(true) {}
  void SetUp() override {
    ShellTest::SetUp();
    QLocale::setDefault(QLocale::c());
    pv::ResetDocumentState();
    pv::ResetDefaultStyle();
    m_print.printers = {QStringLiteral("Ufficio")};
    m_print.defaultPrinter = QStringLiteral("Ufficio");
    m_print.caps = pv::PrinterCaps{600, 600, 25, 30};
    pv::SetFakePrintSystem(&m_print);
  }
  void TearDown() override {
    pv::DestroyMainWnd();
    ShellTest::TearDown();
    QLocale::setDefault(QLocale::system());
  }

  void WriteIni(const char* text) {
    QFile f(Home(QStringLiteral("plavik.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  // The program's start: Main loads the main window and shows it.
  pv::MainWnd& Start(const char* ini = kIni) {
    WriteIni(ini);
    EXPECT_TRUE(pv::Main());
    QApplication::processEvents();
    return pv::GetMainWnd();
  }
  static pv::EditCard& Editor(pv::MainWnd& w) { return *static_cast<pv::EditCard*>(w.EditCard()); }
  // The client area made w x h pixels (the window keeps its menu bar), or
  // as small as the window allows.
  static void ResizeClient(pv::MainWnd& w, int width, int height) {
    const QSize bar(0, w.height() - w.ClientArea()->height());
    w.resize(QSize(width, height) + bar);
    QApplication::processEvents();
    ASSERT_EQ(w.ClientArea()->size(), QSize(width, height).expandedTo(w.minimumSize() - bar));
  }
  static void Select(pv::MainWnd& w, const char* key) {
    w.SelectView(QString::fromLatin1(key));
    QApplication::processEvents();
  }

 private:
  pv::FakePrintSystem m_print;
};

// The canvas's children fill the control it has: the surface and the rulers
// end where the scroll bars begin, the bars at the control's edges, and the
// canvas's own surface is the surface widget's size.
void ExpectLaidOutForItsSize(pv::EditCard& card) {
  pv::DragEditorWidget& c = *card.DragEditorControl();
  const pv::CanvasState& s = card.Canvas().State();
  EXPECT_EQ(c.VScrollBar()->geometry().right() + 1, c.width());
  EXPECT_EQ(c.HScrollBar()->geometry().bottom() + 1, c.height());
  EXPECT_EQ(c.ViewArea()->geometry().right() + 1, c.VScrollBar()->x());
  EXPECT_EQ(c.ViewArea()->geometry().bottom() + 1, c.HScrollBar()->y());
  EXPECT_EQ(QSize(s.SurfaceWidth, s.SurfaceHeight), c.ViewArea()->size());
}

// The page of w x h millimetres on the screen: at the expected zoom, inside
// the surface and centred in it (the scroll values are whole or half
// millimetres: a pixel or two off), the rulers painted for where it is, and
// the font scale of that zoom.
void ExpectPageFittedAndCentred(pv::EditCard& card, float zoom, double w, double h) {
  const pv::CanvasState& s = card.Canvas().State();
  EXPECT_FLOAT_EQ(s.Zoom, zoom);
  EXPECT_DOUBLE_EQ(s.WorkAreaWidth, 300);
  EXPECT_DOUBLE_EQ(s.PageWidth, w);
  EXPECT_DOUBLE_EQ(s.PageHeight, h);
  EXPECT_GE(s.PageCornerX, 0);
  EXPECT_GE(s.PageCornerY, 0);
  EXPECT_LT(s.PageEndX, s.SurfaceWidth);
  EXPECT_LT(s.PageEndY, s.SurfaceHeight);
  EXPECT_NEAR(s.PageEndX - s.PageCornerX, w * double(zoom), 1.0);
  EXPECT_NEAR(s.PageEndY - s.PageCornerY, h * double(zoom), 1.0);
  EXPECT_LE(std::abs((s.PageCornerX + s.PageEndX) - s.SurfaceWidth), 4) << s.PageCornerX << "-" << s.PageEndX;
  EXPECT_LE(std::abs((s.PageCornerY + s.PageEndY) - s.SurfaceHeight), 4) << s.PageCornerY << "-" << s.PageEndY;
  EXPECT_EQ(s.RulerCacheLeft, s.PageCornerX);
  EXPECT_EQ(s.RulerCacheTop, s.PageCornerY);
  EXPECT_EQ(s.RulerCacheRight, s.PageEndX);
  EXPECT_EQ(s.RulerCacheBottom, s.PageEndY);
  EXPECT_FLOAT_EQ(s.FontRatio, float(std::lround(25.4 * double(zoom))) / 72.0f);
}

TEST_F(StartUpTest, TheLoadMeetsTheEditorAtItsDesignSize) {
  pv::MainWnd& w = Start();
  pv::EditCard& card = Editor(w);
  // Loaded and shown, the wizard current: the editor has never been on the
  // screen, yet it and its canvas already have their places, and the
  // settings and the first document went into a canvas of that size.
  ASSERT_EQ(w.CurrentView(), QStringLiteral("tbr_template"));
  EXPECT_FALSE(card.isVisible());
  EXPECT_EQ(card.geometry(), QRect(0, 64, 668, 520));
  // The canvas fills the container beside the panel.
  EXPECT_EQ(card.DragEditorControl()->geometry(), QRect(0, 20, 668 - card.PanelWidth() - 1, 500));
  ExpectLaidOutForItsSize(card);
  const pv::CanvasState& s = card.Canvas().State();
  EXPECT_DOUBLE_EQ(s.PageWidth, 100);
  EXPECT_DOUBLE_EQ(s.PageHeight, 50);
  EXPECT_TRUE(s.ShowRule);
  EXPECT_TRUE(boxes.empty());
}

struct ShowCase {
  const char* name;
  QSize client;       // empty: the design size
  bool editorBefore;  // the editor was on the screen before the resize
  float zoom;
};

void PrintTo(const ShowCase& c, std::ostream* os) { *os << c.name; }

class StartUpShowTest : public StartUpTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(StartUpShowTest, TheEditorsTabShowsThePageFittedAndCentred) {
  const ShowCase& c = GetParam();
  pv::MainWnd& w = Start();
  pv::EditCard& card = Editor(w);
  if (c.editorBefore) {
    Select(w, "tbr_editor");
    Select(w, "tbr_template");
  }
  if (!c.client.isEmpty()) ResizeClient(w, c.client.width(), c.client.height());
  Select(w, "tbr_editor");
  ASSERT_TRUE(card.DragEditorControl()->isVisible());
  ExpectLaidOutForItsSize(card);
  ExpectPageFittedAndCentred(card, c.zoom, 100, 50);
}

// Surfaces: 441 x 457 at the design size (300 mm fit 1.47, stepped to 1.2);
// 737 x 613 for a client of 1000 x 760 (2.04, stepped to 2.0); about
// 430 x 435 at the smallest size the window allows (its controls whole:
// 1.43, stepped to 1.2).
INSTANTIATE_TEST_SUITE_P(Sizes, StartUpShowTest,
                         ::testing::Values(ShowCase{"DesignSize", QSize(), false, 1.2f},
                                           ShowCase{"WiderWhileTheWizardShows", QSize(1000, 760), false, 2.0f},
                                           ShowCase{"WiderAfterTheEditorShowed", QSize(1000, 760), true, 2.0f},
                                           ShowCase{"Smallest", QSize(1, 1), false, 1.2f}),
                         [](const ::testing::TestParamInfo<ShowCase>& p) { return std::string(p.param.name); });

TEST_F(StartUpTest, ASettingsFileWithOnlyTheLabelSizeStillShowsThePage) {
  pv::MainWnd& w = Start("[SETTING]\r\nLABELWIDTH=100\r\nLABELHEIGHT=50\r\n");
  pv::EditCard& card = Editor(w);
  Select(w, "tbr_editor");
  const pv::CanvasState& s = card.Canvas().State();
  // No rulers and no grid stored: both shown, as on a first start; and the
  // page.
  EXPECT_TRUE(s.ShowRule);
  EXPECT_TRUE(s.ShowGrid);
  EXPECT_FLOAT_EQ(s.Zoom, 1.2f);
  EXPECT_GE(s.PageCornerX, 0);
  EXPECT_LT(s.PageEndX, s.SurfaceWidth);
  EXPECT_LE(std::abs((s.PageCornerY + s.PageEndY) - s.SurfaceHeight), 4);
}

}  // namespace
