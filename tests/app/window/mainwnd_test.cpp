#include "app/window/edittoolbar.h"
#include "app/window/pictures.h"

#include "windowtest.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <ostream>
#include <string>

namespace {

using wndtest::Calls;
using wndtest::WindowTest;

// ---- View switching -----------------------------------------------------------

struct ViewCase {
  const char* key;
  const char* visible;  // object name of the one visible view
  bool toolbar;
  int lit[3];         // picture of Image4(0..2)
  const char* extra;  // call the switch makes on a view, or ""
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.key; }

class SelectViewTest : public WindowTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(SelectViewTest, ShowsExactlyOneViewWithItsTabAndToolbar) {
  const ViewCase& c = GetParam();
  pv::MainWnd& w = Window();
  w.SelectView(QStringLiteral("tbr_nothing"));
  w.SelectView(QString::fromLatin1(std::string(c.key) == "tbr_archive" ? "tbr_preview" : "tbr_archive"));
  w.SetStatusCoord(3, 4);
  Calls().clear();
  w.SelectView(QString::fromLatin1(c.key));

  int visible = 0;
  for (QWidget* v : QList<QWidget*>{w.ModelData(), w.EditCard(), w.DataBaseData(), w.FormatData(), w.PreviewData()}) {
    if (!v->isHidden()) {
      ++visible;
      EXPECT_EQ(v->objectName(), QString::fromLatin1(c.visible));
    }
  }
  EXPECT_EQ(visible, 1);
  EXPECT_EQ(!w.SWBCoolbar2()->isHidden(), c.toolbar);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(w.Image4Picture(i), c.lit[i]) << "Image4(" << i << ")";
  EXPECT_EQ(w.CurrentView(), QString::fromLatin1(c.key));
  QStringList expected;
  if (*c.extra) expected << QString::fromLatin1(c.extra);
  EXPECT_EQ(Calls(), expected);
  // The status bar is rewritten: the coordinate field is reset.
  EXPECT_EQ(w.lblStatusBar(1)->text(), QStringLiteral("X,Y: 0,0"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SelectViewTest,
    ::testing::Values(ViewCase{"tbr_template", "ModelData", false, {2001, 0, 0}, ""},
                      ViewCase{"tbr_editor", "EditCard", true, {0, 2002, 0}, "EditCard.SetBaseTool"},
                      ViewCase{"tbr_archive", "DataBaseData", false, {0, 0, 0}, ""},
                      ViewCase{"tbr_formats", "FormatData", false, {0, 0, 0}, "FormatData.ShowSummary:1:hidden"},
                      ViewCase{"tbr_preview", "PreviewData", false, {0, 0, 2003}, ""}),
    [](const ::testing::TestParamInfo<ViewCase>& p) { return std::string(p.param.key); });

TEST_F(WindowTest, SelectingTheCurrentViewAgainRepeatsItsWork) {
  pv::MainWnd& w = Window();
  w.SelectView(QStringLiteral("tbr_editor"));
  w.SelectView(QStringLiteral("tbr_editor"));
  w.SelectView(QStringLiteral("tbr_formats"));
  w.SelectView(QStringLiteral("tbr_formats"));
  EXPECT_EQ(Calls(), (QStringList{QStringLiteral("EditCard.SetBaseTool"), QStringLiteral("EditCard.SetBaseTool"),
                                  QStringLiteral("FormatData.ShowSummary:1:hidden"),
                                  QStringLiteral("FormatData.ShowSummary:1:shown")}));
}

TEST_F(WindowTest, AnUnknownKeyLeavesTheViewsAndHidesTheFloatingWindows) {
  pv::MainWnd& w = Window();
  QWidget font(&w, Qt::Tool);
  w.SelectView(QStringLiteral("tbr_editor"));
  pv::PopUpLoadedBy(pv::PopFont, &font);
  font.show();
  w.SelectView(QStringLiteral("tbr_nothing"));
  EXPECT_EQ(w.CurrentView(), QStringLiteral("tbr_nothing"));
  EXPECT_FALSE(w.EditCard()->isHidden());
  EXPECT_FALSE(w.SWBCoolbar2()->isHidden());
  EXPECT_EQ(w.Image4Picture(1), pv::PicTabEditorLit);
  EXPECT_TRUE(font.isHidden());
  // ShowPopUp now finds no editor: the window stays hidden.
  w.ShowPopUp();
  EXPECT_TRUE(font.isHidden());
}

TEST_F(WindowTest, TheNavigationImagesSelectTheirViews) {
  pv::MainWnd& w = Window();
  const char* keys[3] = {"tbr_template", "tbr_editor", "tbr_preview"};
  for (int i = 0; i < 3; ++i) {
    // A click on the unlit tab (no picture) reaches it all the same.
    w.SelectView(QStringLiteral("tbr_archive"));
    QWidget* nav = w.Image4(i);
    const QPointF at(20, 20);
    QMouseEvent press(QEvent::MouseButtonPress, at, nav->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, nav->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(nav, &press);
    QApplication::sendEvent(nav, &release);
    EXPECT_EQ(w.CurrentView(), QString::fromLatin1(keys[i]));
  }
}

// ---- Floating windows -----------------------------------------------------------

TEST_F(WindowTest, LoadedFloatingWindowsFollowTheEditorAndOnlyThose) {
  pv::MainWnd& w = Window();
  QWidget font(&w, Qt::Tool);
  QWidget fill(&w, Qt::Tool);
  QWidget lines(&w, Qt::Tool);
  pv::PopUpLoadedBy(pv::PopFont, &font);
  pv::PopUpLoadedBy(pv::PopFill, &fill);
  pv::PopUpLoadedBy(pv::PopLinee, &lines);
  pv::PopUpUnloaded(pv::PopLinee);  // the user closed it
  EXPECT_EQ(pv::PopFontLoaded, pv::VbTrue);
  EXPECT_EQ(pv::PopLineeLoaded, pv::VbFalse);

  w.SelectView(QStringLiteral("tbr_editor"));
  EXPECT_FALSE(font.isHidden());
  EXPECT_FALSE(fill.isHidden());
  EXPECT_TRUE(lines.isHidden());
  for (const char* key : {"tbr_template", "tbr_archive", "tbr_formats", "tbr_preview"}) {
    w.SelectView(QStringLiteral("tbr_editor"));
    w.SelectView(QString::fromLatin1(key));
    EXPECT_TRUE(font.isHidden()) << key;
    EXPECT_TRUE(fill.isHidden()) << key;
    // Restoring the window over another view does not bring them back.
    w.Form_Resize();
    EXPECT_TRUE(font.isHidden()) << key;
  }
  w.SelectView(QStringLiteral("tbr_editor"));
  EXPECT_FALSE(font.isHidden());
  EXPECT_TRUE(lines.isHidden());
  // Hidden windows stay loaded.
  EXPECT_EQ(pv::PopFillLoaded, pv::VbTrue);
}

TEST_F(WindowTest, MinimisingHidesTheFloatingWindowsAndRestoringShowsThem) {
  pv::MainWnd& w = Window();
  w.show();
  QWidget fill(&w, Qt::Tool);
  pv::PopUpLoadedBy(pv::PopFill, &fill);
  w.SelectView(QStringLiteral("tbr_editor"));
  ASSERT_FALSE(fill.isHidden());
  w.setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_TRUE(fill.isHidden());
  w.setWindowState(Qt::WindowNoState);
  QApplication::processEvents();
  EXPECT_FALSE(fill.isHidden());
}

TEST_F(WindowTest, TheShutdownHostUnloadsTheLoadedWindows) {
  pv::MainWnd& w = Window();
  auto* font = new QWidget(&w, Qt::Tool);
  font->setAttribute(Qt::WA_DeleteOnClose);
  pv::PopUpLoadedBy(pv::PopFont, font);
  EXPECT_TRUE(pv::ShellPopUps().PopUpLoaded(pv::PopFont));
  EXPECT_FALSE(pv::ShellPopUps().PopUpLoaded(pv::PopFill));
  EXPECT_FALSE(pv::ShellPopUps().PopUpLoaded(2));
  pv::ShellPopUps().UnloadPopUp(pv::PopFont);
  EXPECT_FALSE(pv::ShellPopUps().PopUpLoaded(pv::PopFont));
  EXPECT_EQ(pv::PopUpWindow(pv::PopFont), nullptr);
  // The image index has no window and never becomes loaded.
  QWidget image;
  pv::PopUpLoadedBy(2, &image);
  EXPECT_EQ(pv::PopUpLoaded[2], pv::VbFalse);
}

// ---- Menus ------------------------------------------------------------------------

struct RouteCase {
  const char* array;
  int index;
  const char* call;  // the one call expected, "" for none
};

void PrintTo(const RouteCase& c, std::ostream* os) {
  *os << c.array << "(" << c.index << ") -> " << (*c.call ? c.call : "nothing");
}

class MenuRouteTest : public WindowTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(MenuRouteTest, ItemsCallTheEditorWithTheirKeyAndIndex) {
  const RouteCase& c = GetParam();
  pv::MainWnd& w = Window();
  Calls().clear();
  QAction* item = w.MenuItem(QString::fromLatin1(c.array), c.index);
  if (*c.call == 0) {
    // A separator: no item, and its index routed by hand does nothing.
    EXPECT_EQ(item, nullptr);
  } else {
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(Calls(), QStringList{QString::fromLatin1(c.call)});
    Calls().clear();
  }
  const QString array = QString::fromLatin1(c.array);
  if (array == QLatin1String("mnu_edit")) w.mnu_edit_Click(c.index);
  if (array == QLatin1String("mnu_align")) w.mnu_align_Click(c.index);
  if (array == QLatin1String("mnu_size")) w.mnu_size_Click(c.index);
  if (array == QLatin1String("mnu_rotate")) w.mnu_rotate_Click(c.index);
  if (array == QLatin1String("mnu_shadow")) w.mnu_shadow_Click(c.index);
  if (array == QLatin1String("mnu_modello")) w.mnu_modello_Click(c.index);
  EXPECT_EQ(Calls(), *c.call ? QStringList{QString::fromLatin1(c.call)} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuRouteTest,
    ::testing::Values(
        RouteCase{"mnu_edit", 0, "Exec:edit_field,0"}, RouteCase{"mnu_edit", 1, ""},
        RouteCase{"mnu_edit", 2, "Exec:edit_cut,0"}, RouteCase{"mnu_edit", 3, "Exec:edit_copy,0"},
        RouteCase{"mnu_edit", 4, "Exec:edit_paste,0"}, RouteCase{"mnu_edit", 5, "Exec:edit_delete,0"},
        RouteCase{"mnu_edit", 6, ""}, RouteCase{"mnu_edit", 7, "Exec:edit_clone,0"}, RouteCase{"mnu_edit", 8, ""},
        RouteCase{"mnu_edit", 9, "Exec:edit_resize,0"}, RouteCase{"mnu_align", 0, "Exec:mnu_align,0"},
        RouteCase{"mnu_align", 2, "Exec:mnu_align,2"}, RouteCase{"mnu_align", 5, "Exec:mnu_align,5"},
        RouteCase{"mnu_align", 6, ""}, RouteCase{"mnu_align", 8, ""}, RouteCase{"mnu_align", 9, "Exec:mnu_align,9"},
        RouteCase{"mnu_align", 12, "Exec:mnu_align,12"}, RouteCase{"mnu_align", 13, ""},
        RouteCase{"mnu_align", 14, "Exec:mnu_align,14"}, RouteCase{"mnu_align", 15, ""}, RouteCase{"mnu_size", 0, ""},
        RouteCase{"mnu_size", 6, "Exec:mnu_size,6"}, RouteCase{"mnu_size", 7, "Exec:mnu_size,7"},
        RouteCase{"mnu_rotate", 0, ""}, RouteCase{"mnu_rotate", 13, "Exec:mnu_rotate,13"},
        RouteCase{"mnu_rotate", 14, "Exec:mnu_rotate,14"}, RouteCase{"mnu_rotate", 15, "Exec:mnu_rotate,15"},
        RouteCase{"mnu_rotate", 16, "Exec:mnu_rotate,16"}, RouteCase{"mnu_shadow", 0, "Exec:mnu_shadow,0"},
        RouteCase{"mnu_shadow", 3, "Exec:mnu_shadow,3"}, RouteCase{"mnu_shadow", 4, ""},
        RouteCase{"mnu_shadow", 5, "Exec:mnu_shadow,5"}, RouteCase{"mnu_shadow", 8, "Exec:mnu_shadow,8"},
        RouteCase{"mnu_shadow", 9, ""}, RouteCase{"mnu_shadow", 10, "Exec:mnu_shadow,10"},
        RouteCase{"mnu_modello", 0, "ModelData.Apply:0"}, RouteCase{"mnu_modello", 1, ""},
        RouteCase{"mnu_modello", 2, "ModelData.Apply:2"}),
    [](const ::testing::TestParamInfo<RouteCase>& p) {
      return std::string(p.param.array) + "_" + std::to_string(p.param.index);
    });

TEST_F(WindowTest, MenuCaptionsComeFromTheStringTable) {
  pv::MainWnd& w = Window();
  struct Caption {
    const char* array;
    int index;
    int message;
  };
  const Caption captions[] = {
      {"popmnufile", 0, 32009}, {"popmnufile", 3, 32012}, {"popmnufile", 8, 32015},   {"popmnufile", 10, 32016},
      {"popmnushow", 0, 32018}, {"popmnushow", 3, 32020}, {"popupmnuhelp", 1, 32023}, {"popupmnuhelp", 5, 32025},
      {"mnu_edit", 0, 32030},   {"mnu_edit", 9, 32036},   {"mnu_align", 0, 9001},     {"mnu_align", 7, 9007},
      {"mnu_align", 9, 9010},   {"mnu_align", 14, 9014},  {"mnu_align", 16, 9015},    {"mnu_size", 6, 9008},
      {"mnu_size", 7, 9009},    {"mnu_rotate", 13, 9016}, {"mnu_rotate", 16, 9019},   {"mnu_shadow", 0, 9024},
      {"mnu_shadow", 5, 9028},  {"mnu_shadow", 10, 9032}, {"mnu_modello", 0, 9021},   {"mnu_modello", 2, 9022}};
  for (const Caption& c : captions) {
    QAction* a = w.MenuItem(QString::fromLatin1(c.array), c.index);
    ASSERT_NE(a, nullptr) << c.array << " " << c.index;
    EXPECT_EQ(a->text(), pv::LoadResString(c.message)) << c.array << " " << c.index;
  }
  const QList<QAction*> bar = w.menuBar()->actions();
  ASSERT_EQ(bar.size(), 3);
  EXPECT_EQ(bar[0]->text(), pv::LoadResString(32008));
  EXPECT_EQ(bar[1]->text(), pv::LoadResString(32017));
  EXPECT_EQ(bar[2]->text(), pv::LoadResString(32021));
  EXPECT_EQ(w.popup_align()->title(), pv::LoadResString(9000));
  EXPECT_EQ(w.popup_shadow()->title(), pv::LoadResString(9023));
  EXPECT_EQ(w.popup_modello()->title(), pv::LoadResString(9020));
  // The hidden menus are not in the menu bar.
  for (QAction* a : bar) EXPECT_NE(a->menu(), w.popup_edit());
}

TEST_F(WindowTest, ShortcutsOfTheMenus) {
  pv::MainWnd& w = Window();
  struct Key {
    const char* array;
    int index;
    const char* shortcut;
  };
  const Key keys[] = {{"popmnufile", 0, "Ctrl+N"},  {"popmnufile", 1, "Ctrl+O"}, {"popmnufile", 2, "Ctrl+S"},
                      {"popmnufile", 10, "Ctrl+Q"}, {"popmnushow", 0, "F5"},     {"popmnushow", 2, "F6"},
                      {"popmnushow", 3, "F7"},      {"popupmnuhelp", 0, "F1"},   {"popmnufile", 3, ""}};
  for (const Key& k : keys) {
    EXPECT_EQ(w.MenuItem(QString::fromLatin1(k.array), k.index)->shortcut(),
              QKeySequence(QString::fromLatin1(k.shortcut)))
        << k.array << " " << k.index;
  }
}

// The desktop's keys for the editor's commands: real key presses through the
// window's shortcuts reach the editor while it is the current view, and only
// then; a text box with the focus keeps them; none takes a menu's key.
TEST_F(WindowTest, DesktopKeysReachTheEditorWhileItIsTheCurrentView) {
  pv::MainWnd& w = Window();
  answer = pv::MsgAnswer::No;
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* call;
  };
  const Key keys[] = {
      {Qt::Key_Z, Qt::ControlModifier, "Exec:edit_undo,0"},   {Qt::Key_Y, Qt::ControlModifier, "Exec:edit_redo,0"},
      {Qt::Key_X, Qt::ControlModifier, "Exec:edit_cut,0"},    {Qt::Key_C, Qt::ControlModifier, "Exec:edit_copy,0"},
      {Qt::Key_V, Qt::ControlModifier, "Exec:edit_paste,0"},  {Qt::Key_A, Qt::ControlModifier, "Exec:edit_selectall,0"},
      {Qt::Key_Delete, Qt::NoModifier, "Exec:edit_delete,0"},
  };
  // As the keyboard does: to the widget with the focus.
  const auto Press = [&w](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &w, key, modifiers);
  };
  w.SelectView(QStringLiteral("tbr_editor"));
  for (const Key& k : keys) {
    Calls().clear();
    Press(k.key, k.modifiers);
    EXPECT_EQ(Calls(), QStringList{QString::fromLatin1(k.call)}) << k.call;
  }
  // The menus' own keys still work: Ctrl+N, Ctrl+O ask first; Ctrl+S saves.
  Calls().clear();
  Press(Qt::Key_N, Qt::ControlModifier);
  Press(Qt::Key_O, Qt::ControlModifier);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Calls(), (QStringList{QStringLiteral("MsgBox:") + pv::LoadResString(16003).left(20),
                                  QStringLiteral("MsgBox:") + pv::LoadResString(16004).left(20),
                                  QStringLiteral("SaveDocument:0")}));

  // A text box with the focus edits its own text with them.
  auto* box = new QLineEdit(w.EditCard());
  box->setText(QStringLiteral("12,5"));
  box->show();
  box->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), box);
  Calls().clear();
  Press(Qt::Key_A, Qt::ControlModifier);
  Press(Qt::Key_Delete);
  EXPECT_TRUE(Calls().isEmpty()) << Calls().join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(box->text(), QString());
  delete box;

