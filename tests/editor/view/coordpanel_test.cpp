// The coordinate panel: what it shows for no, one and several selected
// objects, applying typed values, and the refusal of values it cannot store.
#include "view_fixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace pv;
using viewtest::ViewTest;

namespace {

const QStringList kYes5 = {"YES", "YES", "YES", "YES", "YES"};
const QStringList kNo5 = {"NO", "NO", "NO", "NO", "NO"};

}  // namespace

TEST_F(ViewTest, PanelStartsEmptyAndDisabledWithTheSetUpCaptions) {
  EXPECT_EQ(Texts(), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(Enabled(), std::vector<bool>(5, false));
  EXPECT_EQ(Tags(), kNo5);
  EXPECT_EQ(Captions(), QStringList({"Coordinata X sinistra :", "Coordinata Y alto :", "Coordinata X destra :",
                                     "Coordinata Y basso :", "Angolo di rotazione :"}));
}

TEST_F(ViewTest, OneBoxShowsCentreRelativeToTheLabelAndItsSize) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 16, 8.5f, 30);
  PageOrgX = 10;
  PageOrgY = 10;
  view->APPLY_DIMENSION(key);
  EXPECT_EQ(Texts(), QStringList({"20", "10", "16", "8.5", "30"}));
  EXPECT_EQ(Captions(), QStringList({"Centro X :", "Centro Y :", "Laghezza :", "Altezza :", "Angolo di rotazione :"}));
  EXPECT_EQ(Tags(), kYes5);
  EXPECT_EQ(Enabled(), std::vector<bool>(5, true));
}

TEST_F(ViewTest, OneLineShowsBothEndsRelativeToTheLabel) {
  const std::int32_t key = AddLine(15, 15, 35, 15);
  PageOrgX = 10;
  PageOrgY = 10;
  view->APPLY_DIMENSION(key);
  EXPECT_EQ(Texts(), QStringList({"5", "5", "25", "5", "0"}));
  EXPECT_EQ(Captions(), QStringList({"Coordinata X1 :", "Coordinata Y1 :", "Coordinata X2 :", "Coordinata Y2 :",
                                     "Angolo di rotazione :"}));
  EXPECT_EQ(Tags(), kYes5);
}

TEST_F(ViewTest, NumbersUseTheUsersDecimalSeparator) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 12.25f, 1.0f / 3.0f);
  PageOrgX = 10;
  PageOrgY = 10;
  view->APPLY_DIMENSION(key);
  EXPECT_EQ(view->Text1(2)->text(), "12,25");
  EXPECT_EQ(view->Text1(3)->text(), "0,3333333");  // seven significant digits
}

