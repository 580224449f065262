// The coordinate panel follows the document: after each command that changes
// the selection or the selected objects' geometry (without raising a
// selection event of its own) it shows what is selected now, and the apply
// button then writes nothing stale. Enter in a box applies.
#include "view_fixture.h"

#include "document/clipboard.h"
#include "document/labelfile.h"
#include "editor/services.h"
#include "platform/hostslot.h"

#include <QKeyEvent>
#include <QToolButton>

#include <functional>

using namespace pv;
using viewtest::ViewTest;

namespace {

// Pictures are twice as wide as high.
class WidePictures : public EditorServices {
 public:
  double ImageAspect(const QString&) override { return 0.5; }
};

struct Geometry {
  std::int32_t key;
  float x1, y1, x2, y2, angle;
};

class FollowTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    a = AddBox(UserTypeRectangle, 30, 20, 10, 6);
    b = AddBox(UserTypeEllipse, 60, 30, 8, 4, 30);
    line = AddLine(15, 40, 35, 45);
    image = AddBox(UserTypeImage, 50, 50, 7, 20);
    Record(image).Variant = 1;
    Record(image).Content = QStringLiteral(" bmp");
    Canvas().Refresh(true);
  }

  // Selects `key` alone, as a click does, and checks that the panel shows it.
  void SelectOnly(std::int32_t key) {
    Canvas().DeselectAll();
    SelObject(key, false);
    view->SincronizePopWindow();
    ASSERT_EQ(Tags(), QStringList({"YES", "YES", "YES", "YES", "YES"}));
  }

  // The panel as it must be filled for the current selection.
  QStringList Expected() const {
    std::vector<std::int32_t> keys;
    for (std::int32_t i = 1; i <= ObjCount; ++i) {
      if (IsTrue(Objects[static_cast<std::size_t>(i)].IsSelected))
        keys.push_back(Objects[static_cast<std::size_t>(i)].Key);
    }
    if (keys.size() != 1) return {"", "", "", "", ""};
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, angle = 0;
    GetObjectDimension(keys[0], x1, y1, x2, y2, angle);
    const bool isLine = GetUserType(keys[0]) == UserTypeLine;
    const float v[5] = {x1 - PageOrgX, y1 - PageOrgY, isLine ? x2 - PageOrgX : x2, isLine ? y2 - PageOrgY : y2, angle};
    QStringList t;
    for (float f : v) t << QLocale::c().toString(static_cast<double>(f), 'g', 7);
    return t;
  }

  static std::vector<Geometry> AllGeometry() {
    std::vector<Geometry> all;
    for (std::int32_t i = 1; i <= ObjCount; ++i) {
      Geometry g{Objects[static_cast<std::size_t>(i)].Key, 0, 0, 0, 0, 0};
      GetObjectDimension(g.key, g.x1, g.y1, g.x2, g.y2, g.angle);
      all.push_back(g);
    }
    return all;
  }

  std::int32_t a = 0, b = 0, line = 0, image = 0;
};

void ExpectSameGeometry(const std::vector<Geometry>& before, const std::vector<Geometry>& after, const char* name) {
  ASSERT_EQ(before.size(), after.size()) << name;
  for (std::size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(testing::Message() << name << ", object " << before[i].key);
    EXPECT_EQ(before[i].key, after[i].key);
    EXPECT_NEAR(before[i].x1, after[i].x1, 1e-3);
    EXPECT_NEAR(before[i].y1, after[i].y1, 1e-3);
    EXPECT_NEAR(before[i].x2, after[i].x2, 1e-3);
    EXPECT_NEAR(before[i].y2, after[i].y2, 1e-3);
    EXPECT_NEAR(before[i].angle, after[i].angle, 1e-3);
  }
}

}  // namespace

TEST_F(FollowTest, PanelShowsTheDocumentAfterEachCommandAndApplyWritesNothingStale) {
  struct Case {
    const char* name;
    std::int32_t* selected;  // the object selected before the command
    std::function<void()> command;
    std::function<void()> prepare = nullptr;  // after the selection, before the panel is read
  };
  const std::vector<Case> cases = {
      {"select all", &a, [this] { view->Exec(QStringLiteral("edit_selectall"), 0); }},
      {"paste", &b,
       [this] {
         view->Exec(QStringLiteral("edit_copy"), 0);
         view->Exec(QStringLiteral("edit_paste"), 0);
       }},
      {"clone", &line, [this] { view->Exec(QStringLiteral("edit_clone"), 0); }},
      {"undo of a move", &a, [this] { view->Exec(QStringLiteral("edit_undo"), 0); },
       [this] { Canvas().ApplyDrag(200, 30, 20, 45, 25); }},
      {"redo of a move", &a, [this] { view->Exec(QStringLiteral("edit_redo"), 0); },
       [this] {
         Canvas().ApplyDrag(200, 30, 20, 45, 25);
         view->Exec(QStringLiteral("edit_undo"), 0);
       }},
      {"resize picture", &image, [this] { view->Exec(QStringLiteral("edit_resize"), 0); }},
      {"new label", &b, [] { NewDocument(); }},
      {"move", &b, [this] { Canvas().ApplyDrag(200, 60, 30, 70, 42); }},
      {"resize", &a, [this] { Canvas().ApplyDrag(104, 35, 20, 41, 20); }},
      {"line end", &line, [this] { Canvas().ApplyDrag(111, 35, 45, 50, 52); }},
      {"rotate quarter", &b, [this] { view->Exec(QStringLiteral("mnu_rotate"), 14); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    messages.clear();
    WidePictures pictures;
    ScopedHost<EditorServices> services(pictures);
    SelectOnly(*c.selected);
    if (c.prepare) {
      c.prepare();
      view->SincronizePopWindow();
    }
    const QStringList before = Texts();
    c.command();
    EXPECT_EQ(Texts(), Expected());
    EXPECT_NE(Texts(), before) << "the command changed nothing the panel shows";
    const std::vector<Geometry> shown = AllGeometry();
    view->imgApply()->click();
    ExpectSameGeometry(shown, AllGeometry(), c.name);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
  }
}

TEST_F(FollowTest, PanelKeepsWhatTheUserTypedWhileNothingItShowsChanges) {
  SelectOnly(a);
  Type(0, "12");
  Canvas().Refresh(true);  // a repaint alone
  Canvas().SetZoom(true);  // the zoom moves no object
  EXPECT_EQ(view->Text1(0)->text(), "12");
  EXPECT_EQ(Tags()[0], "YES");
}

TEST_F(FollowTest, EnterInABoxApplies) {
  SelectOnly(a);
  const float orgX = PageOrgX;
  Type(0, "12");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(view->Text1(0), &enter);
  EXPECT_FLOAT_EQ(Record(a).CenterX, orgX + 12);
  EXPECT_EQ(view->Text1(0)->text(), "12");

  // A value the panel refuses is refused on Enter as on the button.
  Type(2, "abc");
  QKeyEvent again(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
  QCoreApplication::sendEvent(view->Text1(2), &again);
  EXPECT_EQ(messages.size(), 1);
  EXPECT_FLOAT_EQ(Record(a).Width, 10);
}