  // Another view: the keys do nothing.
  for (const char* view : {"tbr_template", "tbr_preview", "tbr_archive"}) {
    w.SelectView(QString::fromLatin1(view));
    Calls().clear();
    for (const Key& k : keys) Press(k.key, k.modifiers);
    EXPECT_FALSE(Calls().join(QLatin1Char(' ')).contains(QStringLiteral("Exec:"))) << view;
  }

  // No key is taken twice among the window's actions.
  QList<QKeySequence> seen;
  for (QAction* a : w.findChildren<QAction*>()) {
    if (a->shortcut().isEmpty()) continue;
    EXPECT_FALSE(seen.contains(a->shortcut())) << a->shortcut().toString().toStdString();
    seen << a->shortcut();
  }
}

struct FileCase {
  int index;
  std::vector<pv::MsgAnswer> answers;
  bool openResult;
  const char* view;  // view afterwards
  QStringList calls;
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << "popmnufile(" << c.index << "), answers";
  for (pv::MsgAnswer a : c.answers) *os << " " << static_cast<int>(a);
  *os << ", open " << (c.openResult ? "succeeds" : "fails") << " -> " << c.view << " {"
      << c.calls.join(QStringLiteral(", ")).toStdString() << "}";
}

class FileMenuTest : public WindowTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(FileMenuTest, RoutesToItsCommands) {
  const FileCase& c = GetParam();
  pv::MainWnd& w = Window();
  w.SelectView(QStringLiteral("tbr_archive"));
  Calls().clear();
  answers.assign(c.answers.begin(), c.answers.end());
  commands.openResult = c.openResult;
  w.MenuItem(QStringLiteral("popmnufile"), c.index)->trigger();
  EXPECT_EQ(Calls(), c.calls);
  EXPECT_EQ(w.CurrentView(), QString::fromLatin1(c.view));
}

