// The property-code table as the windows read it: what a window shows for a
// code, and that a value shown and sent back lands in the same field.
#include "editor/propertycodes.h"

#include "editor_fixture.h"

#include <functional>

namespace pvtest {
namespace {

using pv::ObjectRecord;
using pv::PropertyCodeRow;
using pv::PropertyCodes;
using pv::PropertyValue;

// An object and a style whose attribute fields all hold values of their own.
ObjectRecord DistinctRecord(std::int16_t kind) {
  return {.UserType = kind,
          .Content = QStringLiteral("content"),
          .Opacity = 61,
          .FontName = QStringLiteral("Verdana"),
          .FontSize = 14,
          .Italic = 0,
          .Bold = -1,
          .Underline = -1,
          .StrikeOut = 0,
          .Alignment = 21,
          .Variant = 7,
          .LineColor = 0x010203,
          .LineStyle = 5,
          .FillStyle = 148,
          .Color1 = 0x0A0B0C,
          .Color2 = 0x0D0E0F,
          .Aspect = 33,
          .FormatText = {}};
}

pv::DefaultStyleRecord DistinctStyle() {
  return {.FontName = pv::FixedString(QStringLiteral("Georgia"), pv::StyleFontNameLength),
          .FontSize = 18,
          .Italic = -1,
          .Bold = 0,
          .Underline = 0,
          .StrikeOut = -1,
          .Alignment = 23,
          .LineStyle = 6,
          .LineColor = 0x112233,
          .FillStyle = 27,
          .Color1 = 0x445566,
          .Color2 = 0x778899,
          .Opacity = 42};
}

const PropertyCodeRow& Row(std::int16_t code) {
  const PropertyCodeRow* row = pv::FindPropertyCode(code);
  EXPECT_NE(row, nullptr) << code;
  static const PropertyCodeRow none{};
  return row != nullptr ? *row : none;
}

TEST(PropertyCodesTest, AWindowShowsTheFieldOfItsCode) {
  const ObjectRecord r = DistinctRecord(pv::UserTypeArtText);
  const pv::DefaultStyleRecord s = DistinctStyle();
  struct Case {
    std::int16_t code;
    QVariant object;
    QVariant style;  // invalid: the code has no style field
  };
  const std::vector<Case> cases = {
      {100, -1, 0},
      {101, 0, -1},
      {102, -1, 0},
      {103, 0, -1},
      {110, false, false},
      {111, false, false},
      {112, true, false},
      {113, false, true},
      {114, QStringLiteral("Verdana"), s.FontName},
      {115, 14, 18},
      {200, QStringLiteral("content"), {}},
      {201, QStringLiteral("content"), {}},
      {301, 61, {}},
      {302, {}, {}},
      {401, 0x010203, 0x112233},
      {402, 5, 6},
      {403, 33, {}},
      {500, 148, 27},
      {501, 0x0A0B0C, 0x445566},
      {502, 0x0D0E0F, 0x778899},
      {503, 61, 42},
      {601, QStringLiteral("Verdana"), {}},
      {602, 7, {}},
      {603, 148, {}},
      {604, 0x0A0B0C, {}},
      {605, 0x0D0E0F, {}},
  };
  ASSERT_EQ(cases.size(), PropertyCodes().size());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const QVariant object = PropertyValue(Row(c.code), r);
    const QVariant style = PropertyValue(Row(c.code), s);
    EXPECT_EQ(object, c.object);
    EXPECT_EQ(object.typeId(), c.object.typeId());
    EXPECT_EQ(style, c.style);
    EXPECT_EQ(style.typeId(), c.style.typeId());
  }
  for (std::int16_t code : {0, 1, 104, 116, 199, 303, 504, 600, 606, -1}) {
    EXPECT_EQ(pv::FindPropertyCode(code), nullptr) << code;
  }
}

class PropertyApplyTest : public EditorTest {};

TEST_F(PropertyApplyTest, AValueShownAndSentBackLandsInTheSameField) {
  const ObjectRecord source = DistinctRecord(0);
  for (const PropertyCodeRow& row : PropertyCodes()) {
    const QVariant shown = PropertyValue(row, source);
    // Only a True alignment option is sent as a change.
    if (!shown.isValid() || (shown.typeId() == QMetaType::Bool && !shown.toBool())) continue;
    SCOPED_TRACE(row.code);
    for (std::int16_t kind : {100, 101, 102, 105, 109, 300}) {
      if (!pv::PropertyReachesKind(row, kind)) continue;
      pv::ResetDocumentState();
      const std::int32_t key = Put(kind, true);
      logic->Apply(row.code, shown, false, false);
      EXPECT_EQ(PropertyValue(row, Rec(key)), shown) << "kind " << kind;
    }
  }
}

TEST_F(PropertyApplyTest, AStyleValueShownAndSentBackWithTheDefaultFlagIsKept) {
  const pv::DefaultStyleRecord source = DistinctStyle();
  for (const PropertyCodeRow& row : PropertyCodes()) {
    const QVariant shown = PropertyValue(row, source);
    if (!shown.isValid() || (shown.typeId() == QMetaType::Bool && !shown.toBool())) continue;
    SCOPED_TRACE(row.code);
    pv::ResetDefaultStyle();
    logic->Apply(row.code, shown, true, false);
    EXPECT_EQ(PropertyValue(row, pv::DefaultStyle), shown);
  }
}

TEST_F(PropertyApplyTest, AValueTheCodeCannotReadChangesNothing) {
  struct Case {
    std::vector<std::int16_t> codes;
    std::vector<QVariant> values;
  };
  const std::vector<Case> cases = {
      // Booleans and alignment options.
      {{100, 101, 102, 103, 110, 111, 112, 113}, {QStringLiteral("abc"), QString(), QVariant()}},
      // Integers, also beyond 16 bits.
      {{115, 301, 503, 602}, {QStringLiteral("abc"), QVariant(), QStringLiteral("40000"), -32769}},
      // Longs, also beyond 32 bits.
      {{401, 402, 403, 500, 501, 502, 603, 604, 605},
       {QStringLiteral("abc"), QVariant(), 3e9, QStringLiteral("-2147483649")}},
  };
  for (std::int16_t kind : {100, 101, 102, 104, 105, 109, 207, 300}) Put(kind, true);
  const pv::DocumentBlock before = pv::DocBlock;
  for (const Case& c : cases) {
    for (const std::int16_t code : c.codes) {
      for (const QVariant& v : c.values) {
        SCOPED_TRACE(testing::Message() << code << " " << v.toString().toStdString());
        logic->Apply(code, v, true, false);
        EXPECT_TRUE(pv::SameLiveObjects(before, pv::DocBlock));
        EXPECT_EQ(pv::DefaultStyle, pv::StartDefaultStyle());
      }
    }
  }
}

TEST_F(PropertyApplyTest, ValuesAreReadByTheRuntimesRules) {
  using Edit = std::function<void(ObjectRecord&)>;
  struct Case {
    std::int16_t code;
    QVariant value;
    Edit edit;
  };
  const std::vector<Case> cases = {
      {100, QStringLiteral("True"), [](ObjectRecord& r) { r.Bold = -1; }},
      {101, QStringLiteral(" false "), [](ObjectRecord& r) { r.Italic = 0; }},
      {102, 0.5, [](ObjectRecord& r) { r.Underline = -1; }},
      {111, QStringLiteral("true"), [](ObjectRecord& r) { r.Alignment = 22; }},
      {114, true, [](ObjectRecord& r) { r.FontName = QStringLiteral("True"); }},
      {200, false, [](ObjectRecord& r) { r.Content = QStringLiteral("False"); }},
      {200, QVariant(), [](ObjectRecord& r) { r.Content.clear(); }},
      {115, QStringLiteral("-12"), [](ObjectRecord& r) { r.FontSize = -12; }},
      {503, QStringLiteral("32767"), [](ObjectRecord& r) { r.Opacity = 32767; }},
      {401, QStringLiteral("255"), [](ObjectRecord& r) { r.LineColor = 255; }},
      {402, 2.5, [](ObjectRecord& r) { r.LineStyle = 2; }},
      {402, 3.5, [](ObjectRecord& r) { r.LineStyle = 4; }},
      {501, true, [](ObjectRecord& r) { r.Color1 = -1; }},
      {502, QStringLiteral("2147483647"), [](ObjectRecord& r) { r.Color2 = 2147483647; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    pv::ResetDocumentState();
    const std::int32_t text = Put(101, true);
    Rec(text).Italic = -1;
    Rec(text).Content = QStringLiteral("old");
    ObjectRecord expected = Rec(text);
    c.edit(expected);
    logic->Apply(c.code, c.value, false, false);
    EXPECT_EQ(Rec(text), expected);
  }
}

// The program runs with Qt's locale Italian; a typed value is still read by
// the program's own rule: "," or "." is the decimal point, never a grouping.
TEST_F(PropertyApplyTest, TypedNumbersKeepTheProgramsReadingUnderTheItalianLocale) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  struct Case {
    const char* text;
    std::int16_t size;
  };
  for (const Case& c : {Case{"1.500", 2}, Case{"2,5", 2}, Case{"3.5", 4}, Case{"1e1", 10}, Case{"12", 12}}) {
    SCOPED_TRACE(c.text);
    pv::ResetDocumentState();
    const std::int32_t text = Put(101, true);
    logic->Apply(115, QString::fromLatin1(c.text), false, false);
    EXPECT_EQ(Rec(text).FontSize, c.size);
  }
  QLocale::setDefault(before);
}

}  // namespace
}  // namespace pvtest
