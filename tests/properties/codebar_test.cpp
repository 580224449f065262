// The barcode properties dialog: the record into the controls and back, the
// format list from the engine's names, the content source and the field
// picker, and the number boxes' refusals.
#include "properties/codebardialog.h"
#include "properties/windows/codebardialogwidget.h"
#include "platform/stringtable.h"
#include "render/barcode.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

namespace {

// The merge-field picker: records what it was shown, answers as told.
class FieldPicker : public pv::EditorPickers {
 public:
  pv::FieldPickerAnswer answer;
  std::vector<pv::FieldPickerPreset> shown;
  pv::FieldPickerAnswer ShowFieldPicker(const pv::FieldPickerPreset* preset) override {
    shown.push_back(preset != nullptr ? *preset : pv::FieldPickerPreset{});
    return answer;
  }
};

class CodeBarTest : public pv::test::AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    pv::SetEditorPickers(&picker);
    pv::BarcodeSettings = {};
  }
  void TearDown() override {
    pv::BarcodeSettings = {};
    AppFixture::TearDown();
  }
  QStringList Messages() const {
    QStringList m;
    for (const pv::MsgBoxRequest& r : messageBoxes.boxes) m << r.text;
    return m;
  }
  FieldPicker picker;
};

pv::BarcodeSettingsRecord Record(std::int16_t orientation, std::int16_t format, std::int16_t source,
                                 std::int16_t reduction, std::int16_t border) {
  pv::BarcodeSettingsRecord r;
  r.Orientation = orientation;
  r.FormatIndex = format;
  r.ShowText = 1;
  r.ShowCheckDigit = 0;
  r.ShowMargins = 1;
  r.BearerBars = 0;
  r.ExtraOption1 = 0;
  r.ExtraOption2 = 1;
  r.Reduction = reduction;
  r.Border = border;
  r.ContentSource = source;
  r.FixedText = "4006381333931";
  r.FieldFormatText = "#0";
  return r;
}

