#include "formats/formatstore.h"
#include "formats/numbertext.h"
#include "formats/validation.h"
#include "formatstest.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

namespace {

// Texts of a valid format: 3 x 8 labels of 70 x 37 mm on an A4 sheet.
pv::FormatFieldTexts ValidTexts() {
  return {QStringLiteral("A"),   QStringLiteral("D"),   QStringLiteral("C"),   QStringLiteral("P"),
          QStringLiteral("70"),  QStringLiteral("37"),  QStringLiteral("3"),   QStringLiteral("8"),
          QStringLiteral("0"),   QStringLiteral("0"),   QStringLiteral("0"),   QStringLiteral("0"),
          QStringLiteral("0,5"), QStringLiteral("0.5"), QStringLiteral("210"), QStringLiteral("297")};
}

struct Case {
  const char* name;
  std::map<int, const char*> texts;  // field -> text over the valid ones
  int message;                       // 0: passes
  int field;
};

// Field numbers: 0 code, 1 description, 2 category, 3 printer, 4 width,
// 5 height, 6 across, 7 down, 8 horizontal gap, 9 vertical gap, 10 left,
// 11 right, 12 top, 13 bottom, 14 sheet width, 15 sheet height.
const Case kCases[] = {
    {"valid", {}, 0, -1},
    {"blank code", {{0, "   "}}, 15105, 0},
    {"empty description", {{1, ""}}, 32041, 1},
    {"blank category", {{2, " "}}, 32039, 2},
    {"empty printer", {{3, ""}}, 32040, 3},
    {"texts checked in order", {{0, ""}, {3, ""}, {4, "abc"}}, 15105, 0},
    {"not a number", {{4, "abc"}}, 15101, 4},
    {"empty number", {{9, ""}}, 15101, 9},
    {"grouping is no number", {{14, "1.000,5"}}, 15101, 14},
    {"exponent is no number", {{15, "3e2"}}, 15101, 15},
    {"negative", {{5, "-1"}}, 15102, 5},
    {"above the range", {{6, "100001"}}, 15102, 6},
    {"numbers checked in field order", {{15, "x"}, {8, "-2"}}, 15102, 8},
    {"the top of the range", {{14, "100000"}, {15, "100000"}}, 0, -1},
    {"just above the top", {{14, "100000,5"}}, 15102, 14},
    {"a point is a decimal point", {{10, "0.500"}}, 0, -1},
    {"100.001 is a hundred", {{14, "100.001"}}, 15103, -1},
    {"blanks and sign around a number", {{4, " +70 "}}, 0, -1},
    {"zero width", {{4, "0"}}, 15106, 4},
    {"zero height", {{5, "0,0"}}, 15107, 5},
    {"half a label across", {{6, "0.5"}}, 15108, 6},
    {"one and a half across", {{6, "1,5"}}, 0, -1},
    {"no label down", {{7, "0"}}, 15109, 7},
    {"71 mm three across", {{4, "71"}}, 15103, -1},
    {"210.4 rounds to the sheet", {{10, "0,4"}}, 0, -1},
    {"210.5 rounds to even 210", {{10, "0,5"}}, 0, -1},
    {"211.5 rounds to even 212", {{10, "1,5"}, {14, "211"}}, 15103, -1},
    {"296.5 rounds to 296", {{12, "0"}, {15, "296"}}, 0, -1},
    {"297.5 rounds to 298", {{13, "1"}}, 15104, -1},
    {"the sheet size is not rounded", {{15, "296,9"}}, 15104, -1},
    {"across before down", {{4, "80"}, {5, "80"}}, 15103, -1},
};

TEST(FormatValidation, EachRuleInOrderWithItsMessageAndField) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    pv::FormatFieldTexts texts = ValidTexts();
    for (const auto& [field, text] : c.texts) texts[static_cast<size_t>(field)] = QString::fromUtf8(text);
    pv::PrintFormat out;
    out.Type = 2;
    out.Label = 9;
    const pv::PrintFormat before = out;
    const pv::FormatCheck check = pv::CheckFormatTexts(texts, out);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.field, c.field);
    if (check.ok()) {
      EXPECT_EQ(out.Type, 2);
      EXPECT_EQ(out.Label, 9);
    } else {
      EXPECT_EQ(out, before) << "a refused check writes nothing";
    }
  }
}