using A = pv::MsgAnswer;
const QString kNew = QStringLiteral("MsgBox:") + pv::LoadResString(16003).left(20);
const QString kOpen = QStringLiteral("MsgBox:") + pv::LoadResString(16004).left(20);
const QString kEnd = QStringLiteral("MsgBox:") + pv::LoadResString(15045).left(20);

INSTANTIATE_TEST_SUITE_P(
    Items, FileMenuTest,
    ::testing::Values(FileCase{0, {A::Yes}, false, "tbr_template", {kNew, "NewDocument"}},
                      FileCase{0, {A::No}, false, "tbr_archive", {kNew}},
                      FileCase{0, {A::Cancel}, false, "tbr_archive", {kNew}},
                      FileCase{1, {A::Yes}, true, "tbr_editor", {kOpen, "OpenDocument", "EditCard.SetBaseTool"}},
                      FileCase{1, {A::Yes}, false, "tbr_archive", {kOpen, "OpenDocument"}},
                      FileCase{1, {A::Cancel}, true, "tbr_archive", {kOpen}},
                      FileCase{2, {}, false, "tbr_archive", {"SaveDocument:0"}},
                      FileCase{3, {}, false, "tbr_archive", {"SaveDocument:1"}},
                      FileCase{5, {}, false, "tbr_archive", {"ShowOptions", "EditCard.SetParameter"}},
                      FileCase{6, {}, false, "tbr_archive", {"ShowPrinterSetup", "PreviewData.ReloadPrinterInfo"}},
                      FileCase{8, {}, false, "tbr_archive", {"FormatData.Import"}},
                      FileCase{10, {A::Yes}, false, "tbr_archive", {kEnd, "SaveSettings", "EndProgram"}},
                      FileCase{10, {A::No}, false, "tbr_archive", {kEnd}},
                      FileCase{10, {A::Cancel}, false, "tbr_archive", {kEnd}}));

