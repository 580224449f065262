#include "views/views.h"
#include "formats/windows/dlgformat.h"
#include "formats/windows/formatdata.h"
#include "formatstest.h"
#include "platform/stringtable.h"
#include "uitest.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using formatstest::Sheet;
using formatstest::WhenModalOpens;

class FormatDataTest : public formatstest::FormatsTest {
 protected:
  std::unique_ptr<pv::FormatData> MakeView(int height = 600) {
    auto view = std::make_unique<pv::FormatData>();
    view->resize(900, height);
    view->show();
    QApplication::processEvents();
    view->RefreshData(QString());
    return view;
  }
  QTreeWidgetItem* Row(pv::FormatData& v, const QString& code) {
    for (int i = 0; i < v.List()->topLevelItemCount(); ++i) {
      if (v.List()->topLevelItem(i)->text(0) == code) return v.List()->topLevelItem(i);
    }
    return nullptr;
  }
  void Click(pv::FormatData& v, const QString& code) {
    QTreeWidgetItem* item = Row(v, code);
    ASSERT_NE(item, nullptr) << code.toStdString();
    emit v.List()->itemClicked(item, 0);
  }
  QString CountText(pv::FormatData& v) { return v.findChild<QLabel*>(QStringLiteral("lblSelect"))->text(); }
  std::vector<QString> Column(pv::FormatData& v, int column) {
    std::vector<QString> out;
    for (int i = 0; i < v.List()->topLevelItemCount(); ++i) out.push_back(v.List()->topLevelItem(i)->text(column));
    return out;
  }
};