// A position is stored with the label's corner added, in a Single; taking
// the corner off again leaves a tail below the digits the Single holds
// (8.85 on a label at 23.5 read back as 8.849998), and the panel shows none
// of it.
TEST_F(ViewTest, PositionsShowWithoutTheTailOfTakingTheCornerOff) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  struct Case {
    float corner;
    float placed;
    const char* shown;
  };
  const Case cases[] = {
      {23.5f, 8.85f, "8,85"},
      {7.7f, 8.85f, "8,85"},
      {23.5f, -3.3f, "-3,3"},
      {23.5f, 12.3456f, "12,3456"},
      {23.5f, 0.1f, "0,1"},
      {0.0f, 1.234567f, "1,234567"},
      {23.5f, 1.234567f, "1,23457"},  // what a Single at 24.7 holds
      {23.5f, 0.0f, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    PageOrgX = c.corner;
    PageOrgY = c.corner;
    const std::int32_t box = AddBox(UserTypeRectangle, 20.0f + c.corner, c.placed + c.corner, 8.85f, 4);
    view->APPLY_DIMENSION(box);
    EXPECT_EQ(view->Text1(1)->text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(view->Text1(2)->text(), "8,85") << "a width is not shifted";
    const std::int32_t line = AddLine(c.placed + c.corner, 1.0f + c.corner, 5.0f + c.corner, c.placed + c.corner);
    view->APPLY_DIMENSION(line);
    EXPECT_EQ(view->Text1(0)->text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(view->Text1(3)->text(), QString::fromLatin1(c.shown));
  }
}

TEST_F(ViewTest, MarkersForNoneAndSeveralObjects) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 10);
  view->APPLY_DIMENSION(key);
  view->APPLY_DIMENSION(MultipleSelection);
  EXPECT_EQ(Texts(), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(Enabled(), std::vector<bool>(5, true));
  EXPECT_EQ(Tags(), kNo5);
  EXPECT_EQ(Captions(), QStringList({"Centro X / Coord. X1 :", "Centro Y / Coord. Y1 :", "Larghezza / Coord. X2 :",
                                     "Altezza / Coord. Y2 :", "Angolo di rotazione :"}));

  view->APPLY_DIMENSION(NoSelection);
  EXPECT_EQ(Texts(), QStringList({"", "", "", "", ""}));
  EXPECT_EQ(Enabled(), std::vector<bool>(5, false));
  EXPECT_EQ(Tags(), kNo5);
  // The captions keep what they showed.
  EXPECT_EQ(view->Label2(0)->text(), "Centro X / Coord. X1 :");
}

TEST_F(ViewTest, ChangingABoxTagsItYesAndFocusSelectsItsText) {
  AddBox(UserTypeRectangle, 30, 20, 10, 10);
  AddBox(UserTypeRectangle, 60, 20, 10, 10);
  SelObject(Objects[1].Key, false);
  SelObject(Objects[2].Key, false);
  view->SincronizePopWindow();
  EXPECT_EQ(Tags(), kNo5);
  Type(3, "7");
  EXPECT_EQ(Tags(), QStringList({"NO", "NO", "NO", "YES", "NO"}));
  view->Text1(3)->setText("75");  // a change made by code counts the same
  view->Text1(3)->deselect();
  view->Text1_GotFocus(3);
  EXPECT_EQ(view->Text1(3)->selectedText(), "75");
}

TEST_F(ViewTest, TypingAValueAndApplyingMovesTheObject) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6, 15);
  SelObject(key, false);
  view->SincronizePopWindow();
  const float orgX = PageOrgX, orgY = PageOrgY;
  Type(0, "12");
  Type(3, "9.5");
  view->imgApply()->click();
  const ObjectRecord& r = Record(key);
  EXPECT_FLOAT_EQ(r.CenterX, orgX + 12);
  EXPECT_FLOAT_EQ(r.CenterY, orgY + (20 - orgY));  // the shown value is re-applied
  EXPECT_FLOAT_EQ(r.Width, 10);
  EXPECT_FLOAT_EQ(r.Height, 9.5f);
  EXPECT_EQ(r.Angle, 15);
  // The panel follows the change (UpdateObjects).
  EXPECT_EQ(view->Text1(0)->text(), "12");
  EXPECT_EQ(view->Text1(3)->text(), "9.5");
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ViewTest, OneValueTypedWithSeveralSelectedMovesEachAndKeepsTheRest) {
  const std::int32_t a = AddBox(UserTypeRectangle, 30, 20, 10, 6, 30);
  const std::int32_t b = AddBox(UserTypeEllipse, 60, 25, 8, 4);
  const std::int32_t l = AddLine(15, 15, 35, 18);
  for (std::int32_t k : {a, b, l}) SelObject(k, false);
  view->SincronizePopWindow();
  const float orgX = PageOrgX;
  Type(0, "12");
  view->lblApply_Click();
  EXPECT_FLOAT_EQ(Record(a).CenterX, orgX + 12);
  EXPECT_FLOAT_EQ(Record(b).CenterX, orgX + 12);
  EXPECT_FLOAT_EQ(Record(l).X1, orgX + 12);
  EXPECT_FLOAT_EQ(Record(a).CenterY, 20);
  EXPECT_FLOAT_EQ(Record(a).Width, 10);
  EXPECT_EQ(Record(a).Angle, 30);
  EXPECT_FLOAT_EQ(Record(b).Height, 4);
  EXPECT_FLOAT_EQ(Record(l).X2, 35);
  EXPECT_FLOAT_EQ(Record(l).Y1, 15);
  // Back to the state for several objects after the re-synchronisations.
  EXPECT_EQ(Tags(), kNo5);
}

