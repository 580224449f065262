#include "app/window/dlgcalibrationlist.h"
#include "app/window/dlgoptions.h"

#include "windowtest.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <ostream>
#include <string>

namespace {

using wndtest::WindowTest;

class OptionsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // Sound values in every field; each case spoils some of them.
    pv::Settings settings;
    settings.SettingGridX = 2.5f;
    settings.SettingGridY = 10;
    settings.CalibrationX = -120;
    settings.CalibrationY = 30;
    pv::ProgramSettings() = settings;
  }
};

TEST_F(OptionsTest, FillsItsControlsFromTheSettings) {
  pv::Settings& s = pv::ProgramSettings();
  s.DefaultPath = QStringLiteral("/home/utente/clipart");
  s.SettingShowHelp = 1;
  s.PrintLow = pv::VbTrue;
  s.PrintBorder = pv::VbTrue;
  s.SettingBozza = 1;
  s.PrintFieldCode = 1;
  s.SettingSnap = 1;
  s.PrintCircle = 1;
  pv::dlgOptions d;
  EXPECT_EQ(d.windowTitle(), pv::LoadResString(11900));
  EXPECT_EQ(d.SSTab1()->count(), 4);
  EXPECT_EQ(d.SSTab1()->tabText(3), pv::LoadResString(30110));
  EXPECT_EQ(d.SSTab1()->currentIndex(), 0);
  EXPECT_EQ(d.Text3()->text(), QStringLiteral("/home/utente/clipart"));
  EXPECT_EQ(d.Text1(0)->text(), QStringLiteral("-120"));
  EXPECT_EQ(d.Text1(1)->text(), QStringLiteral("30"));
  EXPECT_EQ(d.Text2(0)->text(), QStringLiteral("2.5"));
  EXPECT_EQ(d.Text2(1)->text(), QStringLiteral("10"));
  EXPECT_TRUE(d.Check4(0)->isChecked());
  EXPECT_TRUE(d.Check4(1)->isChecked());
  EXPECT_FALSE(d.Check4(2)->isChecked());
  EXPECT_TRUE(d.Check4(3)->isChecked());
  EXPECT_FALSE(d.Check1(0)->isChecked());
  EXPECT_FALSE(d.Check1(1)->isChecked());
  EXPECT_TRUE(d.Check1(2)->isChecked());
  EXPECT_TRUE(d.Check1(3)->isChecked());
  EXPECT_FALSE(d.Check1(4)->isChecked());
  EXPECT_FALSE(d.Check2(0)->isChecked());
  EXPECT_TRUE(d.Check2(1)->isChecked());
  EXPECT_FALSE(d.Check3()->isChecked());
  EXPECT_TRUE(d.Check5()->isChecked());
  EXPECT_EQ(d.Check5()->text(), pv::LoadResString(30112));
}

struct BadCase {
  const char* calX;
  const char* calY;
  const char* gridX;
  const char* gridY;
  int message;  // 0: passes
};

void PrintTo(const BadCase& c, std::ostream* os) {
  *os << "calibration " << c.calX << " / " << c.calY << ", grid " << c.gridX << " / " << c.gridY << " -> "
      << (c.message ? "message " + std::to_string(c.message) : std::string("accepted"));
}