// The status bar names the printer in force after the setup: the one the
// panel is left with once it has read the chosen printer again. A system
// queue named "PDF" is told from the built-in printer there too.
TEST_F(WindowTest, PrinterSetupRewritesTheStatusBarAfterThePanelReloads) {
  print.printers << QStringLiteral("PDF");
  pv::SetFakePrintSystem(&print);
  pv::MainWnd& w = Window();
  w.SetStatusCoord(1, 2);
  struct Probe : wndtest::RecCommands {
    void ShowPrinterSetup() override {
      Calls() << QStringLiteral("ShowPrinterSetup");
      pv::SetCurrentPrinter(QStringLiteral("PDF"));
    }
  } probe;
  pv::SetCommands(&probe);
  wndtest::RecPreviewData::OnReload = [] { pv::SetCurrentPrinter(QStringLiteral("PDF (CUPS)")); };
  w.popmnufile_Click(6);
  wndtest::RecPreviewData::OnReload = nullptr;
  EXPECT_EQ(w.lblStatusBar(2)->text(), pv::LoadResString(31001) + QStringLiteral("PDF (CUPS)"));
  EXPECT_EQ(w.lblStatusBar(1)->text(), QStringLiteral("X,Y: 0,0"));

  // Without a change on reload, the chosen printer.
  w.popmnufile_Click(6);
  EXPECT_EQ(w.lblStatusBar(2)->text(), pv::LoadResString(31001) + QStringLiteral("PDF"));
  pv::SetCommands(&commands);
}