TEST_F(ViewTest, MinusOneKeepsTheFieldUnchanged) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6, 40);
  SelObject(key, false);
  view->SincronizePopWindow();
  for (int i = 0; i < 5; ++i) Type(i, "-1");
  EXPECT_TRUE(view->Set_Dimension());
  const ObjectRecord& r = Record(key);
  EXPECT_FLOAT_EQ(r.CenterX, 30);
  EXPECT_FLOAT_EQ(r.CenterY, 20);
  EXPECT_FLOAT_EQ(r.Width, 10);
  EXPECT_FLOAT_EQ(r.Height, 6);
  EXPECT_EQ(r.Angle, 40);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ViewTest, AnglesAreWholeDegreesWithinOneTurn) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  struct Case {
    const char* typed;
    std::int32_t angle;
  } cases[] = {{"45,5", 46}, {"44,5", 44}, {"370", 10}, {"-90", 270}, {"720", 0}, {"-1,4", 359}, {"359,6", 0}};
  for (const Case& c : cases) {
    ResetDocumentState();
    const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
    SelObject(key, false);
    view->SincronizePopWindow();
    Type(4, QString::fromLatin1(c.typed));
    EXPECT_TRUE(view->Set_Dimension()) << c.typed;
    EXPECT_EQ(Record(key).Angle, c.angle) << c.typed;
  }
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ViewTest, PicturesAndBarcodesKeepTheirAngle) {
  const std::int32_t image = AddBox(UserTypeImage, 30, 20, 10, 6);
  const std::int32_t barcode = AddBox(UserTypeBarcode, 60, 20, 30, 10);
  SelObject(image, false);
  SelObject(barcode, false);
  view->SincronizePopWindow();
  Type(4, "45");
  EXPECT_TRUE(view->Set_Dimension());
  EXPECT_EQ(Record(image).Angle, 0);
  EXPECT_EQ(Record(barcode).Angle, 0);
}

TEST_F(ViewTest, NothingSelectedApplyChangesNothing) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  view->SincronizePopWindow();
  const DocumentBlock before = DocBlock;
  view->imgApply()->click();
  EXPECT_TRUE(SameLiveObjects(before, DocBlock));
  EXPECT_FLOAT_EQ(Record(key).CenterX, 30);
}

// Values the panel must not store: refused with a message (information icon)
// and nothing changes.
TEST_F(ViewTest, BadValuesAreRefusedAtApplyAndNothingChanges) {
  struct Case {
    int box;
    const char* typed;
    int message;
  } cases[] = {
      {0, "abc", MsgNotANumber},   {1, "", MsgNotANumber},       {2, "12x", MsgNotANumber},
      {2, "0", MsgOutOfLimits},    {3, "-5", MsgOutOfLimits},    {2, "-0.5", MsgOutOfLimits},
      {0, "1e39", MsgOutOfLimits}, {1, "20000", MsgOutOfLimits}, {3, "1e30", MsgOutOfLimits},
      {4, "45°", MsgNotANumber},
  };
  for (const Case& c : cases) {
    ResetDocumentState();
    messages.clear();
    icons.clear();
    const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6, 5);
    SelObject(key, false);
    view->SincronizePopWindow();
    const ObjectRecord before = Record(key);
    Type(c.box, QString::fromLatin1(c.typed));
    EXPECT_FALSE(view->Set_Dimension()) << c.typed;
    EXPECT_EQ(Record(key), before) << c.typed;
    ASSERT_EQ(messages.size(), 1) << c.typed;
    EXPECT_EQ(messages[0], LoadResString(c.message)) << c.typed;
    EXPECT_EQ(icons[0], MsgIcon::Information);
  }
}

TEST_F(ViewTest, ALineAcceptsEndsLeftOfTheLabelButABoxNoZeroSize) {
  const std::int32_t l = AddLine(15, 15, 35, 18);
  SelObject(l, false);
  view->SincronizePopWindow();
  const float orgX = PageOrgX;
  Type(2, "-3");  // X2 of a line: a position, not a size
  EXPECT_TRUE(view->Set_Dimension());
  EXPECT_FLOAT_EQ(Record(l).X2, orgX - 3);

  // With a box among the selection, the width box holds a size.
  const std::int32_t b = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  SelObject(b, false);
  view->SincronizePopWindow();
  Type(2, "0");
  EXPECT_FALSE(view->Set_Dimension());
  EXPECT_FLOAT_EQ(Record(b).Width, 10);
  EXPECT_FLOAT_EQ(Record(l).X2, orgX - 3);
  EXPECT_EQ(messages, QStringList{LoadResString(MsgOutOfLimits)});
}

TEST_F(ViewTest, LeavingABoxValidatesIt) {
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  SelObject(key, false);
  view->SincronizePopWindow();
  struct Case {
    int box;
    const char* typed;
    bool cancel;
    bool message;
  } cases[] = {{0, "12", false, false}, {0, "abc", true, false},  {0, "", true, false},    {2, "0", true, true},
               {3, "-2", true, true},   {4, "400", false, false}, {1, "99999", true, true}};
  for (const Case& c : cases) {
    messages.clear();
    Type(c.box, QString::fromLatin1(c.typed));
    bool cancel = false;
    view->Text1_Validate(c.box, cancel);
    EXPECT_EQ(cancel, c.cancel) << c.box << " " << c.typed;
    EXPECT_EQ(!messages.isEmpty(), c.message) << c.box << " " << c.typed;
  }
}

