// The print panel's options: the checks of the boxes, what is stored, the
// labels-to-pages conversion, the count-mode display and the navigation.
#include "paneltest.h"

#include "../mergefixture.h"
#include "core/database.h"
#include "core/settings.h"
#include "datasources/registrations.h"

#include <QLocale>

namespace {

using paneltest::PanelTest;
using printtest::ChangeRun;
using printtest::CurrentRun;

class OptionsTest : public PanelTest {
 protected:
  // A run of two pages, shown on page 2, as every refused apply must leave it.
  void TwoPagesOnPageTwo() {
    ChangeRun([&](pv::PrintRunValues& r) {
      r.m_PageCount = 2;
      r.m_FirstLabel = 2;
      r.m_LastLabel = 11;
      r.m_RangePages = 1;
      r.m_CountMode = 0;
    });
    pv::ProgramSettings().PrintStopPage = pv::VbFalse;
    panel->SetControlInformation();
    pv::PrintRun().SetPageNumber(2);
  }
};

struct Refused {
  const char* count;
  const char* first;
  const char* last;
  const char* message;  // the whole text
  int box;              // the box given the focus
};

TEST_F(OptionsTest, EachFailedCheckShowsItsMessageAndStoresNothing) {
  const QString first12 = pv::LoadResString(15029) + QStringLiteral(" 12");
  const QString last12 = pv::LoadResString(15030) + QStringLiteral(" 12");
  const QString count = pv::LoadResString(15028);
  const Refused cases[] = {
      {"0", "1", "12", "count", 0},   {"1001", "1", "12", "count", 0}, {"", "1", "12", "count", 0},
      {"abc", "1", "12", "count", 0}, {"0.4", "1", "12", "count", 0},  {"1000.4", "1", "12", "count", 0},
      {"2x", "1", "12", "count", 0},  {"5", "13", "12", "first", 1},   {"5", "0", "12", "first", 1},
      {"5", "", "12", "first", 1},    {"5", "12.6", "12", "first", 1}, {"5", "1", "13", "last", 2},
      {"5", "1", "abc", "last", 2},   {"5", "1", "0.49", "last", 2},   {"abc", "abc", "abc", "count", 0},
      {"5", "abc", "13", "first", 1},
  };
  panel->show();
  for (const Refused& c : cases) {
    SCOPED_TRACE(std::string(c.count) + "|" + c.first + "|" + c.last);
    TwoPagesOnPageTwo();
    boxes.clear();
    Type(QString::fromUtf8(c.count), QString::fromUtf8(c.first), QString::fromUtf8(c.last));
    Apply();
    ASSERT_EQ(boxes.size(), 1u);
    const std::string which = c.message;
    EXPECT_EQ(boxes[0].text, which == "count" ? count : which == "first" ? first12 : last12);
    EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Exclamation);
    EXPECT_EQ(CurrentRun().m_PageCount, 2);
    EXPECT_EQ(CurrentRun().m_FirstLabel, 2);
    EXPECT_EQ(CurrentRun().m_LastLabel, 11);
    EXPECT_EQ(CurrentRun().m_RangePages, 1);
    EXPECT_EQ(pv::PrintRun().PageNumber(), 2);
    // The box keeps what was typed.
    EXPECT_EQ(Options().Text1(0)->text(), QString::fromUtf8(c.count));
    EXPECT_EQ(panel->focusWidget(), Options().Text1(c.box));
  }
}

struct Accepted {
  const char* count;
  const char* first;
  const char* last;
  int pageCount;
  int firstLabel;
  int lastLabel;
};

