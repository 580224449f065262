#include "app/window/dlgabout.h"
#include "app/window/helpwindow.h"

#include "windowtest.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

namespace {

using wndtest::WindowTest;

TEST_F(WindowTest, AboutLines) {
  EXPECT_EQ(pv::AboutFileNameLine(QStringLiteral("/opt/x/myapp.exe")), QStringLiteral("Filename: MYAPP.EXE"));
  EXPECT_EQ(pv::AboutFileNameLine(QStringLiteral("/work/build/bin/plavik")), QStringLiteral("Filename: PLAVIK.EXE"));
  EXPECT_EQ(pv::AboutReleaseLine(2, 0, 6), QStringLiteral("Release:  2. 0. 6"));
  EXPECT_EQ(pv::AboutReleaseLine(10, 12, 0), QStringLiteral("Release:  10. 12. 0"));

  const QString notice = pv::AboutLegalNotice();
  QString expected = pv::LoadResString(20007);
  for (int n = 20000; n <= 20006; ++n) expected += QStringLiteral("\r\n\r\n") + pv::LoadResString(n);
  EXPECT_EQ(notice, expected);
  EXPECT_TRUE(notice.startsWith(pv::LoadResString(20007) + QStringLiteral("\r\n\r\n") + pv::LoadResString(20000)));
}

TEST_F(WindowTest, AboutBoxControls) {
  pv::dlgAbout about;
  EXPECT_EQ(about.height(), 270);
  EXPECT_EQ(about.Command1()->text(), pv::LoadResString(11000));
  EXPECT_FALSE(about.Image1()->pixmap().isNull());
  EXPECT_EQ(about.Label1(0)->text(), QStringLiteral("Filename: WINDOW_TESTS.EXE"));
  EXPECT_EQ(about.Label1(1)->text(),
            pv::AboutReleaseLine(pv::ProgramVersionMajor(), pv::ProgramVersionMinor(), pv::ProgramVersionRevision()));
  EXPECT_EQ(pv::ProgramVersionMajor(), 2);
  EXPECT_EQ(about.Label1(2)->text(), pv::LoadResString(20011));
  EXPECT_TRUE(about.Text1()->toPlainText().contains(pv::LoadResString(20006)));
  EXPECT_TRUE(about.Text1()->isReadOnly());
  about.show();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), about.Command1());
  about.Command1()->click();
  EXPECT_FALSE(about.isVisible());
}

TEST_F(WindowTest, TheSplashComesAndGoesThroughItsHost) {
  pv::ShellSplash().Show();
  auto splashes = [] {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<pv::dlgAbout*>(w) != nullptr && w->isVisible()) ++n;
    }
    return n;
  };
  EXPECT_EQ(splashes(), 1);
  pv::ShellSplash().Repaint();
  pv::ShellSplash().Unload();
  QApplication::processEvents();
  EXPECT_EQ(splashes(), 0);
  pv::ShellSplash().Unload();  // twice is harmless
}

TEST_F(WindowTest, HelpWindowReportsAMissingManual) {
  pv::HelpWindow help;
  EXPECT_FALSE(help.ShowContents(Home(QStringLiteral("help/index.html"))));
  EXPECT_TRUE(help.isVisible());
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("non è stato trovato")));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(Home(QStringLiteral("help/index.html"))));
}

TEST_F(WindowTest, HelpWindowShowsTheShippedManualAndSearchesIt) {
  const QString file = QStringLiteral(PLAVIK_PROGRAM_DIR) + QStringLiteral("/help/index.html");
  ASSERT_TRUE(QFile::exists(file)) << "the manual is copied into the program folder";
  pv::HelpWindow help;
  EXPECT_TRUE(help.ShowSearch(file));
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("Sommario")));
  EXPECT_TRUE(help.Find(QStringLiteral("stampa unione")));
  EXPECT_TRUE(help.Find(QStringLiteral("stampa unione")));  // wraps round to the top
  EXPECT_FALSE(help.Find(QStringLiteral("xyzzy-nonesuch")));
  EXPECT_FALSE(help.Find(QString()));
  // Every page of the manual is linked from the contents and is there.
  for (const char* page :
       {"wizard.html", "editor.html", "database.html", "formati.html", "stampa.html", "opzioni.html"}) {
    EXPECT_TRUE(
        QFile::exists(QStringLiteral(PLAVIK_PROGRAM_DIR) + QStringLiteral("/help/") + QString::fromLatin1(page)))
        << page;
  }
}