TEST_F(FormatDataTest, ListsEveryFormatInTableOrder) {
  QLocale::setDefault(QLocale(QLocale::Italian));
  pv::PrintFormat odd = Sheet(QStringLiteral("ODD"), 99.1, 38.1);
  odd.Type = 3;
  odd.nOri = 2;
  odd.nVer = 7;
  pv::StoreFormat(odd);
  auto v = MakeView();
  EXPECT_EQ(Column(*v, 0), Codes());
  EXPECT_EQ(CountText(*v), pv::LoadResString(15005) + QString::number(Codes().size()));
  QTreeWidgetItem* row = Row(*v, QStringLiteral("ODD"));
  ASSERT_NE(row, nullptr);
  const QStringList expected{QStringLiteral("ODD"),   QStringLiteral("categoria"), QStringLiteral("38,1"),
                             QStringLiteral("99,1"),  QStringLiteral("2x7"),       QStringLiteral("210x297"),
                             QStringLiteral("laser"), QStringLiteral("Altro")};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(row->text(c), expected[c]) << c;
  EXPECT_EQ(v->List()->headerItem()->text(2), pv::LoadResString(15010));
  EXPECT_EQ(v->List()->columnWidth(1), 150);
  EXPECT_TRUE(v->List()->selectedItems().isEmpty());

  EmptyTable();
  v->RefreshData(QString());
  EXPECT_EQ(v->List()->topLevelItemCount(), 0);
  EXPECT_EQ(CountText(*v), pv::LoadResString(15005) + QStringLiteral("0"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FormatDataTest, NewAndEditStoreByCodeAndSelectTheRow) {
  auto v = MakeView();
  const size_t rows = Codes().size();
  // New over an existing code replaces that format without asking.
  WhenModalOpens([](QDialog* d) {
    auto* dialog = static_cast<pv::DlgFormat*>(d);
    EXPECT_TRUE(dialog->Text1(0)->text().isEmpty());
    const char* texts[16] = {" lm4-a4-14 ", "nuova", "cat",  "stampante", "99,1",  "38,1",  "2",   "7",
                             "2,5",         "0",     "4,65", "4,65",      "15,15", "15,15", "210", "297"};
    for (int i = 0; i < 16; ++i) dialog->Text1(i)->setText(QString::fromUtf8(texts[i]));
    dialog->OKButton()->click();
  });
  v->Command(0);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Codes().size(), rows);
  EXPECT_EQ(pv::FindFormat(QStringLiteral("LM4-A4-14"))->Description, QStringLiteral("nuova"));
  ASSERT_EQ(v->List()->selectedItems().size(), 1);
  EXPECT_EQ(v->List()->selectedItems()[0]->text(0), QStringLiteral("lm4-a4-14"));
  EXPECT_EQ(v->List()->topLevelItemCount(), static_cast<int>(rows));

  // Edit opens on the row clicked; a double click does the same.
  Click(*v, QStringLiteral("LM4-A4-21"));
  EXPECT_EQ(v->CurrentFormat().Code, QStringLiteral("LM4-A4-21"));
  WhenModalOpens([](QDialog* d) {
    auto* dialog = static_cast<pv::DlgFormat*>(d);
    EXPECT_EQ(dialog->Text1(0)->text(), QStringLiteral("LM4-A4-21"));
    dialog->Text1(1)->setText(QStringLiteral("modificata"));
    dialog->OKButton()->click();
  });
  emit v->List()->itemDoubleClicked(Row(*v, QStringLiteral("LM4-A4-21")), 0);
  EXPECT_EQ(pv::FindFormat(QStringLiteral("LM4-A4-21"))->Description, QStringLiteral("modificata"));
  EXPECT_EQ(v->List()->selectedItems()[0]->text(0), QStringLiteral("LM4-A4-21"));

  // Cancel stores nothing.
  WhenModalOpens([](QDialog* d) {
    static_cast<pv::DlgFormat*>(d)->Text1(1)->setText(QStringLiteral("no"));
    static_cast<pv::DlgFormat*>(d)->CancelButton()->click();
  });
  v->Command(1);
  EXPECT_EQ(pv::FindFormat(QStringLiteral("LM4-A4-21"))->Description, QStringLiteral("modificata"));
}

TEST_F(FormatDataTest, TheNewFormatDialogTakesTheFirstKeysInTheCodeBox) {
  auto v = MakeView();
  QString typed;
  QString focusedName;  // the dialog is gone once Command returns
  WhenModalOpens([&](QDialog* d) {
    auto* dialog = static_cast<pv::DlgFormat*>(d);
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    const bool inDialog = QTest::qWaitFor(
        [dialog] { return QApplication::focusWidget() && QApplication::focusWidget()->window() == dialog; }, 1000);
    EXPECT_TRUE(inDialog) << "the focus is in the dialog";
    QWidget* focused = QApplication::focusWidget();
    focusedName = focused != nullptr ? focused->objectName() : QString();
    QTest::keyClicks(inDialog ? focused : dialog, QStringLiteral("RND50"));
    typed = dialog->Text1(0)->text();
    dialog->CancelButton()->click();
  });
  v->Command(0);
  EXPECT_EQ(focusedName.toStdString(), "Text1_0");
  EXPECT_EQ(typed.toStdString(), "RND50");
}

// The summary and the drawing show the format as it is stored now: after an
// edit, a new format and a delete, without another click on the row.
TEST_F(FormatDataTest, TheSummaryFollowsEveryChangeOfTheFormatShown) {
  pv::StoreFormat(Sheet(QStringLiteral("ED")));
  auto v = MakeView();
  auto* description = v->findChild<QLabel*>(QStringLiteral("lblDescription"));
  auto* code = v->findChild<QLabel*>(QStringLiteral("lblCode"));
  auto* labelSize = v->findChild<QLabel*>(QStringLiteral("lblValue3"));
  Click(*v, QStringLiteral("ED"));
  EXPECT_EQ(v->Preview().labels.size(), 3u * 8u);

  auto edit = [](const std::vector<std::pair<int, QString>>& texts) {
    return [texts](QDialog* d) {
      auto* dialog = static_cast<pv::DlgFormat*>(d);
      for (const auto& [field, text] : texts) dialog->Text1(field)->setText(text);
      dialog->OKButton()->click();
    };
  };
  WhenModalOpens(edit({{1, QStringLiteral("modificata")}, {4, QStringLiteral("60")}, {6, QStringLiteral("2")}}));
  v->Command(1);
  EXPECT_EQ(pv::FindFormat(QStringLiteral("ED"))->nOri, 2);
  EXPECT_EQ(description->text(), pv::LoadResString(13112) + QStringLiteral(" modificata"));
  EXPECT_EQ(labelSize->text(), QStringLiteral("60 x 37"));
  EXPECT_EQ(v->Preview().labels.size(), 2u * 8u) << "the drawing shows the new columns";
  ASSERT_EQ(v->Preview().labels.size(), 16u);
  EXPECT_DOUBLE_EQ(v->Preview().labels[1].width(), 60);
  EXPECT_TRUE(v->PagePicture()->isVisible());

  // A new format: it is selected and summed up.
  WhenModalOpens(edit({{0, QStringLiteral("NUOVO")},
                       {1, QStringLiteral("nuovo formato")},
                       {2, QStringLiteral("c")},
                       {3, QStringLiteral("p")},
                       {4, QStringLiteral("100")},
                       {5, QStringLiteral("50")},
                       {6, QStringLiteral("1")},
                       {7, QStringLiteral("1")},
                       {14, QStringLiteral("210")},
                       {15, QStringLiteral("297")}}));
  v->Command(0);
  ASSERT_TRUE(pv::FindFormat(QStringLiteral("NUOVO")));
  EXPECT_EQ(code->text(), pv::LoadResString(13111) + QStringLiteral(" NUOVO"));
  EXPECT_EQ(description->text(), pv::LoadResString(13112) + QStringLiteral(" nuovo formato"));
  EXPECT_EQ(v->Preview().labels.size(), 1u);

  // Deleted: nothing is selected and nothing is summed up.
  answer = pv::MsgAnswer::Yes;
  v->Delete();
  EXPECT_FALSE(pv::FindFormat(QStringLiteral("NUOVO")));
  EXPECT_TRUE(code->text().isEmpty());
  EXPECT_TRUE(description->text().isEmpty());
  EXPECT_TRUE(labelSize->text().isEmpty());
  EXPECT_FALSE(v->PagePicture()->isVisible());
}

// Whether `label` shows `whole` whole in the room it has.
::testing::AssertionResult ShowsWhole(const QLabel* label, const QString& whole) {
  if (label->text() != whole) {
    return ::testing::AssertionFailure() << "shows \"" << label->text().toStdString() << "\"";
  }
  const QRect room = label->contentsRect();
  const int flags = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
  const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, room.width(), 10000), flags, whole);
  if (needed.width() > room.width() || needed.height() > room.height()) {
    return ::testing::AssertionFailure() << "needs " << needed.width() << "x" << needed.height() << ", has "
                                         << room.width() << "x" << room.height();
  }
  return ::testing::AssertionSuccess();
}

