#include "app/window/views.h"
#include "formats/dlgformat.h"
#include "formats/formatdata.h"
#include "formats/install.h"
#include "formatstest.h"
#include "platform/stringtable.h"
#include "uitest.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
  EXPECT_EQ(v->CurrentFormat().Code, QStringLiteral("LM4-A4-33")) << "the summary keeps the deleted format";
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

TEST_F(FormatDataTest, InstallMakesTheMainWindowBuildThisView) {
  pv::InstallFormats();
  ASSERT_TRUE(pv::ViewFactories().FormatData);
  std::unique_ptr<pv::FormatDataView> view(pv::ViewFactories().FormatData(nullptr));
  EXPECT_NE(dynamic_cast<pv::FormatData*>(view.get()), nullptr);
  pv::ViewFactories().FormatData = nullptr;
}

}  // namespace