// The search box looks through every page of the manual: the pages that
// hold the words are listed by title, a click opens one at the words, and a
// search without a match says so.
TEST_F(WindowTest, HelpSearchListsEveryPageThatHoldsTheWords) {
  const QString file = QStringLiteral(PLAVIK_PROGRAM_DIR) + QStringLiteral("/help/index.html");
  pv::HelpWindow help;
  ASSERT_TRUE(help.ShowSearch(file));
  const auto search = [&](const QString& text) {
    help.SearchBox()->clear();
    QTest::keyClicks(help.SearchBox(), text);
    QTest::keyClick(help.SearchBox(), Qt::Key_Return);
    QStringList titles;
    for (int i = 0; i < help.Results()->count(); ++i) titles << help.Results()->item(i)->text();
    return titles;
  };

  // From the contents page, a word only another page has.
  EXPECT_EQ(search(QStringLiteral("filtri")), QStringList{QStringLiteral("Database per stampe unione")});
  EXPECT_TRUE(help.Results()->isVisible());
  EXPECT_TRUE(help.ResultsCaption()->text().contains(QStringLiteral("«filtri»")));
  QListWidgetItem* database = help.Results()->item(0);
  const QRect place = help.Results()->visualItemRect(database);
  QTest::mouseClick(help.Results()->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
  EXPECT_TRUE(help.Browser()->source().toLocalFile().endsWith(QStringLiteral("/database.html")));
  EXPECT_EQ(help.Browser()->textCursor().selectedText().toLower(), QStringLiteral("filtri"));

  // Words apart on a page: every page that has all of them, the contents
  // page among them.
  const QStringList both = search(QStringLiteral("STAMPA   unione"));
  EXPECT_GE(both.size(), 2);
  EXPECT_TRUE(both.contains(QStringLiteral("Guida di Tavrel Lumetra 4")));

  // Nothing found: said in words, the list empty.
  EXPECT_TRUE(search(QStringLiteral("xyzzy nonesuch")).isEmpty());
  EXPECT_EQ(help.ResultsCaption()->text(), QStringLiteral("Nessuna pagina contiene «xyzzy nonesuch»."));
  EXPECT_TRUE(help.ResultsCaption()->isVisible());
}

// Wherever its owner stands, even partly off the screen, and on a screen
// smaller than the window's own size, the help window opens wholly inside
// the screen's free area.
TEST_F(WindowTest, HelpWindowOpensWhollyOnTheScreen) {
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const QRect free = screen->availableGeometry();
  struct Case {
    QPoint owner;
    QSize help;  // the window's size before it opens
  };
  const Case cases[] = {
      {free.topLeft(), QSize()},
      {free.bottomRight() - QPoint(150, 100), QSize()},
      {free.topLeft() - QPoint(300, 200), QSize()},
      {free.topLeft(), free.size() + QSize(300, 200)},
      {free.bottomRight() - QPoint(150, 100), free.size() + QSize(10, 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.owner.x() << "," << c.owner.y());
    QWidget owner;
    owner.setGeometry(QRect(c.owner, QSize(400, 300)));
    owner.show();
    auto* help = new pv::HelpWindow(&owner);
    if (c.help.isValid()) help->resize(c.help);
    help->ShowContents(Home(QStringLiteral("help/index.html")));
    QApplication::processEvents();
    EXPECT_TRUE(free.contains(help->frameGeometry()));
    EXPECT_TRUE(free.contains(help->geometry()));
    EXPECT_GE(help->width(), help->minimumSizeHint().width());
  }
}

TEST_F(WindowTest, HelpMenuOpensTheHelpWindowOnTheProgramsManual) {
  pv::MainWndCommands program;
  pv::SetCommands(&program);
  pv::MainWnd& w = Window();
  w.popupmnuhelp_Click(1);
  pv::HelpWindow& help = pv::GetHelpWindow(&w);
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(help.parentWidget(), &w);
  // The test's program folder has no manual: the window says so.
  EXPECT_TRUE(help.Browser()->toPlainText().contains(QStringLiteral("non è stato trovato")));
  pv::SetCommands(&commands);
}

}  // namespace