TEST_F(FormatDataTest, TheSummaryAndTheListShowLongTextsWhole) {
  QLocale::setDefault(QLocale(QLocale::Italian));
  pv::PrintFormat f = Sheet(QStringLiteral("LASER-A4-2163-BIS"), 63.5, 38.1);
  f.Description = QStringLiteral("21 etichette 63,5 x 38,1 mm su foglio A4");
  f.printer = QStringLiteral("Laser e getto d'inchiostro");
  f.Category = QStringLiteral("Etichette adesive per indirizzi");
  f.LeftMargin = 7.2125;
  pv::StoreFormat(f);
  pv::PrintFormat longWord = Sheet(QStringLiteral("UNCODICECHENONSTAINUNARIGADELRIEPILOGO-0001"));
  pv::StoreFormat(longWord);
  auto v = MakeView();
  Click(*v, f.Code);
  auto label = [&](const QString& name) { return v->findChild<QLabel*>(name); };
  EXPECT_TRUE(
      ShowsWhole(label(QStringLiteral("lblCode")), pv::LoadResString(13111) + QStringLiteral(" LASER-A4-2163-BIS")));
  EXPECT_TRUE(
      ShowsWhole(label(QStringLiteral("lblDescription")), pv::LoadResString(13112) + QLatin1Char(' ') + f.Description));
  EXPECT_TRUE(ShowsWhole(label(QStringLiteral("lblValue1")), f.Category));
  EXPECT_TRUE(ShowsWhole(label(QStringLiteral("lblValue2")), f.printer));
  EXPECT_TRUE(ShowsWhole(label(QStringLiteral("lblValue3")), QStringLiteral("63,5 x 38,1")));
  EXPECT_TRUE(ShowsWhole(label(QStringLiteral("lblValue5")), QStringLiteral("7,2125")));
  // The rows do not overlap.
  for (int i = 1; i < 8; ++i) {
    const QLabel* above = label(QStringLiteral("lblValue%1").arg(i));
    const QLabel* below = label(QStringLiteral("lblValue%1").arg(i + 1));
    EXPECT_LE(above->geometry().bottom(), below->geometry().top()) << i;
  }
  // Every caption shows whole too.
  for (QLabel* l : v->findChildren<QLabel*>()) {
    for (int n = 13100; n < 13108; ++n) {
      if (l->toolTip() == pv::LoadResString(n)) {
        EXPECT_TRUE(ShowsWhole(l, pv::LoadResString(n))) << n;
      }
    }
  }

  // A code no line can hold is cut and whole in its tooltip.
  Click(*v, longWord.Code);
  const QString whole = pv::LoadResString(13111) + QLatin1Char(' ') + longWord.Code;
  EXPECT_FALSE(ShowsWhole(label(QStringLiteral("lblCode")), whole));
  EXPECT_EQ(label(QStringLiteral("lblCode"))->toolTip(), whole);
  EXPECT_LE(QFontMetrics(label(QStringLiteral("lblCode"))->font())
                .horizontalAdvance(label(QStringLiteral("lblCode"))->text()),
            label(QStringLiteral("lblCode"))->contentsRect().width());

  // The list: the code column holds every code with its icon.
  QTreeWidget* list = v->List();
  const QFontMetrics metrics(list->font());
  for (const QString& c : {f.Code, longWord.Code}) {
    EXPECT_GE(list->columnWidth(0), metrics.horizontalAdvance(c) + list->style()->pixelMetric(QStyle::PM_SmallIconSize))
        << c.toStdString();
  }
  EXPECT_GE(list->columnWidth(1), metrics.horizontalAdvance(f.Category));
  EXPECT_EQ(Row(*v, f.Code)->toolTip(6), f.printer);
}