TEST_F(ViewTest, AnEmptyBoxNobodyTypedIntoDoesNotHoldTheFocus) {
  AddBox(UserTypeRectangle, 30, 20, 10, 10);
  AddBox(UserTypeRectangle, 60, 20, 10, 10);
  SelObject(Objects[1].Key, false);
  SelObject(Objects[2].Key, false);
  view->SincronizePopWindow();
  bool cancel = false;
  view->Text1_Validate(0, cancel);
  EXPECT_FALSE(cancel);
  Type(0, "x");
  view->Text1_Validate(0, cancel);
  EXPECT_TRUE(cancel);
}

TEST_F(ViewTest, TheFocusGoesBackIntoARefusedBox) {
  view->show();
  view->activateWindow();
  const QDeadlineTimer deadline(10000);
  while (!view->isActiveWindow() && !deadline.hasExpired())
    QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
  ASSERT_TRUE(view->isActiveWindow());
  const std::int32_t key = AddBox(UserTypeRectangle, 30, 20, 10, 6);
  SelObject(key, false);
  view->SincronizePopWindow();
  view->Text1(2)->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), view->Text1(2));
  Type(2, "0");
  view->Text1(0)->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), view->Text1(2));
  EXPECT_EQ(messages, QStringList{LoadResString(MsgOutOfLimits)});
  EXPECT_FLOAT_EQ(Record(key).Width, 10);

  // A refusal at the apply button also puts the focus into the box.
  Type(2, "5");
  view->Text1(0)->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), view->Text1(0));
  view->Text1(1)->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  Type(1, "zz");
  view->Text1(3)->setFocus(Qt::TabFocusReason);  // refused silently: the focus stays
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), view->Text1(1));
  Type(1, "4");
  Type(3, "nix");
  view->imgApply()->click();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), view->Text1(3));
}

// Every caption the panel can show and every value a box can hold within
// the coordinate limit are seen whole at the default font: no leading digit
// scrolled out of a box ("4.6125" for 74.6125), no caption cut. A value wider
// than its box (float noise in exponent form) is shown whole in the tooltip.
TEST_F(ViewTest, CaptionsAndValuesAreSeenWhole) {
  view->show();
  QApplication::processEvents();
  const auto expectWhole = [&](int i) {
    QLineEdit* box = view->Text1(i);
    const QString text = box->text();
    box->grab();  // lays the text out as it is drawn
    const QRect inner = box->contentsRect();
    const int y = inner.center().y();
    EXPECT_EQ(box->cursorPositionAt(QPoint(inner.left() + 3, y)), 0) << text.toStdString() << " scrolled";
    EXPECT_EQ(box->cursorPositionAt(QPoint(inner.right() - 1, y)), text.size()) << text.toStdString();
    QLabel* caption = view->Label2(i);
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->contentsRect().width())
        << caption->text().toStdString();
    EXPECT_LE(caption->geometry().right(), box->geometry().left()) << "caption and box apart";
    EXPECT_LE(box->geometry().right(), view->PanelWidth());
  };
  for (int i = 0; i < 5; ++i) expectWhole(i);  // the set-up captions
  PageOrgX = 0;
  PageOrgY = 0;
  // The line's captions, with the widest values.
  const std::int32_t line = AddLine(-9999.999f, -9999.999f, 74.6125f, -1234.567f);
  view->APPLY_DIMENSION(line);
  EXPECT_EQ(view->Text1(0)->text(), "-9999.999");
  EXPECT_EQ(view->Text1(2)->text(), "74.6125");
  for (int i = 0; i < 5; ++i) expectWhole(i);
  // A box's, and the captions for several objects.
  const std::int32_t box = AddBox(UserTypeRectangle, -8888.888f, 9999.999f, 9999.999f, 7777.777f, 359);
  view->APPLY_DIMENSION(box);
  for (int i = 0; i < 5; ++i) expectWhole(i);
  EXPECT_EQ(view->Text1(0)->toolTip(), LoadResString(13518));
  view->APPLY_DIMENSION(MultipleSelection);
  for (int i = 0; i < 5; ++i) expectWhole(i);

  const std::int32_t tiny = AddBox(UserTypeRectangle, 1.234567e-05f, 10, 10, 10);
  view->APPLY_DIMENSION(tiny);
  const QString shown = view->Text1(0)->text();
  if (view->Text1(0)->fontMetrics().horizontalAdvance(shown) > view->Text1(0)->contentsRect().width() - 5) {
    EXPECT_EQ(view->Text1(0)->toolTip(), shown);
  }
  // The canvas begins beside the wider panel.
  EXPECT_GE(view->DragEditorControl()->mapTo(view.get(), QPoint(0, 0)).x(), view->PanelWidth());
}
