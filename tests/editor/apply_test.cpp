// Apply: which selected objects each property code changes, the default-style
// flag, value conversion, the repaint, and the picture replacement.
#include "editor_fixture.h"

#include <functional>
#include <set>

namespace pvtest {
namespace {

using pv::ObjectRecord;

class ApplyTest : public EditorTest {
 protected:
  // One selected object of each kind family and an unselected rectangle, with
  // attribute values no case below writes.
  void MakeMixedSelection() {
    pv::ResetDocumentState();
    for (std::int16_t kind : {100, 101, 102, 104, 105, 109, 207, 300}) Put(kind, true);
    unselected = Put(105, false);
    for (int i = 1; i <= pv::ObjCount; ++i) {
      ObjectRecord& r = pv::Objects[i];
      r.Content = QStringLiteral("c");
      r.FontName = QStringLiteral("F");
      r.FontSize = 9;
      r.Opacity = 77;
      r.Alignment = 19;
      r.Variant = 3;
      r.LineColor = r.LineStyle = r.FillStyle = r.Color1 = r.Color2 = r.Aspect = 5;
    }
  }
  std::int32_t unselected = 0;
};

TEST_F(ApplyTest, EachCodeReachesItsKindsOnly) {
  using Edit = std::function<void(ObjectRecord&)>;
  const std::set<int> allButBarcode = {100, 101, 102, 104, 105, 109, 207};
  const std::set<int> everyKind = {100, 101, 102, 104, 105, 109, 207, 300};
  struct Case {
    std::int16_t code;
    QVariant value;
    std::set<int> kinds;
    Edit edit;
  };
  const std::vector<Case> cases = {
      {100, 1, allButBarcode, [](ObjectRecord& r) { r.Bold = -1; }},
      {101, true, allButBarcode, [](ObjectRecord& r) { r.Italic = -1; }},
      {102, -1, allButBarcode, [](ObjectRecord& r) { r.Underline = -1; }},
      {103, 1, allButBarcode, [](ObjectRecord& r) { r.StrikeOut = -1; }},
      {110, true, allButBarcode, [](ObjectRecord& r) { r.Alignment = 20; }},
      {111, true, allButBarcode, [](ObjectRecord& r) { r.Alignment = 22; }},
      {112, true, allButBarcode, [](ObjectRecord& r) { r.Alignment = 21; }},
      {113, true, allButBarcode, [](ObjectRecord& r) { r.Alignment = 23; }},
      {114, QStringLiteral("Verdana"), allButBarcode, [](ObjectRecord& r) { r.FontName = QStringLiteral("Verdana"); }},
      {115, QStringLiteral("14"), allButBarcode, [](ObjectRecord& r) { r.FontSize = 14; }},
      {200, QStringLiteral("ciao"), {101, 109}, [](ObjectRecord& r) { r.Content = QStringLiteral("ciao"); }},
      {201, QStringLiteral("NOME"), {100}, [](ObjectRecord& r) { r.Content = QStringLiteral("NOME"); }},
      {301, 40, {102}, [](ObjectRecord& r) { r.Opacity = 40; }},
      {401, 255, everyKind, [](ObjectRecord& r) { r.LineColor = 255; }},
      {402, 8, allButBarcode, [](ObjectRecord& r) { r.LineStyle = 8; }},
      {403, 12, allButBarcode, [](ObjectRecord& r) { r.Aspect = 12; }},
      {500, 3, allButBarcode, [](ObjectRecord& r) { r.FillStyle = 3; }},
      {501, 0x123456, allButBarcode, [](ObjectRecord& r) { r.Color1 = 0x123456; }},
      {502, 0x654321, allButBarcode, [](ObjectRecord& r) { r.Color2 = 0x654321; }},
      {503, 40, allButBarcode, [](ObjectRecord& r) { r.Opacity = 40; }},
      {601, QStringLiteral("Impact"), {109}, [](ObjectRecord& r) { r.FontName = QStringLiteral("Impact"); }},
      {602, 14, {109}, [](ObjectRecord& r) { r.Variant = 14; }},
      {603, 146, {109}, [](ObjectRecord& r) { r.FillStyle = 146; }},
      {604, 0xABCDEF, {109}, [](ObjectRecord& r) { r.Color1 = 0xABCDEF; }},
      {605, 0xFEDCBA, {109}, [](ObjectRecord& r) { r.Color2 = 0xFEDCBA; }},
      // Codes that write nothing, and false alignment options.
      {0, 1, {}, {}},
      {999, 1, {}, {}},
      {302, QString(), {}, {}},
      {112, false, {}, {}},
      {110, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    MakeMixedSelection();
    const pv::DocumentBlock before = pv::DocBlock;
    logic->Apply(c.code, c.value, false, false);
    for (int i = 1; i <= pv::ObjCount; ++i) {
      ObjectRecord expected = before.Objects[i];
      const bool reached = pv::Objects[i].Key != unselected && c.kinds.count(expected.UserType) != 0;
      if (reached) c.edit(expected);
      EXPECT_EQ(pv::Objects[i], expected) << "kind " << expected.UserType;
    }
  }
}

TEST_F(ApplyTest, TheDefaultFlagWritesTheStyleFieldOfTheCode) {
  using Edit = std::function<void(pv::DefaultStyleRecord&)>;
  struct Case {
    std::int16_t code;
    QVariant value;
    Edit edit;  // empty: the style stays
  };
  const std::vector<Case> cases = {
      {100, 1, [](pv::DefaultStyleRecord& s) { s.Bold = -1; }},
      {101, 1, [](pv::DefaultStyleRecord& s) { s.Italic = -1; }},
      {102, 1, [](pv::DefaultStyleRecord& s) { s.Underline = -1; }},
      {103, 1, [](pv::DefaultStyleRecord& s) { s.StrikeOut = -1; }},
      {110, true, [](pv::DefaultStyleRecord& s) { s.Alignment = 20; }},
      {111, true, [](pv::DefaultStyleRecord& s) { s.Alignment = 22; }},
      {112, true, [](pv::DefaultStyleRecord& s) { s.Alignment = 21; }},
      {113, true, [](pv::DefaultStyleRecord& s) { s.Alignment = 23; }},
      {112, false, {}},
      {115, 30, [](pv::DefaultStyleRecord& s) { s.FontSize = 30; }},
      {401, 0xFF, [](pv::DefaultStyleRecord& s) { s.LineColor = 0xFF; }},
      {402, 9, [](pv::DefaultStyleRecord& s) { s.LineStyle = 9; }},
      {500, 27, [](pv::DefaultStyleRecord& s) { s.FillStyle = 27; }},
      {501, 0x10, [](pv::DefaultStyleRecord& s) { s.Color1 = 0x10; }},
      {502, 0x20, [](pv::DefaultStyleRecord& s) { s.Color2 = 0x20; }},
      {503, 30, [](pv::DefaultStyleRecord& s) { s.Opacity = 30; }},
      {200, QStringLiteral("t"), {}},
      {201, QStringLiteral("t"), {}},
      {301, 30, {}},
      {403, 9, {}},
      {601, QStringLiteral("Impact"), {}},
      {602, 3, {}},
      {603, 3, {}},
      {604, 3, {}},
      {605, 3, {}},
      {0, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    pv::ResetDefaultStyle();
    pv::DefaultStyleRecord expected = pv::DefaultStyle;
    if (c.edit) c.edit(expected);
    logic->Apply(c.code, c.value, true, false);  // nothing selected
    EXPECT_EQ(pv::DefaultStyle, expected);
    // Without the flag the style never changes.
    pv::ResetDefaultStyle();
    logic->Apply(c.code, c.value, false, false);
    EXPECT_EQ(pv::DefaultStyle, pv::StartDefaultStyle());
  }
}

TEST_F(ApplyTest, FontNameIsFixedToThirtyTwoCharactersInTheStyleOnly) {
  const std::int32_t art = Put(109, true);
  logic->Apply(114, QStringLiteral("Bookman Old Sty"), true, false);  // 15 characters
  EXPECT_EQ(pv::DefaultStyle.FontName, QStringLiteral("Bookman Old Sty") + QString(17, QLatin1Char(' ')));
  EXPECT_EQ(Rec(art).FontName, QStringLiteral("Bookman Old Sty"));

  const QString longName = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789xyz");  // 39
  logic->Apply(114, longName, true, false);
  EXPECT_EQ(pv::DefaultStyle.FontName, longName.left(32));
}

TEST_F(ApplyTest, AValueThatIsNoNumberChangesNothing) {
  const std::int32_t text = Put(101, true);
  Rec(text).FontSize = 9;
  for (const QVariant& v : {QVariant(QStringLiteral("abc")), QVariant(QString()), QVariant(),
                            QVariant(QStringLiteral("99999")), QVariant(1e12)}) {
    SCOPED_TRACE(v.toString().toStdString());
    logic->Apply(115, v, true, false);
    EXPECT_EQ(Rec(text).FontSize, 9);
    EXPECT_EQ(pv::DefaultStyle.FontSize, 12);
  }
  // Numbers go to the nearest whole number, halves to even.
  logic->Apply(115, 10.5, false, false);
  EXPECT_EQ(Rec(text).FontSize, 10);
  logic->Apply(115, QStringLiteral(" 11.5 "), false, false);
  EXPECT_EQ(Rec(text).FontSize, 12);
}

TEST_F(ApplyTest, OnlyTheRefreshFlagRepaintsAndNothingTakesASnapshot) {
  Put(105, true);
  const std::int16_t undo = pv::UndoCount;
  recorder->calls.clear();
  logic->Apply(0, 0, false, false);
  EXPECT_TRUE(recorder->actions().isEmpty());
  logic->Apply(0, 0, false, true);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("Refresh(1)")});
  recorder->calls.clear();
  logic->Apply(500, 2, true, true);
  EXPECT_EQ(recorder->actions(), QStringList{QStringLiteral("Refresh(1)")});
  EXPECT_EQ(pv::UndoCount, undo);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ApplyTest, AWindowBatchIsOneUndoStep) {
  const std::int32_t rect = Put(105, true);
  const ObjectRecord before = Rec(rect);
  logic->SavedDoc();
  logic->Apply(500, 3, false, false);
  logic->Apply(501, 0x11, false, false);
  logic->Apply(503, 20, false, false);
  logic->Apply(0, 0, false, true);
  EXPECT_EQ(Rec(rect).FillStyle, 3);
  logic->Exec(QStringLiteral("edit_undo"), 0);
  ObjectRecord restored = Rec(rect);
  EXPECT_EQ(restored.FillStyle, before.FillStyle);
  EXPECT_EQ(restored.Color1, before.Color1);
  EXPECT_EQ(restored.Opacity, before.Opacity);
}

TEST_F(ApplyTest, ReplacingThePictureOfTheFirstSelectedImage) {
  const std::int32_t rect = Put(105, true);
  const std::int32_t image = Put(102, true);
  Rec(image).Variant = 4;
  Rec(image).Content = QStringLiteral(" png ");
  const QString target = pv::TempImageFile(QStringLiteral("4.png"));
  {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old picture");
  }
  // The first selected object is the rectangle: nothing is copied.
  const QString source = SourceFile(QStringLiteral("new.png"), "new picture");
  logic->Apply(302, source, false, false);
  EXPECT_EQ(ReadAll(target), QByteArray("old picture"));

  Rec(rect).IsSelected = 0;
  const pv::DocumentBlock before = pv::DocBlock;
  logic->Apply(302, source, false, false);
  EXPECT_EQ(ReadAll(target), QByteArray("new picture"));
  EXPECT_TRUE(pv::SameLiveObjects(before, pv::DocBlock));
  EXPECT_TRUE(boxes.empty());

  // A source that cannot be read keeps the picture there is and says so.
  logic->Apply(302, sources.filePath(QStringLiteral("missing.png")), false, false);
  EXPECT_EQ(ReadAll(target), QByteArray("new picture"));
  EXPECT_EQ(Shown(pv::MsgPictureNotCopied, pv::MsgIcon::Critical), 1);
}

TEST_F(ApplyTest, ASelectedKeyMissingFromTheTableIsSkipped) {
  // A canvas whose selection names a key the table does not hold.
  struct StaleSelection : RecordingPort {
    using RecordingPort::RecordingPort;
    int step = 0;
    std::int32_t GetFirstObject(bool) override {
      step = 0;
      return 424242;
    }
    std::int32_t GetNextObject(bool) override { return ++step == 1 ? pv::Objects[1].Key : -1; }
  };
  const std::int32_t rect = Put(105, false);
  StaleSelection stale(*port);
  pv::EditCardLogic other(stale);
  other.Apply(500, 6, false, false);
  EXPECT_EQ(Rec(rect).FillStyle, 6);
}

}  // namespace
}  // namespace pvtest