TEST_F(FormatDataTest, ADoubleClickBeforeAnyRowWasClickedDoesNothing) {
  auto v = MakeView();
  bool opened = true;
  QTimer* watch = WhenModalOpens([](QDialog* d) { d->reject(); }, &opened);
  emit v->List()->itemDoubleClicked(v->List()->topLevelItem(0), 0);
  QApplication::processEvents();
  EXPECT_FALSE(opened);
  delete watch;
}

TEST_F(FormatDataTest, DeleteAsksAndGoesOnOnlyOnYes) {
  auto v = MakeView();
  const size_t rows = Codes().size();
  // No row clicked: it asks about an empty code and does nothing.
  answer = pv::MsgAnswer::Yes;
  v->Command(2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15001));
  EXPECT_EQ(Codes().size(), rows);

  Click(*v, QStringLiteral("LM4-A4-33"));
  for (pv::MsgAnswer a : {pv::MsgAnswer::No, pv::MsgAnswer::Cancel}) {
    answer = a;
    v->Delete();
    EXPECT_TRUE(pv::FindFormat(QStringLiteral("LM4-A4-33")));
  }
  answer = pv::MsgAnswer::Yes;
  boxes.clear();
  v->Delete();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15001) + QStringLiteral("LM4-A4-33"));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Question);
  EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::YesNoCancel);
  EXPECT_FALSE(pv::FindFormat(QStringLiteral("LM4-A4-33")));
  EXPECT_EQ(v->List()->topLevelItemCount(), static_cast<int>(rows - 1));
  EXPECT_TRUE(v->CurrentFormat().Code.isEmpty()) << "the summary goes with the deleted format";
}