struct RecordCase {
  const char* name;
  pv::BarcodeSettingsRecord in;
  int orientationShown;  // list selections
  int formatShown;
  pv::BarcodeSettingsRecord out;  // after OK without changes
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

class CodeBarRecordTest : public CodeBarTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(CodeBarRecordTest, TheRecordShowsInTheControlsAndOkStoresIt) {
  const RecordCase& c = GetParam();
  pv::BarcodeSettings = c.in;
  pv::CodeBarDialog d;
  d.SetData();
  EXPECT_EQ(d.orientationList()->currentIndex(), c.orientationShown);
  EXPECT_EQ(d.formatList()->currentIndex(), c.formatShown);
  EXPECT_TRUE(d.option(0)->isChecked());
  EXPECT_FALSE(d.option(1)->isChecked());
  EXPECT_TRUE(d.option(2)->isChecked());
  EXPECT_TRUE(d.option(5)->isChecked());
  EXPECT_EQ(d.numberBox(0)->text(), QString::number(c.in.Reduction));
  EXPECT_EQ(d.numberBox(1)->text(), QString::number(c.in.Border));
  EXPECT_EQ(d.contentBox()->text(), c.in.FixedText);
  EXPECT_EQ(d.source(1)->isChecked(), c.in.ContentSource != 0);
  EXPECT_EQ(d.contentBox()->isEnabled(), c.in.ContentSource == 0);
  EXPECT_EQ(d.fieldButton()->isEnabled(), c.in.ContentSource != 0);
  d.okButton()->click();
  EXPECT_EQ(d.model().RetCode, -1);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(pv::BarcodeSettings, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Records, CodeBarRecordTest,
    ::testing::Values(RecordCase{"FixedText", Record(1, 3, 0, 10, 2), 1, 3, Record(1, 3, 0, 10, 2)},
                      RecordCase{"DataField", Record(3, 0, 1, 0, 0), 3, 0, Record(3, 0, 1, 0, 0)},
                      RecordCase{"SourceBeyondOne", Record(2, 5, 7, -5, 32767), 2, 5, Record(2, 5, 1, -5, 32767)},
                      RecordCase{"OrientationOutside", Record(9, 2, 0, 0, 0), 0, 2, Record(0, 2, 0, 0, 0)},
                      RecordCase{"NegativeOrientation", Record(-1, 2, 0, 0, 0), 0, 2, Record(0, 2, 0, 0, 0)},
                      RecordCase{"FormatPastTheList", Record(0, 500, 0, 0, 0), 0, -1, Record(0, -1, 0, 0, 0)},
                      RecordCase{"NegativeFormat", Record(0, -3, 0, 0, 0), 0, -1, Record(0, -1, 0, 0, 0)}),
    [](const ::testing::TestParamInfo<RecordCase>& i) { return std::string(i.param.name); });

TEST_F(CodeBarTest, TheFormatsAreTheEnginesNamesUpToTheFirstEmptyAndAtMost101) {
  pv::CodeBarDialogModel engine;
  ASSERT_GT(engine.Formats.size(), 10);
  EXPECT_EQ(engine.Formats[pv::BarcodeCode128Index], pv::BarcodeFormatName(pv::BarcodeCode128Index));
  EXPECT_EQ(engine.Formats.size(), std::min(pv::BarcodeFormatCount(), pv::CodeBarMaxFormats));
  EXPECT_EQ(engine.Orientations, QStringList({"Normale", "Verticale + 90°", "Verticale - 90°", "Inverso"}));

  int asked = 0;
  pv::CodeBarDialogModel many([&asked](int i) {
    ++asked;
    return QStringLiteral("F%1").arg(i);
  });
  EXPECT_EQ(many.Formats.size(), 101);
  EXPECT_EQ(many.Formats.last(), "F100");
  EXPECT_EQ(asked, 101);

  pv::CodeBarDialogModel gap([](int i) { return i == 4 ? QString() : QStringLiteral("F%1").arg(i); });
  EXPECT_EQ(gap.Formats, QStringList({"F0", "F1", "F2", "F3"}));
}

TEST_F(CodeBarTest, SwitchingTheSourceKeepsTheTextAndThePickerFillsIt) {
  pv::BarcodeSettings = Record(0, 1, 1, 0, 0);
  pv::BarcodeSettings.FixedText = "CODICE";
  pv::CodeBarDialog d;
  d.SetData();
  // A cancel in the picker keeps the name and the format.
  d.fieldButton()->click();
  ASSERT_EQ(picker.shown.size(), 1u);
  EXPECT_EQ(picker.shown[0].FieldName, "CODICE");
  EXPECT_EQ(picker.shown[0].FieldFormat, "#0");
  EXPECT_EQ(d.contentBox()->text(), "CODICE");
  EXPECT_EQ(d.model().FieldFormat, "#0");
  // A chosen predefined field shows as its key, the box stays disabled.
  picker.answer = {"KINTERNAL238547-01", "0000"};
  d.fieldButton()->click();
  EXPECT_EQ(d.contentBox()->text(), "KINTERNAL238547-01");
  EXPECT_FALSE(d.contentBox()->isEnabled());
  // Back to a fixed text: the name stays as the text, the format is kept.
  d.source(0)->click();
  EXPECT_TRUE(d.contentBox()->isEnabled());
  EXPECT_FALSE(d.fieldButton()->isEnabled());
  d.okButton()->click();
  EXPECT_EQ(pv::BarcodeSettings.ContentSource, 0);
  EXPECT_EQ(pv::BarcodeSettings.FixedText, "KINTERNAL238547-01");
  EXPECT_EQ(pv::BarcodeSettings.FieldFormatText, "0000");
}

struct NumberCase {
  const char* reduction;
  const char* border;
  int message;  // 0 passes
  int box;      // the refused box
  std::int16_t reductionOut, borderOut;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << "\"" << c.reduction << "\", \"" << c.border << "\""; }

class CodeBarNumberTest : public CodeBarTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(CodeBarNumberTest, BoxesGiveWholeNumbersOrARefusalThatKeepsTheDialog) {
  const NumberCase& c = GetParam();
  const pv::BarcodeSettingsRecord before = Record(0, 1, 0, 7, 7);
  pv::BarcodeSettings = before;
  pv::CodeBarDialog d;
  d.SetData();
  d.numberBox(0)->setText(QString::fromUtf8(c.reduction));
  d.numberBox(1)->setText(QString::fromUtf8(c.border));
  d.okButton()->click();
  if (c.message == 0) {
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(d.model().RetCode, -1);
    EXPECT_EQ(pv::BarcodeSettings.Reduction, c.reductionOut);
    EXPECT_EQ(pv::BarcodeSettings.Border, c.borderOut);
  } else {
    EXPECT_EQ(Messages(), QStringList{pv::LoadResString(c.message)});
    EXPECT_EQ(messageBoxes.boxes[0].icon, pv::MsgIcon::Information);
    EXPECT_EQ(d.model().RetCode, 0);
    EXPECT_EQ(d.model().FocusBox, c.box);
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(pv::BarcodeSettings, before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, CodeBarNumberTest,
    ::testing::Values(NumberCase{"12", "3", 0, -1, 12, 3}, NumberCase{" 2,5 ", "3.5", 0, -1, 2, 4},  // halves to even
                      NumberCase{"-0.5", "0.51", 0, -1, 0, 1}, NumberCase{"-32768", "32767.4", 0, -1, -32768, 32767},
                      NumberCase{"abc", "3", 15101, 0, 0, 0}, NumberCase{"", "3", 15101, 0, 0, 0},
                      NumberCase{"5", "1e3", 15101, 1, 0, 0}, NumberCase{"32767.5", "3", 15102, 0, 0, 0},
                      NumberCase{"5", "-40000", 15102, 1, 0, 0},
                      NumberCase{"99999999999999999999", "1", 15102, 0, 0, 0}));

TEST_F(CodeBarTest, CancelAndTheTitleBarLeaveTheRecord) {
  const pv::BarcodeSettingsRecord before = Record(2, 3, 0, 4, 4);
  pv::BarcodeSettings = before;
  pv::CodeBarDialog d;
  d.SetData();
  d.option(0)->setChecked(false);
  d.numberBox(0)->setText("x");
  d.cancelButton()->click();
  EXPECT_EQ(d.model().RetCode, 0);
  EXPECT_EQ(pv::BarcodeSettings, before);
  pv::CodeBarDialog closed;
  closed.SetData();
  closed.reject();  // the title bar
  EXPECT_EQ(closed.model().RetCode, 0);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(CodeBarTest, OkWithNoFormatSelectedStoresMinusOne) {
  pv::BarcodeSettings = Record(0, 1, 0, 0, 0);
  pv::CodeBarDialog d;
  d.SetData();
  d.formatList()->setCurrentIndex(-1);
  d.okButton()->click();
  EXPECT_EQ(pv::BarcodeSettings.FormatIndex, -1);
}

}  // namespace
