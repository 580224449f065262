#include "document/model.h"
#include "formats/windows/dlgselformat.h"
#include "formats/formatstore.h"
#include "formatstest.h"
#include "platform/stringtable.h"
#include "uitest.h"

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using formatstest::Sheet;

class DlgSelFormatTest : public formatstest::FormatsTest {
 protected:
  void SetUp() override {
    formatstest::FormatsTest::SetUp();
    for (const char* code : {"C-100", "A-100", "B'100"}) {
      pv::PrintFormat f = Sheet(QString::fromUtf8(code), 100, 50);
      f.nOri = 2;
      f.nVer = 5;
      pv::StoreFormat(f);
    }
    pv::PrintFormat near = Sheet(QStringLiteral("D-NEAR"), 99.85, 50.1);
    near.nOri = 2;
    near.nVer = 5;
    near.Type = 3;
    pv::StoreFormat(near);
    pv::StoreFormat(Sheet(QStringLiteral("E-FAR"), 99.8, 50));
    for (const QString& code :
         {QStringLiteral("C-100"), QStringLiteral("A-100"), QStringLiteral("E-FAR"), QStringLiteral("LM4-A4-14")}) {
      pv::SetFormatLastUsed(code, true);
    }
    pv::Header.LabelWidth = 100;
    pv::Header.LabelHeight = 50;
  }
  std::vector<QString> Rows(pv::DlgSelFormat& d) {
    std::vector<QString> out;
    for (int i = 0; i < d.List()->topLevelItemCount(); ++i) out.push_back(d.List()->topLevelItem(i)->text(0));
    return out;
  }
  void Click(pv::DlgSelFormat& d, int row) { emit d.List()->itemClicked(d.List()->topLevelItem(row), 0); }
};

TEST_F(DlgSelFormatTest, ListsTheFormatsOfTheLabelSizeAndClearsTheirMark) {
  pv::DlgSelFormat d;
  EXPECT_EQ(d.windowTitle(), pv::LoadResString(24000));
  EXPECT_EQ(Rows(d), (std::vector<QString>{QStringLiteral("A-100"), QStringLiteral("B'100"), QStringLiteral("C-100"),
                                           QStringLiteral("D-NEAR")}));
  for (const char* code : {"A-100", "B'100", "C-100", "D-NEAR"})
    EXPECT_FALSE(pv::FormatLastUsed(QString::fromUtf8(code)));
  EXPECT_TRUE(pv::FormatLastUsed(QStringLiteral("E-FAR"))) << "0.2 mm off is another size";
  EXPECT_TRUE(pv::FormatLastUsed(QStringLiteral("LM4-A4-14")));
  QTreeWidgetItem* last = d.List()->topLevelItem(3);
  EXPECT_EQ(last->text(7), QStringLiteral("Altro"));
  EXPECT_EQ(last->text(4), QStringLiteral("2x5"));
  EXPECT_EQ(d.List()->headerItem()->text(3), pv::LoadResString(15011));
  EXPECT_TRUE(d.FormatCode().isEmpty());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(DlgSelFormatTest, AClickMarksTheRowAndTheButtonsAnswer) {
  struct Case {
    const char* name;
    std::vector<int> clicks;
    int how;  // 0 OK, 1 Cancel, 2 close box
    bool retCode;
    const char* code;
  };
  const Case cases[] = {
      {"click then OK", {1}, 0, true, "B'100"},
      {"click then Cancel", {1}, 1, false, "B'100"},
      {"two clicks then close", {0, 2}, 2, false, "C-100"},
      {"OK without a click", {}, 0, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pv::DlgSelFormat d;
    formatstest::WhenModalOpens([&](QDialog*) {
      for (int row : c.clicks) Click(d, row);
      if (c.how == 0) d.OKButton()->click();
      if (c.how == 1) d.CancelButton()->click();
      if (c.how == 2) d.close();
    });
    d.exec();
    EXPECT_EQ(d.RetCode(), c.retCode);
    EXPECT_EQ(d.FormatCode(), QString::fromUtf8(c.code));
    for (int row : c.clicks) EXPECT_TRUE(pv::FormatLastUsed(Rows(d)[static_cast<size_t>(row)])) << row;
    EXPECT_TRUE(boxes.empty());
  }
}

TEST_F(DlgSelFormatTest, TheChooserLeavesNoFilterBehind) {
  const long rows = pv::rsFormat.RecordCount();
  {
    pv::DlgSelFormat d;
    Click(d, 2);
  }
  EXPECT_TRUE(pv::rsFormat.Filter().isEmpty());
  EXPECT_EQ(pv::rsFormat.RecordCount(), rows);

  // Storing an existing code afterwards replaces it: still one row for it.
  pv::PrintFormat f = Sheet(QStringLiteral("LM4-A4-14"), 99.1, 38.1);
  f.nOri = 2;
  f.nVer = 7;
  pv::StoreFormat(f);
  EXPECT_EQ(pv::rsFormat.RecordCount(), rows);
  EXPECT_EQ(static_cast<long>(pv::AllFormats().size()), rows);
  EXPECT_TRUE(pv::rsFormat.Filter().isEmpty());
  pv::rsFormat.SetFilter(QStringLiteral("CODE = 'LM4-A4-14'"));
  EXPECT_EQ(pv::rsFormat.RecordCount(), 1);
  EXPECT_EQ(pv::rsFormat.Text(QStringLiteral("Description")), QStringLiteral("descrizione")) << "rsFormat is current";
  pv::rsFormat.SetFilter(QString());
}

}  // namespace