TEST_F(FormatDataTest, EveryHeaderClickFlipsTheOrder) {
  auto v = MakeView();
  std::vector<QString> codes = Codes();
  std::sort(codes.begin(), codes.end());
  std::vector<QString> reversed(codes.rbegin(), codes.rend());

  v->List()->header()->sectionClicked(0);
  const std::vector<QString> first = Column(*v, 0);
  EXPECT_TRUE(first == codes || first == reversed);
  v->List()->header()->sectionClicked(0);
  EXPECT_EQ(Column(*v, 0), std::vector<QString>(first.rbegin(), first.rend()));

  // Another header: the order flips again, by that column's text.
  const Qt::SortOrder before = v->List()->header()->sortIndicatorOrder();
  v->List()->header()->sectionClicked(1);
  EXPECT_NE(v->List()->header()->sortIndicatorOrder(), before);
  std::vector<QString> categories = Column(*v, 1);
  EXPECT_TRUE(std::is_sorted(categories.begin(), categories.end()) ||
              std::is_sorted(categories.rbegin(), categories.rend()));
  // A refill keeps the order.
  v->RefreshData(QString());
  EXPECT_EQ(Column(*v, 1), categories);
}

TEST_F(FormatDataTest, TheSheetDrawingFollowsTheFormatAndThePanel) {
  pv::PrintFormat landscape = Sheet(QStringLiteral("LAND"));
  landscape.sheetwidth = 297;
  landscape.sheetdepth = 210;
  pv::StoreFormat(landscape);
  pv::PrintFormat noSheet = Sheet(QStringLiteral("NOSHEET"));
  noSheet.sheetwidth = 0;
  pv::StoreFormat(noSheet);
  pv::PrintFormat noLabels = Sheet(QStringLiteral("NOLABELS"));
  noLabels.nOri = 0;
  pv::StoreFormat(noLabels);

  auto v = MakeView(600);
  QWidget* page = v->PagePicture();
  EXPECT_FALSE(page->isVisible()) << "nothing clicked yet";
  struct Case {
    const char* code;
    bool shown;
    int width, height;
  };
  const Case cases[] = {
      {"LM4-A4-24", true, 118, 167}, {"LAND", true, 167, 118}, {"NOSHEET", false, 0, 0}, {"NOLABELS", true, 118, 167}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Click(*v, QString::fromLatin1(c.code));
    EXPECT_EQ(page->isVisible(), c.shown);
    if (!c.shown) continue;
    EXPECT_NEAR(page->width(), c.width, 1);
    EXPECT_NEAR(page->height(), c.height, 1);
    EXPECT_NEAR(page->x() + page->width() / 2.0, 90, 1);
    EXPECT_NEAR(page->y() + page->height() / 2.0, 600 - 120, 1);
  }
  // The summary of the format clicked.
  Click(*v, QStringLiteral("LM4-A4-24"));
  EXPECT_EQ(v->findChild<QLabel*>(QStringLiteral("lblCode"))->text(),
            pv::LoadResString(13111) + QStringLiteral(" LM4-A4-24"));
  EXPECT_EQ(v->findChild<QLabel*>(QStringLiteral("lblValue3"))->text(),
            QStringLiteral("63.5 x 33.9").replace(u'.', QLocale().decimalPoint()));

  // A panel of 450 pixels or less shows no drawing.
  v->resize(900, 450);
  QApplication::processEvents();
  EXPECT_FALSE(page->isVisible());
  v->resize(900, 451);
  QApplication::processEvents();
  EXPECT_TRUE(page->isVisible());
}

TEST_F(FormatDataTest, ALostDatabaseIsReportedAndTheViewGoesOn) {
  auto v = MakeView();
  Click(*v, QStringLiteral("LM4-A4-14"));
  pv::CloseDatabase();
  v->SaveData();
  v->RefreshData(QString());
  answer = pv::MsgAnswer::Yes;
  v->Delete();
  ASSERT_EQ(boxes.size(), 4u);  // the store, the fill, the question and the delete
  for (size_t i : {0u, 1u, 3u}) EXPECT_TRUE(boxes[i].text.startsWith(QStringLiteral("DATA Access error : "))) << i;
  EXPECT_EQ(boxes[2].icon, pv::MsgIcon::Question);
  EXPECT_EQ(v->List()->topLevelItemCount(), 0);
  EXPECT_EQ(v->CurrentFormat().Code, QStringLiteral("LM4-A4-14"));

  // Open again, the view works as before.
  pv::OpenDatabase();
  boxes.clear();
  v->RefreshData(QStringLiteral("LM4-A4-14"));
  EXPECT_EQ(v->List()->topLevelItemCount(), static_cast<int>(Codes().size()));
  ASSERT_EQ(v->List()->selectedItems().size(), 1);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