TEST_F(OptionsTest, AcceptedBoxesAreStoredAsTheyWereChecked) {
  // Under an Italian locale "1.000" must not become a thousand.
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  const Accepted cases[] = {
      {"1", "1", "1", 1, 1, 1},       {"1000", "12", "12", 1000, 12, 12}, {" 7 ", "7", "3", 7, 7, 3},
      {"2.5", "3,5", "4.5", 2, 4, 4}, {"1.000", "1", "12", 1, 1, 12},     {"999.5", "11.5", "1.4999", 1000, 12, 1},
      {"+3", "1", "12", 3, 1, 12},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(std::string(c.count) + "|" + c.first + "|" + c.last);
    TwoPagesOnPageTwo();
    boxes.clear();
    Options().Option1(2)->click();
    Options().ManualPaper()->setChecked(true);
    Type(QString::fromUtf8(c.count), QString::fromUtf8(c.first), QString::fromUtf8(c.last));
    Apply();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(CurrentRun().m_PageCount, c.pageCount);
    EXPECT_EQ(CurrentRun().m_FirstLabel, c.firstLabel);
    EXPECT_EQ(CurrentRun().m_LastLabel, c.lastLabel);
    EXPECT_EQ(CurrentRun().m_RangePages, 2);
    EXPECT_EQ(CurrentRun().m_CountMode, 0);
    EXPECT_EQ(pv::ProgramSettings().PrintStopPage, pv::VbTrue);
    EXPECT_EQ(pv::PrintRun().PageNumber(), 1);
  }
  QLocale::setDefault(before);
}

struct Conversion {
  int labels;
  double across;
  int pages;
  int last;
};

TEST_F(OptionsTest, LabelsModeTurnsTheCountIntoPagesAndSaysSo) {
  const Conversion cases[] = {{25, 10, 3, 5}, {30, 10, 3, 10}, {30, 24, 2, 6}, {1, 24, 1, 1}, {24, 24, 1, 24}};
  for (const Conversion& c : cases) {
    SCOPED_TRACE(c.labels);
    ChangeRun([&](pv::PrintRunValues& r) {
      r.m_Format.Sheet.nOri = c.across;
      r.m_Format.Sheet.nVer = 1;
    });
    boxes.clear();
    Options().Option2(1)->click();
    Type(QString::number(c.labels), QStringLiteral("1"), QStringLiteral("1"));
    Apply();
    EXPECT_EQ(CurrentRun().m_PageCount, c.pages);
    EXPECT_EQ(CurrentRun().m_FirstLabel, 1);
    EXPECT_EQ(CurrentRun().m_LastLabel, c.last);
    EXPECT_EQ(CurrentRun().m_RangePages, 3);
    EXPECT_EQ(CurrentRun().m_CountMode, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, pv::LoadResString(31027));
    EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
    // The boxes show the pages, in pages mode.
    EXPECT_EQ(Options().Text1(0)->text(), QString::number(c.pages));
    EXPECT_EQ(Options().Text1(2)->text(), QString::number(c.last));
    EXPECT_TRUE(Options().Option2(0)->isChecked());
    EXPECT_TRUE(Options().Option1(3)->isChecked());
    EXPECT_TRUE(Options().Text1(1)->isEnabled());
  }
}