TEST_F(WindowTest, ViewAndHelpMenus) {
  pv::MainWnd& w = Window();
  struct Case {
    const char* array;
    int index;
    const char* view;
    const char* call;
  };
  const Case cases[] = {{"popmnushow", 0, "tbr_template", ""},
                        {"popmnushow", 2, "tbr_archive", ""},
                        {"popmnushow", 3, "tbr_formats", "FormatData.ShowSummary:1:hidden"},
                        {"popupmnuhelp", 0, "", "ShowHelp:0"},
                        {"popupmnuhelp", 1, "", "ShowHelp:1"},
                        {"popupmnuhelp", 3, "", "LiveUpdate"},
                        {"popupmnuhelp", 5, "", "ShowAbout"}};
  for (const Case& c : cases) {
    w.SelectView(QStringLiteral("tbr_editor"));
    Calls().clear();
    w.MenuItem(QString::fromLatin1(c.array), c.index)->trigger();
    EXPECT_EQ(Calls(), *c.call ? QStringList{QString::fromLatin1(c.call)} : QStringList{}) << c.array << c.index;
    EXPECT_EQ(w.CurrentView(), *c.view ? QString::fromLatin1(c.view) : QStringLiteral("tbr_editor"));
  }
  EXPECT_EQ(w.MenuItem(QStringLiteral("popmnushow"), 1), nullptr);
  EXPECT_EQ(w.MenuItem(QStringLiteral("popupmnuhelp"), 2), nullptr);
}

TEST_F(WindowTest, ClosingTheWindowAsksOnceAndEndsOnlyOnYes) {
  pv::MainWnd& w = Window();
  w.show();
  for (A a : {A::No, A::Cancel}) {
    Calls().clear();
    answer = a;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Calls(), QStringList{kEnd});
  }
  Calls().clear();
  answer = A::Yes;
  EXPECT_TRUE(w.close());
  EXPECT_EQ(Calls(), (QStringList{kEnd, "SaveSettings", "EndProgram"}));
  const pv::MsgBoxRequest& box = boxes.back();
  EXPECT_EQ(box.icon, pv::MsgIcon::Question);
  EXPECT_EQ(box.buttons, pv::MsgButtons::YesNoCancel);
  EXPECT_EQ(box.text, pv::LoadResString(15045));
}

TEST_F(WindowTest, ExitThenClosingTheWindowDoesNotAskAgain) {
  pv::MainWnd& w = Window();
  w.show();
  answer = A::Yes;
  w.popmnufile_Click(10);
  Calls().clear();
  EXPECT_TRUE(w.close());
  EXPECT_EQ(Calls(), QStringList{});
}

// ---- Toolbar ----------------------------------------------------------------------

TEST_F(WindowTest, ToolbarItemsInOrderWithTheirImagesAndTooltips) {
  pv::MainWnd& w = Window();
  const QStringList keys = {"edit_select", "edit_rotate", "edit_selectall", "edit_undo",   "edit_redo",
                            "edit_space1", "edit_zoomin", "edit_zoomout",   "edit_space2", "edit_copy",
                            "edit_cut",    "edit_delete", "edit_paste",     "edit_array",  "edit_clone",
                            "edit_space3", "edit_align",  "edit_shadow",    "edit_field"};
  EXPECT_EQ(w.SWBCoolbar2()->ItemKeys(), keys);
  const int tooltips[] = {8002, 8003, 8004, 8005, 8006, 0, 8007, 8008, 0,   8009,
                          8010, 8011, 8012, 8013, 8014, 0, 8015, 8016, 8036};
  for (int i = 0; i < keys.size(); ++i) {
    QToolButton* b = w.SWBCoolbar2()->Button(keys[i]);
    if (tooltips[i] == 0) {
      EXPECT_EQ(b, nullptr) << keys[i].toStdString();
      continue;
    }
    ASSERT_NE(b, nullptr) << keys[i].toStdString();
    EXPECT_EQ(b->toolTip(), pv::LoadResString(tooltips[i]));
    EXPECT_FALSE(b->icon().isNull());
    EXPECT_EQ(b->size(), QSize(28, 28));
  }
  // Buttons stand top to bottom in the order of the table.
  w.resize(800, 700);
  w.SelectView(QStringLiteral("tbr_editor"));
  w.show();
  QApplication::processEvents();
  int lastTop = -1;
  for (const QString& k : keys) {
    if (QToolButton* b = w.SWBCoolbar2()->Button(k)) {
      EXPECT_GT(b->y(), lastTop) << k.toStdString();
      lastTop = b->y();
    }
  }
}