TEST(FormatValidation, KeepsTheNumbersItChecked) {
  pv::FormatFieldTexts texts = ValidTexts();
  texts[0] = QStringLiteral("  ") + QString(60, u'K');
  texts[4] = QStringLiteral("69,95");
  texts[10] = QStringLiteral("0.100");
  texts[14] = QStringLiteral("210.0");
  pv::PrintFormat out;
  ASSERT_TRUE(pv::CheckFormatTexts(texts, out).ok());
  EXPECT_DOUBLE_EQ(out.Width, 69.95);
  EXPECT_DOUBLE_EQ(out.LeftMargin, 0.1);
  EXPECT_DOUBLE_EQ(out.sheetwidth, 210);
  EXPECT_DOUBLE_EQ(out.TopMargin, 0.5);
  EXPECT_DOUBLE_EQ(out.bottommarg, 0.5);
  EXPECT_EQ(out.nOri, 3);
  EXPECT_EQ(out.Code.size(), 50) << "typed texts are cut at 50 characters";
  EXPECT_EQ(out.Code, QStringLiteral("  ") + QString(48, u'K'));
}

TEST(FormatValidation, NumbersThatAreNoNumberOrBeyondTheRangeAreRefusedInEachField) {
  using limits = std::numeric_limits<double>;
  const pv::PrintFormat valid = formatstest::Sheet(QStringLiteral("A"));
  ASSERT_TRUE(pv::CheckFormatNumbers(valid).ok());
  const std::pair<double, int> values[] = {
      {limits::quiet_NaN(), 15101},
      {-limits::quiet_NaN(), 15101},
      {limits::infinity(), 15102},
      {-limits::infinity(), 15102},
      {limits::max(), 15102},
      {limits::lowest(), 15102},
      {1e308, 15102},
      {-limits::denorm_min(), 15102},
      {100000.00000001, 15102},
  };
  for (size_t i = 0; i < 12; ++i) {
    for (const auto& [value, message] : values) {
      SCOPED_TRACE(testing::Message() << "field " << 4 + i << " value " << value);
      pv::PrintFormat f = valid;
      *pv::FormatNumbers(f)[i] = value;
      const pv::FormatCheck check = pv::CheckFormatNumbers(f);
      EXPECT_EQ(check.message, message);
      EXPECT_EQ(check.field, static_cast<int>(4 + i));
    }
  }
  pv::PrintFormat zero = valid;
  zero.LeftMargin = -0.0;
  EXPECT_TRUE(pv::CheckFormatNumbers(zero).ok()) << "minus zero is zero";
}

class SeededFormats : public formatstest::FormatsTest {};

TEST_F(SeededFormats, EveryDeliveredSheetPassesAsTheDialogShowsIt) {
  for (auto lang : {QLocale::Italian, QLocale::English}) {
    QLocale::setDefault(QLocale(lang));
    const std::vector<pv::PrintFormat> all = pv::AllFormats();
    ASSERT_GE(all.size(), 30u);
    for (const pv::PrintFormat& f : all) {
      SCOPED_TRACE(f.Code.toStdString());
      pv::FormatFieldTexts texts{f.Code, f.Description, f.Category, f.printer};
      const std::array<double, 12> numbers = pv::FormatNumbers(f);
      for (size_t i = 0; i < 12; ++i) texts[4 + i] = pv::GeneralNumber(numbers[i]);
      pv::PrintFormat out = f;
      EXPECT_EQ(pv::CheckFormatTexts(texts, out).message, 0);
      EXPECT_EQ(out, f) << "the shown numbers read back to the stored ones";
    }
  }
}

TEST(GeneralNumber, UsersDecimalSignNoGroupingShortest) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::Italian));
  EXPECT_EQ(pv::GeneralNumber(99.1), QStringLiteral("99,1"));
  EXPECT_EQ(pv::GeneralNumber(100000), QStringLiteral("100000"));
  EXPECT_EQ(pv::GeneralNumber(-0.0), QStringLiteral("0"));
  EXPECT_EQ(pv::GeneralNumber(0.1 + 0.2), QStringLiteral("0,30000000000000004"));
  QLocale::setDefault(QLocale(QLocale::English));
  EXPECT_EQ(pv::GeneralNumber(1234567.25), QStringLiteral("1234567.25"));
  QLocale::setDefault(before);
}

}  // namespace