class OptionsCheckTest : public OptionsTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(OptionsCheckTest, RangeChecksStopAtTheFirstFailure) {
  const BadCase& c = GetParam();
  pv::dlgOptions d;
  d.Text1(0)->setText(QString::fromUtf8(c.calX));
  d.Text1(1)->setText(QString::fromUtf8(c.calY));
  d.Text2(0)->setText(QString::fromUtf8(c.gridX));
  d.Text2(1)->setText(QString::fromUtf8(c.gridY));
  d.Check3()->setChecked(true);
  const bool ok = d.OKButton_Click();
  if (c.message == 0) {
    EXPECT_TRUE(ok);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    return;
  }
  EXPECT_FALSE(ok);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(c.message));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  // Nothing stored.
  EXPECT_EQ(pv::ProgramSettings().CalibrationX, -120);
  EXPECT_EQ(pv::ProgramSettings().SettingGridX, 2.5f);
  EXPECT_EQ(pv::ProgramSettings().SettingAutoInsert, 0);
  EXPECT_NE(d.result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(Inputs, OptionsCheckTest,
                         ::testing::Values(BadCase{"1200", "-1200", "1", "50", 0},
                                           BadCase{"1200.4", "0", "5", "5", 15037},
                                           BadCase{"-1200.1", "0", "5", "5", 15037},
                                           BadCase{"12abc", "abc", "5", "5", 0}, BadCase{"0", "1201", "5", "5", 15038},
                                           BadCase{"0", "0", "0,5", "5", 15044}, BadCase{"0", "0", "50.01", "5", 15044},
                                           BadCase{"0", "0", "", "5", 15044}, BadCase{"0", "0", "5", "51", 15044},
                                           BadCase{"0", "0", "5", "0.99", 15044},
                                           BadCase{"5000", "0", "5", "99", 15037}, BadCase{"1e4", "0", "5", "5", 15037},
                                           BadCase{"0", "0", "1e1", "5", 0}));

// A refused value on a tab behind the one in front: its tab comes forward
// and the focus goes into its box, the text selected to be typed over.
TEST_F(OptionsTest, ARefusedValueBringsItsTabForwardWithTheFocusInItsBox) {
  struct Case {
    int field;  // 0, 1: calibration X, Y; 2, 3: grid X, Y
    int front;  // the tab in front when OK is pressed
    int tab;    // the tab of the box
  };
  for (const Case& c : {Case{0, 0, 2}, Case{1, 3, 2}, Case{2, 0, 1}, Case{3, 2, 1}, Case{2, 1, 1}}) {
    SCOPED_TRACE(c.field);
    boxes.clear();
    pv::dlgOptions d;
    QLineEdit* fields[4] = {d.Text1(0), d.Text1(1), d.Text2(0), d.Text2(1)};
    for (QLineEdit* f : fields) f->setText(QStringLiteral("5"));
    fields[c.field]->setText(QStringLiteral("9999"));
    d.SSTab1()->setCurrentIndex(c.front);
    d.show();
    EXPECT_FALSE(d.OKButton_Click());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(d.SSTab1()->currentIndex(), c.tab);
    EXPECT_EQ(d.focusWidget(), fields[c.field]);
    EXPECT_EQ(fields[c.field]->selectedText(), QStringLiteral("9999"));
    // The tab's own rules hold: its boxes are tab stops now.
    EXPECT_EQ(fields[c.field]->focusPolicy(), Qt::StrongFocus);
  }
}

struct StoreCase {
  const char* calX;
  int storedX;
  const char* gridX;
  float storedGrid;
};

void PrintTo(const StoreCase& c, std::ostream* os) {
  *os << "calibration \"" << c.calX << "\" -> " << c.storedX << ", grid \"" << c.gridX << "\" -> " << c.storedGrid;
}

class OptionsStoreTest : public OptionsTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(OptionsStoreTest, StoresTheLeadingNumbers) {
  const StoreCase& c = GetParam();
  pv::dlgOptions d;
  d.Text1(0)->setText(QString::fromLatin1(c.calX));
  d.Text2(0)->setText(QString::fromLatin1(c.gridX));
  ASSERT_TRUE(d.OKButton_Click());
  EXPECT_EQ(pv::ProgramSettings().CalibrationX, c.storedX);
  EXPECT_EQ(pv::ProgramSettings().SettingGridX, c.storedGrid);
}

INSTANTIATE_TEST_SUITE_P(Values, OptionsStoreTest,
                         ::testing::Values(StoreCase{"10.5", 10, "2.5", 2.5f}, StoreCase{"11.5", 12, "50", 50.0f},
                                           StoreCase{"12abc", 12, "3mm", 3.0f}, StoreCase{"abc", 0, " 7.25", 7.25f},
                                           StoreCase{"-0.5", 0, "1", 1.0f}, StoreCase{"-1.5", -2, "12.5x", 12.5f}));

TEST_F(OptionsTest, OkWritesEveryControlIntoItsSetting) {
  pv::dlgOptions d;
  d.Text3()->setText(QStringLiteral("  /media/cdrom/clipart "));
  d.Check4(0)->setChecked(true);
  d.Check4(2)->setChecked(true);
  d.Check1(0)->setChecked(true);
  d.Check1(1)->setChecked(true);
  d.Check1(4)->setChecked(true);
  d.Check2(0)->setChecked(true);
  d.Check3()->setChecked(true);
  d.Check5()->setChecked(true);
  d.Text1(1)->setText(QStringLiteral("-45"));
  d.Text2(1)->setText(QStringLiteral("4"));
  ASSERT_TRUE(d.OKButton_Click());
  const pv::Settings& s = pv::ProgramSettings();
  EXPECT_EQ(s.DefaultPath, QStringLiteral("  /media/cdrom/clipart "));  // as typed
  EXPECT_EQ(s.SettingShowHelp, 1);
  EXPECT_EQ(s.PrintLow, pv::VbFalse);
  EXPECT_EQ(s.PrintStopPage, pv::VbTrue);
  EXPECT_EQ(s.PrintBorder, pv::VbFalse);
  EXPECT_EQ(s.SettingAntialiasing, 1);
  EXPECT_EQ(s.PrintFieldCodeIfNull, 1);
  EXPECT_EQ(s.PrintFieldCode, 0);
  EXPECT_EQ(s.SettingBozza, 0);
  EXPECT_EQ(s.SettingShowRule, 1);
  EXPECT_EQ(s.SettingShowGrid, 1);
  EXPECT_EQ(s.SettingSnap, 0);
  EXPECT_EQ(s.SettingAutoInsert, 1);
  EXPECT_EQ(s.PrintCircle, 1);
  EXPECT_EQ(s.CalibrationX, -120);
  EXPECT_EQ(s.CalibrationY, -45);
  EXPECT_EQ(s.SettingGridY, 4.0f);
  // Not on the dialog: untouched.
  EXPECT_EQ(s.PrintArchive, pv::VbFalse);
}

TEST_F(OptionsTest, CancelStoresNothing) {
  pv::dlgOptions d;
  d.Check3()->setChecked(true);
  d.Text1(0)->setText(QStringLiteral("99"));
  d.Text3()->setText(QStringLiteral("/x"));
  d.CancelButton_Click();
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(pv::ProgramSettings().SettingAutoInsert, 0);
  EXPECT_EQ(pv::ProgramSettings().CalibrationX, -120);
  EXPECT_EQ(pv::ProgramSettings().DefaultPath, QString());
}

TEST_F(OptionsTest, TabChangeLetsTheKeyboardReachOnlyTheCurrentTabsFields) {
  pv::dlgOptions d;
  struct Tab {
    int index;
    QList<QLineEdit*> stops;
    bool frame1, frame2;
  };
  const Tab tabs[] = {{0, {d.Text3()}, false, false},
                      {1, {d.Text2(0), d.Text2(1)}, false, true},
                      {2, {d.Text1(0), d.Text1(1)}, false, false},
                      {3, {}, true, false}};
  for (const Tab& t : tabs) {
    d.SSTab1()->setCurrentIndex(t.index);
    for (QLineEdit* e : {d.Text3(), d.Text2(0), d.Text2(1), d.Text1(0), d.Text1(1)}) {
      EXPECT_EQ(e->focusPolicy() == Qt::StrongFocus, t.stops.contains(e)) << t.index << e->objectName().toStdString();
    }
    EXPECT_EQ(d.Frame1()->isEnabled(), t.frame1) << t.index;
    EXPECT_EQ(d.Frame2()->isEnabled(), t.frame2) << t.index;
  }
}

TEST_F(OptionsTest, FileMenuOptionsRunsTheRealDialogAndPushesTheSettings) {
  pv::MainWndCommands program;
  pv::SetCommands(&program);
  pv::MainWnd& w = Window();
  QTimer::singleShot(0, []() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<pv::dlgOptions*>(top)) d->CancelButton_Click();
    }
  });
  w.popmnufile_Click(5);
  EXPECT_EQ(wndtest::Calls().last(), QStringLiteral("EditCard.SetParameter"));
  pv::SetCommands(&commands);
}

