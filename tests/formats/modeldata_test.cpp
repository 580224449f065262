// The wizard's window: its texts come from the string table, a click on a
// command's image or on its description shows that list, the main window's
// context menu reaches Apply, and its layout follows the view's size.
#include "app/window/mainwnd.h"
#include "app/wiring.h"
#include "formats/windows/modeldata.h"
#include "views/imagegridwidget.h"
#include "tests/formats/wizardtest.h"

#include <QLabel>
#include <QMouseEvent>
#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace {

using wizardtest::WizardTest;

class ModelDataWindow : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    pv::test::EnsureApplication();
  }
};

TEST_F(ModelDataWindow, TextsComeFromTheStringTable) {
  pv::ModelData view;
  const int tooltips[] = {13407, 13408, 13409, 13410, 13411};
  const int descriptions[] = {27010, 27009, 27007, 27005, 27001};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(view.Command(i)->toolTip(), pv::LoadResString(tooltips[i]));
    EXPECT_EQ(view.lblCommand(i)->text(), pv::LoadResString(descriptions[i]));
    EXPECT_FALSE(view.Command(i)->icon().isNull());
  }
  EXPECT_EQ(view.Label1()->text(), pv::LoadResString(27003));
  EXPECT_EQ(view.lblSelect()->text(), pv::LoadResString(27000));
}

TEST_F(ModelDataWindow, ACommandOrItsDescriptionShowsItsListAndCount) {
  pv::ModelData view;
  view.resize(900, 600);
  view.show();
  view.Init();
  ASSERT_GT(view.Model().Models().size(), 1u);  // the delivered formats
  EXPECT_EQ(view.lblSelect()->text(), QStringLiteral("Dimensioni trovate:%1").arg(view.Model().Models().size() - 1));
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(view.lblCommand(2), &release);
  EXPECT_EQ(view.Model().Mode(), 2);
  EXPECT_EQ(view.lblSelect()->text(), QStringLiteral("Modelli trovati:%1").arg(view.Model().Models().size() - 1));
  view.Command(3)->click();
  EXPECT_EQ(view.Model().Mode(), 3);
  EXPECT_EQ(view.lblSelect()->text(), QStringLiteral("Sfondi trovati: 0"));
  // Layout: the commands on the left, the grid below the title line.
  EXPECT_EQ(view.ImageList()->geometry(), QRect(0, 20, 900 - 181, 580));
  EXPECT_EQ(view.ImageList()->parentWidget()->geometry(), QRect(181, 0, 900 - 181, 600));
}

// The wheel scrolls the grid wherever the pointer is on it: over a cell, over
// the white around the cells and over the bar; a notch is one row.
TEST_F(ModelDataWindow, TheWheelScrollsTheGridOverCellsWhiteAndTheBar) {
  for (int i = 0; i < 40; ++i) {
    pv::StoreFormat(formatstest::Sheet(QStringLiteral("R%1").arg(i), 30 + i, 37));  // one size each
  }
  pv::ModelData view;
  view.resize(600, 400);
  view.show();
  view.Init();
  pv::ImageGridWidget* grid = view.ImageList();
  pv::ImageGridCore& core = grid->core();
  ASSERT_TRUE(core.Scroll().enabled);
  const int cols = core.Layout().cols;
  ASSERT_GT(cols, 0);
  pv::Rect cell;
  ASSERT_TRUE(core.VisibleCellRect(1, cell));
  const QPoint overCell((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  const QPoint overWhite(1, grid->height() - 2);
  ASSERT_EQ(core.CellAt(overWhite.x(), overWhite.y()), 0);

  auto wheel = [](QWidget* target, QPoint at, int delta) {
    QWheelEvent event(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // As the window system delivers it: a wheel event that a widget leaves
    // goes on to its parents only when it came from outside.
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(target, &event);
  };
  struct Step {
    QWidget* target;
    QPoint at;
    int delta;
    int rows;  // the first cell's row afterwards
  };
  const Step steps[] = {
      {grid->surface(), overCell, -120, 1}, {grid->surface(), overWhite, -240, 3},
      {grid->surface(), overWhite, 120, 2}, {grid->scrollBar(), QPoint(2, 2), -120, 3},
      {grid->surface(), overCell, -60, 3},  {grid->surface(), overCell, -60, 4},  // a touchpad's halves
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "delta " << s.delta << " to row " << s.rows);
    wheel(s.target, s.at, s.delta);
    EXPECT_EQ(core.Scroll().value, s.rows * cols);
    EXPECT_EQ(grid->scrollBar()->value(), s.rows * cols) << "the bar follows";
  }
}

TEST_F(ModelDataWindow, TheMainWindowsMenuReachesApply) {
  EmptyTable();
  pv::StoreFormat(formatstest::Sheet(QStringLiteral("W"), 70, 37));
  pv::InstallProgramHosts();
  pv::SetMessageBoxHost(&messageBoxes);
  pv::MainWnd& w = pv::GetMainWnd();
  w.InitGui();
  // The editor view made with the window is the document's editor: record instead.
  pv::SetWizardWindowHost(&window);
  pv::SetEditorHost(&editor);
  pv::SetPrintPanelHost(&panel);
  auto* view = dynamic_cast<pv::ModelData*>(w.ModelData());
  ASSERT_NE(view, nullptr);
  view->Init();
  view->Model().ClickImage(1);
  log.calls.clear();
  w.mnu_modello_Click(0);
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("W"));
  EXPECT_EQ(log.calls.last(), QStringLiteral("SelectView tbr_editor"));
  pv::DestroyMainWnd();
}

}  // namespace