TEST_F(OptionsTest, PrintArchiveConvertsOnlyACountTypedAsPages) {
  pv::ProgramSettings().PrintArchive = pv::VbTrue;
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_Format.Sheet.nOri = 10;
    r.m_Format.Sheet.nVer = 1;
  });

  // Pages mode: the count is read as labels, without a message.
  Type(QStringLiteral("25"), QStringLiteral("1"), QStringLiteral("10"));
  Apply();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(CurrentRun().m_PageCount, 3);
  EXPECT_EQ(CurrentRun().m_LastLabel, 5);
  EXPECT_EQ(CurrentRun().m_RangePages, 3);
  EXPECT_EQ(Options().Text1(0)->text(), QStringLiteral("3"));

  // Labels mode: converted once, not the pages it gave a second time.
  Options().Option2(1)->click();
  Type(QStringLiteral("25"), QStringLiteral("1"), QStringLiteral("10"));
  Apply();
  EXPECT_EQ(BoxesWith(31027), 1);
  EXPECT_EQ(CurrentRun().m_PageCount, 3);
  EXPECT_EQ(CurrentRun().m_LastLabel, 5);

  // Merging: the boxes hold the pages of the records (17 on sheets of 10:
  // two pages, the last printing 1..7); they stay pages.
  pv::OpenDatabase();
  pv::ClearTableCache();
  const QString folder = Home(QStringLiteral("dati"));
  printtest::WriteMergeTable(folder, QStringLiteral("clienti"), 17);
  pv::Registration source;
  source.label = source.recordSetName = QStringLiteral("clienti");
  source.connectionString = printtest::DBaseConnection(folder);
  source.sourceName = folder;
  source.sourceFormat = pv::kSourceDBaseIII;
  pv::PrintRun().ChooseMergeSource(std::int32_t(pv::RegistrationStore(pv::rsRegistrations).Add(source)));
  ASSERT_TRUE(pv::PrintRun().Merging());
  ASSERT_EQ(CurrentRun().m_PageCount, 2);
  ASSERT_EQ(CurrentRun().m_LastLabel, 7);
  panel->SetControlInformation();
  pv::PrintRun().SetPageNumber(2);
  boxes.clear();
  Options().ManualPaper()->setChecked(true);
  Apply();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(CurrentRun().m_PageCount, 2);
  EXPECT_EQ(CurrentRun().m_LastLabel, 7);
  EXPECT_EQ(CurrentRun().m_RangePages, 3);
  EXPECT_EQ(pv::ProgramSettings().PrintStopPage, pv::VbTrue);
  EXPECT_EQ(pv::PrintRun().PageNumber(), 1);
}

TEST_F(OptionsTest, CountModeDisplayFollowsClicksAndShownValues) {
  const auto sixEnabled = [&](bool on) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Options().Option1(i)->isEnabled(), on) << i;
    EXPECT_EQ(Options().Text1(1)->isEnabled(), on);
    EXPECT_EQ(Options().Text1(2)->isEnabled(), on);
    EXPECT_TRUE(Options().Text1(0)->isEnabled());
    EXPECT_EQ(Options().Label1(0)->text(), pv::LoadResString(on ? 15033 : 15032));
  };
  sixEnabled(true);
  Options().Option2(1)->click();
  sixEnabled(false);
  emit Options().Label1(3)->clicked();  // the caption beside the button
  EXPECT_TRUE(Options().Option2(0)->isChecked());
  sixEnabled(true);

  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_CountMode = 1;
    r.m_RangePages = 2;
  });
  pv::ProgramSettings().PrintStopPage = pv::VbTrue;
  panel->SetControlInformation();
  sixEnabled(false);
  EXPECT_TRUE(Options().Option2(1)->isChecked());
  EXPECT_TRUE(Options().Option1(2)->isChecked());
  EXPECT_TRUE(Options().ManualPaper()->isChecked());
  EXPECT_TRUE(panel->StopPageChecked());
  ChangeRun([&](pv::PrintRunValues& r) { r.m_CountMode = 0; });
  pv::ProgramSettings().PrintStopPage = pv::VbFalse;
  panel->SetControlInformation();
  sixEnabled(true);
  EXPECT_FALSE(panel->StopPageChecked());
}

TEST_F(OptionsTest, NavigationStopsAtBothEnds) {
  ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 3; });
  auto& run = pv::PrintRun();
  run.SetPageNumber(1);
  const struct {
    int command;
    int page;
  } steps[] = {{0, 1}, {1, 1}, {2, 2}, {2, 3}, {2, 3}, {3, 3}, {1, 2}, {0, 1}, {3, 3}, {0, 1}, {9, 1}, {-1, 1}};
  for (const auto& s : steps) {
    panel->Command_Click(s.command);
    EXPECT_EQ(run.PageNumber(), s.page) << s.command;
  }
  panel->Command(2)->click();
  EXPECT_EQ(run.PageNumber(), 2);
  EXPECT_EQ(Options().PageCaption()->text(), QStringLiteral("Numero di pagine: 2 di  3"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(OptionsTest, TextBoxSelectsItsWholeTextOnFocus) {
  panel->show();
  Options().Text1(1)->setText(QStringLiteral("123"));
  Options().Text1(1)->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(Options().Text1(1)->selectedText(), QStringLiteral("123"));
}

}  // namespace