TEST_F(WindowTest, ToolbarImagesAreTheImageListInItsOrder) {
  // The image of a button is list entry n, and list entry n is its bitmap.
  const int list[16] = {2100, 2101, 2102, 2112, 2113, 2103, 2104, 2105, 2106, 2107, 2108, 2109, 2110, 2111, 2114, 2115};
  pv::MainWnd& w = Window();
  const QImage undo = w.SWBCoolbar2()->Button(QStringLiteral("edit_undo"))->icon().pixmap(26, 26).toImage();
  const QImage zoom = w.SWBCoolbar2()->Button(QStringLiteral("edit_zoomin"))->icon().pixmap(26, 26).toImage();
  EXPECT_EQ(undo.convertToFormat(QImage::Format_ARGB32),
            pv::ResPicture(list[3]).toImage().convertToFormat(QImage::Format_ARGB32));
  EXPECT_EQ(zoom.convertToFormat(QImage::Format_ARGB32),
            pv::ResPicture(list[5]).toImage().convertToFormat(QImage::Format_ARGB32));
}

TEST_F(WindowTest, ToolbarClicksReachTheEditorAndMenusOpenForAlignAndShadow) {
  pv::MainWnd& w = Window();
  w.show();
  w.SelectView(QStringLiteral("tbr_editor"));
  for (const QString& key : w.SWBCoolbar2()->ItemKeys()) {
    QToolButton* b = w.SWBCoolbar2()->Button(key);
    if (b == nullptr) continue;
    Calls().clear();
    b->click();
    EXPECT_EQ(Calls(), QStringList{QStringLiteral("Exec:%1,0").arg(key)});
  }
  EXPECT_TRUE(w.popup_shadow()->isVisible() || w.popup_align()->isVisible());
  w.popup_align()->hide();
  w.popup_shadow()->hide();

  // A menu request on the align button opens the align menu; on another
  // button nothing.
  QToolButton* align = w.SWBCoolbar2()->Button(QStringLiteral("edit_align"));
  QContextMenuEvent ctx(QContextMenuEvent::Mouse, QPoint(5, 5), align->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(align, &ctx);
  EXPECT_TRUE(w.popup_align()->isVisible());
  EXPECT_FALSE(w.popup_shadow()->isVisible());
  w.popup_align()->hide();
  w.ToolbarButtonMenu(QStringLiteral("edit_shadow"));
  EXPECT_TRUE(w.popup_shadow()->isVisible());
  w.popup_shadow()->hide();
  w.ToolbarButtonMenu(QStringLiteral("edit_copy"));
  EXPECT_FALSE(w.popup_align()->isVisible());
  EXPECT_FALSE(w.popup_shadow()->isVisible());
  // A key without "edit_" does not reach the editor.
  Calls().clear();
  w.ToolbarButtonClick(QStringLiteral("tbr_editor"));
  w.ToolbarButtonClick(QStringLiteral("edit_space2"));
  EXPECT_EQ(Calls(), QStringList{QStringLiteral("Exec:edit_space2,0")});
}

// ---- Status bar -------------------------------------------------------------------

TEST_F(WindowTest, StatusBarTexts) {
  pv::MainWnd& w = Window();
  pv::Header.LabelWidth = 101.6;
  pv::Header.LabelHeight = 50;
  w.SetStatusBar();
  EXPECT_EQ(w.lblStatusBar(0)->text(), QStringLiteral("Dimensione etichetta: 101.600 x 50.000"));
  EXPECT_EQ(w.lblStatusBar(1)->text(), QStringLiteral("X,Y: 0,0"));
  EXPECT_EQ(w.lblStatusBar(2)->text(), QStringLiteral("Stampa su : Ufficio"));

  struct Coord {
    float x, y;
    const char* text;
  };
  const Coord coords[] = {
      {12.34f, 5.0f, "X: 12.3  Y: 5.0"}, {-0.26f, 0.04f, "X: -0.3  Y: 0.0"}, {250, 1000.05f, "X: 250.0  Y: 1000.0"}};
  for (const Coord& c : coords) {
    w.SetStatusCoord(c.x, c.y);
    EXPECT_EQ(w.lblStatusBar(1)->text(), QString::fromLatin1(c.text));
  }
  EXPECT_EQ(w.lblStatusBar(0)->text(), QStringLiteral("Dimensione etichetta: 101.600 x 50.000"));
  EXPECT_EQ(pv::StatusLabelSizeText(0, 0), QStringLiteral("Dimensione etichetta: 0.000 x 0.000"));
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  EXPECT_EQ(pv::StatusLabelSizeText(1234.5, 2), QStringLiteral("Dimensione etichetta: 1234,500 x 2,000"));
}

TEST_F(WindowTest, DocumentCommandsReachTheStatusBarAndCaption) {
  pv::MainWnd& w = Window();
  pv::Header.LabelWidth = 70;
  pv::Header.LabelHeight = 35;
  pv::MainWindow().SetStatusBar();
  EXPECT_EQ(w.lblStatusBar(0)->text(), QStringLiteral("Dimensione etichetta: 70.000 x 35.000"));
  pv::MainWindow().SetCaption(QStringLiteral("Tavrel Lumetra 4 - a.lab"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tavrel Lumetra 4 - a.lab"));
  pv::PrintPanel().ResetPrinterInformation();
  EXPECT_EQ(Calls().last(), QStringLiteral("PreviewData.ResetPrinterInformation"));
  pv::SetMainWindowHost(nullptr);
  pv::SetPrintPanelHost(nullptr);
}

// The label size's field shows its whole text, for any label size, and the
// fields after it keep clear of it.
TEST_F(WindowTest, TheLabelSizeFieldShowsItsWholeText) {
  pv::MainWnd& w = Window();
  struct Size {
    double width, height;
    bool italian;
  };
  for (const Size& size : {Size{100, 60, false}, Size{100, 60, true}, Size{1000, 999.999, true}, Size{10, 5, false}}) {
    QLocale::setDefault(size.italian ? QLocale(QLocale::Italian, QLocale::Italy) : QLocale::c());
    pv::Header.LabelWidth = size.width;
    pv::Header.LabelHeight = size.height;
    w.SetStatusBar();
    QLabel* field = w.lblStatusBar(0);
    SCOPED_TRACE(field->text().toStdString());
    EXPECT_GE(field->contentsRect().width(), field->fontMetrics().horizontalAdvance(field->text()));
    EXPECT_LE(field->geometry().right(), w.Image1(1)->geometry().left());
    EXPECT_LE(w.lblStatusBar(1)->geometry().right(), w.Image1(2)->geometry().left());
    EXPECT_GE(field->x(), w.Image1(0)->geometry().right());
    // The smallest window still shows it whole.
    EXPECT_GE(w.minimumWidth(), field->geometry().right() + 1);
  }
  QLocale::setDefault(QLocale::c());
}

// At the smallest size the window allows, and larger, every control is whole
// and on the client area: the tabs, the toolbar's buttons one below the other
// inside the toolbar, the editor's panel.
TEST_F(WindowTest, AtAnySizeTheWindowAllowsEveryControlIsWholeAndApart) {
  pv::MainWnd& w = Window();
  w.SetStatusBar();
  w.show();
  w.SelectView(QStringLiteral("tbr_editor"));
  // The least size fits a small screen (the offscreen one is 800 x 600).
  EXPECT_LE(w.minimumWidth(), 800);
  EXPECT_LE(w.minimumHeight(), 600);
  for (QSize size : {QSize(100, 100), QSize(704, 300), QSize(300, 700), QSize(704, 604), QSize(1200, 900)}) {
    w.resize(size);
    QApplication::processEvents();
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " -> " << w.width() << "x"
                                    << w.height());
    const QRect client = w.ClientArea()->rect();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(client.contains(w.Image4(i)->geometry())) << "tab " << i;
    EXPECT_TRUE(client.contains(w.lblStatusBar(0)->geometry()));
    const QRect bar = w.SWBCoolbar2()->geometry();
    EXPECT_TRUE(client.contains(bar));
    QRect previous;
    for (const QString& key : w.SWBCoolbar2()->ItemKeys()) {
      QToolButton* b = w.SWBCoolbar2()->Button(key);
      if (b == nullptr) continue;
      EXPECT_TRUE(w.SWBCoolbar2()->rect().contains(b->geometry())) << key.toStdString();
      EXPECT_FALSE(previous.intersects(b->geometry())) << key.toStdString();
      EXPECT_GE(b->height(), pv::EditToolbar::MinButtonSize);
      previous = b->geometry();
    }
    if (w.ClientArea()->height() >= 604) {
      EXPECT_EQ(previous.height(), pv::EditToolbar::ButtonSize);  // full size where there is room
    }
    EXPECT_GE(w.EditCard()->height(), w.EditCard()->minimumSizeHint().height());
    EXPECT_LE(w.EditCard()->geometry().bottom(), w.lblStatusBar(0)->y());
  }
}

// ---- Layout -----------------------------------------------------------------------

TEST_F(WindowTest, LayoutAtDesignSize) {
  pv::MainWnd& w = Window();
  w.ClientArea()->resize(704, 604);
  w.Form_Resize();
  EXPECT_EQ(w.TopBar()->geometry(), QRect(0, 0, 704, 64));
  EXPECT_EQ(w.ModelData()->geometry(), QRect(0, 64, 704, 520));
  EXPECT_EQ(w.EditCard()->geometry(), QRect(0, 64, 668, 520));
  EXPECT_EQ(w.SWBCoolbar2()->geometry(), QRect(673, 64, 31, 520));
  EXPECT_EQ(w.Image4(0)->geometry(), QRect(5, 7, 200, 50));
  EXPECT_EQ(w.Image4(1)->geometry(), QRect(261, 8, 200, 50));
  EXPECT_EQ(w.Image4(2)->geometry(), QRect(494, 6, 200, 50));
  EXPECT_EQ(w.lblStatusBar(0)->geometry(), QRect(21, 588, 205, 13));
  EXPECT_EQ(w.lblStatusBar(2)->geometry(), QRect(468, 588, 313, 13));
  EXPECT_EQ(w.Image1(1)->geometry(), QRect(231, 588, 12, 13));
}

TEST_F(WindowTest, LayoutFollowsTheSizeAndNeverGoesNegative) {
  pv::MainWnd& w = Window();
  struct Size {
    int w, h;
  };
  for (Size s : {Size{1000, 800}, Size{704, 604}, Size{20, 30}, Size{0, 0}}) {
    w.ClientArea()->resize(s.w, s.h);
    w.Form_Resize();
    for (QWidget* v : QList<QWidget*>{w.ModelData(), w.DataBaseData(), w.FormatData(), w.PreviewData()}) {
      EXPECT_EQ(v->geometry(), QRect(0, 64, s.w, std::max(0, s.h - 84))) << s.w << "x" << s.h;
    }
    EXPECT_EQ(w.EditCard()->width(), std::max(0, s.w - 36));
    EXPECT_GE(w.EditCard()->height(), 0);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(w.lblStatusBar(i)->y(), std::max(0, s.h - 16));
      EXPECT_EQ(w.Image1(i)->y(), std::max(0, s.h - 16));
    }
    EXPECT_EQ(w.lblStatusBar(1)->x(), 249);
  }
}

// A view that notes the sizes its resize events bring.
class SizeRecordingEditCard : public pv::EditCardView {
 public:
  using EditCardView::EditCardView;
  static QList<QSize>& Sizes() {
    static QList<QSize> sizes;
    return sizes;
  }

 protected:
  void resizeEvent(QResizeEvent* event) override { Sizes() << event->size(); }
};

TEST_F(WindowTest, HiddenViewsAreLaidOutAtOnce) {
  SizeRecordingEditCard::Sizes().clear();
  views.editCard = [](QWidget* p) { return new SizeRecordingEditCard(p); };
  // Made, not yet loaded or shown: the views are at their design places and
  // the editor has laid itself out for its size.
  pv::MainWnd& w = Window();
  EXPECT_EQ(w.ModelData()->geometry(), QRect(0, 64, 704, 520));
  EXPECT_EQ(w.EditCard()->geometry(), QRect(0, 64, 668, 520));
  ASSERT_FALSE(SizeRecordingEditCard::Sizes().isEmpty());
  EXPECT_EQ(SizeRecordingEditCard::Sizes().last(), QSize(668, 520));

  // Shown with the wizard current, then made larger: the hidden editor
  // follows the size at once, not only when its tab is chosen.
  w.show();
  w.SelectView(QStringLiteral("tbr_template"));
  QApplication::processEvents();
  SizeRecordingEditCard::Sizes().clear();
  w.ClientArea()->resize(900, 700);
  w.Form_Resize();
  EXPECT_FALSE(w.EditCard()->isVisible());
  EXPECT_EQ(SizeRecordingEditCard::Sizes(), QList<QSize>{QSize(864, 616)});
  // The same place again brings no resize.
  w.Form_Resize();
  EXPECT_EQ(SizeRecordingEditCard::Sizes().size(), 1);
}

TEST_F(WindowTest, TheWindowOpensAtItsDesignClientSize) {
  pv::MainWnd& w = Window();
  w.show();
  QApplication::processEvents();
  EXPECT_EQ(w.ClientArea()->size(), QSize(704, 604));
}

// ---- Loading ----------------------------------------------------------------------

TEST_F(WindowTest, FormLoadRunsTheStartUpAndSelectsTheWizard) {
  pv::MainWnd& w = pv::GetMainWnd();
  ASSERT_TRUE(w.Form_Load());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tavrel Lumetra 4 - Senza nome"));
  EXPECT_EQ(w.CurrentView(), QStringLiteral("tbr_template"));
  EXPECT_EQ(w.Image4Picture(0), pv::PicTabWizardLit);
  EXPECT_TRUE(w.HelpFile().endsWith(QStringLiteral("help/index.html")));
  // LoadSettings initialised the views in their order through the hosts.
  QStringList init;
  for (const QString& c : Calls()) {
    if (c.contains(QLatin1String("Init")) || c.contains(QLatin1String("RefreshData"))) init << c;
  }
  EXPECT_EQ(init, (QStringList{"DataBaseData.Init", "ModelData.Init", "PreviewData.Init", "FormatData.RefreshData:"}));
  EXPECT_EQ(w.lblStatusBar(2)->text(), QStringLiteral("Stampa su : Ufficio"));
  EXPECT_EQ(w.MenuItem(QStringLiteral("popmnufile"), 0)->text(), pv::LoadResString(32009));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowTest, FormLoadWithoutPrintSystemStops) {
  print.unavailable = true;
  pv::SetFakePrintSystem(&print);
  pv::MainWnd& w = pv::GetMainWnd();
  EXPECT_FALSE(w.Form_Load());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15000));
  EXPECT_EQ(w.CurrentView(), QString());
}

