// The text content window against a recording editor: the fills, the batch
// (only after the user changed the text) and the four clipboard buttons.
#include "properties/textwindow.h"
#include "properties/windows/textwindowwidget.h"
#include "tests/properties/popup_recorder.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

namespace {

using proptest::RecordingEditor;

class TextWindowTest : public pv::test::AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    pv::SetPopUpEditor(&editor);
    QApplication::clipboard()->setText(QString());
  }
  QStringList Batch() {
    editor.calls.clear();
    model.Command1_Click(4);
    return editor.calls;
  }
  RecordingEditor editor;
  pv::TextWindowModel model;
};

TEST_F(TextWindowTest, LinesShowAsLinesAndGoBackAsCrLf) {
  model.Apply(0, QString("Riga uno\r\nRiga due"));
  EXPECT_EQ(model.Text, "Riga uno\nRiga due");
  // Filled and untouched: nothing to send.
  EXPECT_TRUE(Batch().isEmpty());
  model.Type("Riga uno\nRiga tre");
  EXPECT_EQ(Batch(), QStringList({"SavedDoc", "Apply:200=\"Riga uno\r\nRiga tre\",0,True"}));
}

TEST_F(TextWindowTest, SeveralObjectsEmptyTheBoxAndSendNothingUntilTheUserTypes) {
  model.Apply(0, QString("Ciao"));
  model.Type("Ciao!");
  model.Apply(0, -20);  // the editor refills: the user's change is gone
  EXPECT_EQ(model.Text, "");
  EXPECT_TRUE(Batch().isEmpty());
  model.Type("Tutti");
  EXPECT_EQ(Batch(), QStringList({"SavedDoc", "Apply:200=\"Tutti\",0,True"}));
}

struct ButtonCase {
  const char* name;
  int button;
  int start, length;  // the selection in "Hello world"
  const char* clipBefore;
  const char* textAfter;
  const char* clipAfter;
  bool sends;  // "Applica" then sends the text
};

void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.name; }

class TextButtonTest : public TextWindowTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(TextButtonTest, WorksOnTheSelectionThroughTheClipboard) {
  const ButtonCase& c = GetParam();
  QApplication::clipboard()->setText(QString::fromUtf8(c.clipBefore));
  model.Apply(0, QString("Hello world"));
  model.Select(c.start, c.length);
  model.Command1_Click(c.button);
  EXPECT_EQ(model.Text, QString::fromUtf8(c.textAfter));
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.clipAfter));
  EXPECT_EQ(model.SelLength, c.button == 1 ? c.length : 0);
  EXPECT_EQ(Batch().size(), c.sends ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, TextButtonTest,
                         ::testing::Values(ButtonCase{"Cut", 0, 0, 6, "x", "world", "Hello ", true},
                                           ButtonCase{"CutNothing", 0, 3, 0, "x", "Hello world", "", false},
                                           ButtonCase{"Copy", 1, 6, 5, "x", "Hello world", "world", false},
                                           ButtonCase{"CopyNothing", 1, 2, 0, "x", "Hello world", "", false},
                                           ButtonCase{"PasteOverSelection", 2, 6, 5, "moon", "Hello moon", "moon",
                                                      true},
                                           ButtonCase{"PasteAtCaret", 2, 5, 0, ",", "Hello, world", ",", true},
                                           ButtonCase{"PasteEmptyClipboard", 2, 5, 0, "", "Hello world", "", false},
                                           ButtonCase{"Delete", 3, 5, 6, "x", "Hello", "x", true},
                                           ButtonCase{"DeleteNothing", 3, 0, 0, "x", "Hello world", "x", false}),
                         [](const ::testing::TestParamInfo<ButtonCase>& i) { return std::string(i.param.name); });

TEST_F(TextWindowTest, TheWindowTakesTypingAndItsButtonsUseTheBoxSelection) {
  pv::TextWindow w(nullptr);
  EXPECT_EQ(w.windowTitle(), "Edita testo");
  EXPECT_EQ(w.button(0)->toolTip(), "Taglia");
  EXPECT_EQ(w.button(4)->text(), "Applica");
  w.TextApply(0, QString("Uno\r\nDue"));
  EXPECT_EQ(w.textBox()->toPlainText(), "Uno\nDue");
  w.button(4)->click();
  EXPECT_TRUE(editor.calls.isEmpty());
  // Select "Due" in the box and cut it.
  QTextCursor c = w.textBox()->textCursor();
  c.setPosition(4);
  c.setPosition(7, QTextCursor::KeepAnchor);
  w.textBox()->setTextCursor(c);
  w.button(0)->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "Due");
  EXPECT_EQ(w.textBox()->toPlainText(), "Uno\n");
  w.textBox()->insertPlainText("Tre");  // typing
  w.button(4)->click();
  EXPECT_EQ(editor.calls, QStringList({"SavedDoc", "Apply:200=\"Uno\r\nTre\",0,True"}));
}

}  // namespace
