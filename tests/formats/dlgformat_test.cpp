#include "formats/windows/dlgformat.h"
#include "formatstest.h"
#include "platform/stringtable.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

using formatstest::Sheet;

class DlgFormatTest : public formatstest::FormatsTest {
 protected:
  // A dialog on `f`, shown so that focus can move.
  std::unique_ptr<pv::DlgFormat> Open(const pv::PrintFormat& f) {
    pv::EditFormat() = f;
    auto dialog = std::make_unique<pv::DlgFormat>();
    dialog->show();
    dialog->activateWindow();
    QApplication::processEvents();
    return dialog;
  }
  void Ok(pv::DlgFormat& d) {
    d.OKButton()->click();
    QApplication::processEvents();
  }
  int LastMessage() const { return boxes.empty() ? 0 : MessageNumber(boxes.back().text); }
  static int MessageNumber(const QString& text) {
    for (int n : {15101, 15102, 15103, 15104, 15105, 15106, 15107, 15108, 15109, 32039, 32040, 32041}) {
      if (pv::LoadResString(n) == text) return n;
    }
    return -1;
  }
};

TEST_F(DlgFormatTest, ANewFormatOpensEmptyAndRefusesAnEmptyCode) {
  auto d = Open(pv::PrintFormat{});
  EXPECT_EQ(d->windowTitle(), pv::LoadResString(11700));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(d->Text1(i)->text().isEmpty()) << i;
  for (int i = 4; i < 16; ++i) EXPECT_EQ(d->Text1(i)->text(), QStringLiteral("0")) << i;
  EXPECT_TRUE(d->Option1(0)->isChecked());
  EXPECT_EQ(d->Tabs()->currentIndex(), 0);
  for (int i = 4; i < 16; ++i) EXPECT_FALSE(d->Text1(i)->isEnabled()) << i;

  d->Text1(0)->setText(QStringLiteral("    "));
  d->Text1(1)->setFocus();
  Ok(*d);
  EXPECT_EQ(LastMessage(), 15105);
  EXPECT_EQ(boxes.back().icon, pv::MsgIcon::Information);
  EXPECT_EQ(QApplication::focusWidget(), d->Text1(0));
  EXPECT_FALSE(d->RetCode());
  EXPECT_TRUE(d->isVisible()) << "the dialog stays open";
  EXPECT_EQ(d->Text1(0)->text(), QStringLiteral("    ")) << "typed values untouched";
}

TEST_F(DlgFormatTest, ShowsTheFormatInTheUsersNumbersAndTakesWidthOnItsTab) {
  QLocale::setDefault(QLocale(QLocale::Italian));
  pv::PrintFormat f = Sheet(QStringLiteral("  CODE  "), 99.1, 38.1);
  f.nOri = 2;
  f.nVer = 7;
  f.Type = 3;
  f.Label = 5;
  auto d = Open(f);
  EXPECT_EQ(d->Text1(0)->text(), QStringLiteral("CODE"));
  EXPECT_EQ(d->Text1(4)->text(), QStringLiteral("99,1"));
  EXPECT_TRUE(d->Option1(3)->isChecked());

  d->Tabs()->setCurrentIndex(1);
  for (int i = 4; i < 16; ++i) EXPECT_TRUE(d->Text1(i)->isEnabled()) << i;
  d->Text1(4)->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(d->Text1(4)->selectedText(), QStringLiteral("99,1")) << "entering a field selects its text";
  d->Text1(4)->setText(QStringLiteral("100.5"));
  d->Text1(8)->setText(QStringLiteral("2,5"));
  Ok(*d);
  EXPECT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
  EXPECT_TRUE(d->RetCode());
  EXPECT_EQ(pv::EditFormat().Width, 100.5);
  EXPECT_EQ(pv::EditFormat().horizpitch, 2.5);
  EXPECT_EQ(pv::EditFormat().Height, 38.1);
  EXPECT_EQ(pv::EditFormat().Type, 3);
  EXPECT_EQ(pv::EditFormat().Label, 5);
  EXPECT_EQ(pv::EditFormat().Code, QStringLiteral("CODE"));

  // Back on Generale the size fields rest, the type can change.
  d->Tabs()->setCurrentIndex(0);
  EXPECT_FALSE(d->Text1(4)->isEnabled());
  EXPECT_TRUE(d->Option1(1)->isEnabled());
}

TEST_F(DlgFormatTest, ARefusedFieldOnTheHiddenTabComesForward) {
  struct Case {
    int field;
    const char* text;
    int message;
  };
  const Case cases[] = {{5, "abc", 15101}, {7, "-1", 15102}, {4, "0", 15106}, {6, "0.5", 15108}, {15, "", 15101}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    auto d = Open(Sheet(QStringLiteral("X")));
    d->Text1(c.field)->setText(QString::fromUtf8(c.text));
    d->Text1(1)->setFocus();
    Ok(*d);
    EXPECT_EQ(LastMessage(), c.message);
    EXPECT_EQ(d->Tabs()->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), d->Text1(c.field));
    EXPECT_FALSE(d->RetCode());
  }
  // A fit that fails names no field: the focus stays.
  auto d = Open(Sheet(QStringLiteral("X"), 71));
  d->Text1(2)->setFocus();
  Ok(*d);
  EXPECT_EQ(LastMessage(), 15103);
  EXPECT_EQ(QApplication::focusWidget(), d->Text1(2));
  EXPECT_EQ(d->Tabs()->currentIndex(), 0);
}

TEST_F(DlgFormatTest, CancelCloseAndARefusalLeaveEditFormatAsItWas) {
  const pv::PrintFormat f = Sheet(QStringLiteral("KEEP"));
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    auto d = Open(f);
    d->Text1(1)->setText(QStringLiteral("changed"));
    d->Text1(0)->setText(QStringLiteral("OTHER"));
    d->Tabs()->setCurrentIndex(1);
    d->Text1(4)->setText(QStringLiteral("200"));  // passes rule 5, fails the fit
    Ok(*d);
    EXPECT_EQ(LastMessage(), 15103);
    if (way == 1) d->CancelButton()->click();
    if (way == 2) d->close();
    QApplication::processEvents();
    EXPECT_FALSE(d->RetCode());
    EXPECT_EQ(pv::EditFormat(), f);
    EXPECT_EQ(d->isVisible(), way == 0);
  }
}

TEST_F(DlgFormatTest, TypesOutsideTheOptionsAndNoDatabaseMode) {
  pv::PrintFormat f = Sheet(QStringLiteral("T"));
  f.Type = 7;
  auto d = Open(f);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(d->Option1(i)->isChecked());
  Ok(*d);
  EXPECT_TRUE(d->RetCode());
  EXPECT_EQ(pv::EditFormat().Type, 7) << "no option chosen keeps the type";

  auto n = Open(Sheet(QStringLiteral("N")));
  n->NoDatabase();
  n->Tabs()->setCurrentIndex(1);
  EXPECT_FALSE(n->Text1(4)->isEnabled());
  EXPECT_FALSE(n->Text1(5)->isEnabled());
  EXPECT_TRUE(n->Text1(6)->isEnabled());
  n->Tabs()->setCurrentIndex(0);
  EXPECT_FALSE(n->Option1(0)->isEnabled());
  n->Text1(5)->setText(QStringLiteral("x"));
  n->Text1(2)->setFocus();
  Ok(*n);
  EXPECT_EQ(LastMessage(), 15101);
  EXPECT_NE(QApplication::focusWidget(), n->Text1(5)) << "a field that cannot take the focus does not get it";
}

}  // namespace