// ---- Services of the other windows ------------------------------------------------

TEST_F(WindowTest, BusyCursorAndRefresh) {
  pv::MainWnd& w = Window();
  w.SetMousePointer(11);
  EXPECT_EQ(w.MousePointer(), 11);
  EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
  w.SetMousePointer(0);
  EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
  w.Refresh();
}

TEST_F(WindowTest, ColourDialogKeepsTheColourOnCancel) {
  std::int32_t color = 0x00332211;  // R 0x11, G 0x22, B 0x33
  struct Answer : pv::ColorDialogHost {
    QColor seen;
    std::optional<QColor> choice;
    std::optional<QColor> ChooseColor(const QColor& initial, QWidget*) override {
      seen = initial;
      return choice;
    }
  } dialog;
  const pv::ScopedHost<pv::ColorDialogHost> installed(dialog);
  EXPECT_FALSE(pv::ShowColorDialog(color));
  EXPECT_EQ(dialog.seen, QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(color, 0x00332211);
  dialog.choice = QColor(0xff, 0x80, 0x01);
  EXPECT_TRUE(pv::ShowColorDialog(color));
  EXPECT_EQ(color, 0x000180ff);
}

TEST_F(WindowTest, LiveUpdateSaysThereIsNoneAndTheProgramGoesOn) {
  pv::MainWndCommands program;
  program.LiveUpdate();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LiveUpdateText());
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::Ok);
  pv::SetCommands(&commands);
}

TEST_F(WindowTest, PicturesAreDrawnAtTheirSizes) {
  for (int id : {2000, 2001, 2002, 2003, 2100, 2107, 2115, 5000}) {
    const QPixmap p = pv::ResPicture(id);
    ASSERT_FALSE(p.isNull()) << id;
    EXPECT_EQ(p.deviceIndependentSize().toSize(), pv::ResPictureSize(id)) << id;
    // Not blank: more than a couple of colours.
    const QImage img = p.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); y += 2)
      for (int x = 0; x < img.width(); x += 2) colours.insert(img.pixel(x, y));
    EXPECT_GT(colours.size(), 3) << id;
  }
  EXPECT_EQ(pv::ResPictureSize(2000), QSize(1024, 63));
  EXPECT_TRUE(pv::ResPicture(2116).isNull());
  for (const char* n : {"status_size", "status_coord", "status_printer", "options", "options_calibration"}) {
    EXPECT_FALSE(pv::NamedPicture(QString::fromLatin1(n)).isNull()) << n;
  }
}

}  // namespace