// ---- The calibration list ----------------------------------------------------------

class CalibrationTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    pv::OpenDatabase();
    ASSERT_TRUE(pv::cnDatabase.IsOpen());
    QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
    ASSERT_TRUE(q.exec(QStringLiteral("DELETE FROM rst_calibrationlist")));
    ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO rst_calibrationlist VALUES ('Laser A', 12, -7)")));
    ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO rst_calibrationlist VALUES ('Getto B', -30, 45)")));
    ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO rst_calibrationlist VALUES ('Rotta C', NULL, 3)")));
  }
};

TEST_F(CalibrationTest, ShowsEveryRowAndTakesTheCurrentOne) {
  pv::dlgCalibrationList list;
  EXPECT_EQ(list.windowTitle(), pv::LoadResString(32000));
  QTableWidget* grid = list.DataGrid1();
  ASSERT_EQ(grid->rowCount(), 3);
  ASSERT_EQ(grid->columnCount(), 3);
  EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("Getto B"));
  grid->setCurrentCell(1, 0);
  EXPECT_TRUE(list.OKButton_Click());
  EXPECT_TRUE(list.ReturnCode);
  EXPECT_EQ(list.Dx, -30);
  EXPECT_EQ(list.Dy, 45);
}

TEST_F(CalibrationTest, ARowWithoutWholeNumbersKeepsTheDialogOpen) {
  pv::dlgCalibrationList list;
  list.DataGrid1()->setCurrentCell(2, 0);
  EXPECT_FALSE(list.OKButton_Click());
  EXPECT_FALSE(list.ReturnCode);
  EXPECT_EQ(list.Dx, 0);
  list.DataGrid1()->setCurrentCell(-1, -1);
  EXPECT_FALSE(list.OKButton_Click());
  list.CancelButton_Click();
  EXPECT_FALSE(list.ReturnCode);

  struct Cell {
    const char* text;
    bool ok;
    int value;
  };
  const Cell cells[] = {{"12", true, 12},  {" -7 ", true, -7},  {"12.5", false, 0},      {"", false, 0},
                        {"abc", false, 0}, {"40000", false, 0}, {"-32768", true, -32768}};
  for (const Cell& c : cells) {
    std::int16_t v = 0;
    EXPECT_EQ(pv::CalibrationCellValue(QString::fromLatin1(c.text), v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

TEST_F(CalibrationTest, TheOptionsButtonProposesTheChosenValuesAndCancelKeepsThem) {
  pv::dlgOptions d;
  QTimer::singleShot(0, []() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* l = qobject_cast<pv::dlgCalibrationList*>(top)) {
        l->DataGrid1()->setCurrentCell(0, 0);
        l->OKButton_Click();
      }
    }
  });
  d.Command1_Click();
  EXPECT_EQ(d.Text1(0)->text(), QStringLiteral("12"));
  EXPECT_EQ(d.Text1(1)->text(), QStringLiteral("-7"));
  EXPECT_EQ(pv::ProgramSettings().CalibrationX, -120);  // only a proposal until OK

  QTimer::singleShot(0, []() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* l = qobject_cast<pv::dlgCalibrationList*>(top)) l->CancelButton_Click();
    }
  });
  d.Text1(0)->setText(QStringLiteral("5"));
  d.Command1_Click();
  EXPECT_EQ(d.Text1(0)->text(), QStringLiteral("5"));
  EXPECT_EQ(d.Text1(1)->text(), QStringLiteral("-7"));
}

}  // namespace
