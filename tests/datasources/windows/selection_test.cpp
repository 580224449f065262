// The selection control and the registration dialog: reactions by type,
// browsing and splitting, table lists, showing a stored registration, and
// OK's refusals in order.
#include "datasources/windows/dlgselectsource.h"
#include "datasources/windows/oledbsourceselection.h"
#include "datasources/models/selectsource.h"
#include "datasources/models/sourceselection.h"
#include "platform/commondialogs.h"
#include "windowstest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace {

using Model = pv::OLEDBSourceSelectionModel;

struct AnsweringFileDialog : pv::CommonDialogHost {
  std::vector<pv::FileDialogRequest> calls;
  std::optional<QString> answer;  // nothing: Cancel
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& r) override {
    calls.push_back(r);
    if (!answer) return std::nullopt;
    return pv::FileDialogResult{*answer, 1};
  }
};

int TypeIndex(int code) {
  const auto& types = Model::Types();
  for (size_t i = 0; i < types.size(); ++i) {
    if (types[i].code == code) return static_cast<int>(i);
  }
  return -1;
}

// enabled/locked of the file box, options (enabled, chosen), table list and
// query box (enabled, visible).
QString State(const Model& m) {
  auto f = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
  return QStringLiteral("file %1%2 table %3%4 query %5%6 list %7%8 box %9%10")
      .arg(f(m.fileEnabled), f(m.fileLocked), f(m.tableOption.enabled), f(m.tableOption.checked),
           f(m.queryOption.enabled), f(m.queryOption.checked), f(m.tableListEnabled), f(m.tableListVisible),
           f(m.queryEnabled), f(m.queryVisible));
}

class SelectionTest : public dswin::WindowsTest {
 protected:
  void SetUp() override {
    dswin::WindowsTest::SetUp();
    files.emplace(fileDialog);
    QDir().mkpath(Dir());
    for (const char* name : {"ditta.mdb", "foglio.xls", "clienti.dbf", "listino.db", "y.mdb", "rotto.mdb"}) {
      apptest::WriteAll(Path(QString::fromLatin1(name)), "x");
    }
    auto access = Source(Path(QStringLiteral("ditta.mdb")));
    access->tables[QStringLiteral("Clienti")] = dswin::Table({QStringLiteral("Nome")}, {{QStringLiteral("Anna")}});
    access->tables[QStringLiteral("Ordini")] = dswin::Table({QStringLiteral("Numero")});
    auto excel = Source(Path(QStringLiteral("foglio.xls")));
    excel->tables[QStringLiteral("Foglio1$")] = dswin::Table({QStringLiteral("A")});
    auto folder = Source(Dir());
    folder->tables[QStringLiteral("clienti")] = dswin::Table({QStringLiteral("NOME")}, {{QStringLiteral("Anna")}});
  }
  // The folder of the users' files; the open dialog takes files that exist.
  QString Dir() const { return Home(QStringLiteral("dati")); }
  QString Path(const QString& name) const { return Dir() + QLatin1Char('/') + name; }
  void TearDown() override {
    files.reset();
    dswin::WindowsTest::TearDown();
  }
  AnsweringFileDialog fileDialog;
  std::optional<pv::ScopedHost<pv::CommonDialogHost>> files;
};

TEST_F(SelectionTest, TypesListedWithTheirCodesAndStartOnAccess) {
  std::vector<int> codes;
  for (const auto& t : Model::Types()) codes.push_back(t.code);
  EXPECT_EQ(codes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12}));
  Model m(Factory());
  EXPECT_EQ(m.typeIndex, 0);
  EXPECT_EQ(m.GetDataBaseType(), 0);
  EXPECT_EQ(State(m), QStringLiteral("file 11 table 00 query 01 list 00 box 01"));
  EXPECT_EQ(m.GetRecordsetType(), 1);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SelectionTest, EachTypeReactsToItsChoiceAndBrowse) {
  struct Case {
    int code;
    QString chosen;       // what the open dialog answers
    QString filter;       // the filter it was shown with
    const char* state;    // after browsing
    QString file, query;  // file box and query box after browsing
    QStringList tables;
  };
  const QString mdb = Path(QStringLiteral("ditta.mdb"));
  const QString xls = Path(QStringLiteral("foglio.xls"));
  const std::vector<Case> cases = {
      {0,
       mdb,
       QStringLiteral("Database Access (*.mdb)|*.mdb"),
       "file 11 table 10 query 11 list 10 box 11",
       mdb,
       {},
       {QStringLiteral("Clienti"), QStringLiteral("Ordini")}},
      {1,
       Path(QStringLiteral("clienti.dbf")),
       QStringLiteral("dBase III (*.dbf)|*.dbf"),
       "file 11 table 00 query 11 list 00 box 11",
       Dir(),
       QStringLiteral("clienti"),
       {}},
      {3,
       Path(QStringLiteral("clienti.dbf")),
       QStringLiteral("dBase 5.0 (*.dbf)|*.dbf"),
       "file 11 table 00 query 11 list 00 box 11",
       Dir(),
       QStringLiteral("clienti"),
       {}},
      {5,
       Path(QStringLiteral("listino.db")),
       QStringLiteral("Paradox 4.0 (*.dbf)|*.db"),
       "file 11 table 00 query 11 list 00 box 11",
       Dir(),
       QStringLiteral("listino"),
       {}},
      {10,
       xls,
       QStringLiteral("Excel 97 (*.xls)|*.xls"),
       "file 11 table 10 query 11 list 10 box 11",
       xls,
       {},
       {QStringLiteral("Foglio1$")}},
      {12,
       Path(QStringLiteral("y.mdb")),
       QStringLiteral("Origine ODBC|*.mdb"),
       "file 10 table 00 query 11 list 00 box 11",
       Path(QStringLiteral("y.mdb")),
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Model m(Factory());
    m.SelectType(TypeIndex(c.code));
    EXPECT_EQ(m.GetDataBaseType(), c.code);
    fileDialog.calls.clear();
    fileDialog.answer = c.chosen;
    m.Browse();
    ASSERT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_EQ(fileDialog.calls[0].filters, pv::FileDialogFilters(c.filter));
    EXPECT_EQ(fileDialog.calls[0].kind, pv::FileKind::DataFiles);
    EXPECT_EQ(State(m), QString::fromLatin1(c.state));
    EXPECT_EQ(m.fileText, c.file);
    EXPECT_EQ(m.queryText, c.query);
    EXPECT_EQ(m.tables, c.tables);
    EXPECT_EQ(m.GetRecordsetType(), 1);
    EXPECT_EQ(m.GetRecordset(), c.query);
  }
  EXPECT_TRUE(boxes.empty());

  // Choosing the table option shows the list (rebuilt, nothing selected).
  Model m(Factory());
  fileDialog.answer = mdb;
  m.Browse();
  m.ChooseOption(0);
  EXPECT_EQ(State(m), QStringLiteral("file 11 table 11 query 10 list 11 box 10"));
  EXPECT_EQ(m.GetRecordset(), QString());
  m.tableIndex = 1;
  EXPECT_EQ(m.GetRecordset(), QStringLiteral("Ordini"));
  EXPECT_EQ(m.GetRecordsetType(), 0);
  // A new type clears the choice.
  m.SelectType(TypeIndex(1));
  EXPECT_EQ(m.fileText, QString());
  EXPECT_EQ(State(m), QStringLiteral("file 11 table 00 query 01 list 00 box 01"));
}

TEST_F(SelectionTest, ACancelledBrowseKeepsWhatTheDialogHeld) {
  Model m(Factory());
  fileDialog.answer = std::nullopt;
  m.Browse();
  EXPECT_EQ(m.fileText, QString());
  // An empty file box cannot list tables.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(Shown(31016, pv::MsgIcon::Information), 1);

  boxes.clear();
  fileDialog.answer = Path(QStringLiteral("ditta.mdb"));
  m.Browse();
  m.SelectType(0);  // the file box is emptied
  fileDialog.answer = std::nullopt;
  m.Browse();
  EXPECT_EQ(m.fileText, Path(QStringLiteral("ditta.mdb")));
  EXPECT_EQ(m.tables.size(), 2);

  // A file that does not open lists nothing and says so.
  boxes.clear();
  fileDialog.answer = Path(QStringLiteral("rotto.mdb"));
  m.Browse();
  EXPECT_TRUE(m.tables.isEmpty());
  EXPECT_EQ(Shown(31016, pv::MsgIcon::Information), 1);
}

TEST_F(SelectionTest, SetValueShowsAStoredRegistration) {
  struct Case {
    const char* what;
    int format;
    QString database, recordset;
    int recordsetType;
    int expectType;
    QString expectRecordset;
    bool tableChosen;
  };
  const QString mdb = Path(QStringLiteral("ditta.mdb"));
  const std::vector<Case> cases = {
      {"a table", 0, mdb, QStringLiteral("Ordini"), 0, 0, QStringLiteral("Ordini"), true},
      {"a table in another case is a query", 0, mdb, QStringLiteral("ordini"), 0, 1, QStringLiteral("ordini"), false},
      {"a query", 0, mdb, QStringLiteral("SELECT * FROM Clienti"), 1, 1, QStringLiteral("SELECT * FROM Clienti"),
       false},
      {"a table gone from the file", 0, mdb, QStringLiteral("Fatture"), 0, 1, QStringLiteral("Fatture"), false},
      {"a dBASE table", 1, Dir(), QStringLiteral("clienti"), 1, 1, QStringLiteral("clienti"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Model m(Factory());
    m.usePassword = true;
    m.user = QStringLiteral("io");
    m.SetValue(c.database, c.format, c.recordset, c.recordsetType);
    EXPECT_EQ(m.GetDataBaseType(), c.format);
    EXPECT_EQ(m.GetDataBase(), c.database);
    EXPECT_EQ(m.GetRecordsetType(), c.expectType);
    EXPECT_EQ(m.GetRecordset(), c.expectRecordset);
    EXPECT_EQ(m.tableOption.checked, c.tableChosen);
    EXPECT_TRUE(m.queryOption.enabled);
    // User and password are not part of a stored registration's view.
    EXPECT_TRUE(m.usePassword);
    EXPECT_EQ(m.user, QStringLiteral("io"));
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SelectionTest, TheControlShowsItsModel) {
  Model m(Factory());
  pv::OLEDBSourceSelection control(m);
  EXPECT_EQ(control.TypeList()->count(), 11);
  EXPECT_EQ(control.TypeList()->itemData(10).toInt(), 12);
  EXPECT_TRUE(control.FileBox()->isReadOnly());
  EXPECT_EQ(control.PasswordBox()->echoMode(), QLineEdit::Password);
  emit control.TypeList()->activated(10);  // ODBC
  EXPECT_FALSE(control.FileBox()->isReadOnly());
  EXPECT_TRUE(control.QueryBox()->isEnabled());
  control.FileBox()->setText(QStringLiteral("Anagrafe"));
  emit control.FileBox()->textEdited(QStringLiteral("Anagrafe"));
  EXPECT_EQ(m.GetConnectionString(), QStringLiteral("DSN=Anagrafe"));
  fileDialog.answer = Path(QStringLiteral("ditta.mdb"));
  emit control.TypeList()->activated(0);
  control.BrowseButton()->click();
  control.TableOption()->click();
  EXPECT_TRUE(control.TableList()->isVisibleTo(&control));
  EXPECT_FALSE(control.QueryBox()->isVisibleTo(&control));
  EXPECT_EQ(control.TableList()->count(), 2);
}

class RegistrationDialogTest : public SelectionTest {
 protected:
  // The dialog as Edit shows the registration of ditta.mdb's Clienti table.
  void ShowAccessTable(pv::dlgSelectSourceModel& d) {
    d.sLabel = QStringLiteral("Ditta");
    d.sDatabase = Path(QStringLiteral("ditta.mdb"));
    d.iDataBaseType = 0;
    d.sRecordset = QStringLiteral("Clienti");
    d.iRecordsetType = 0;
    d.SetValue();
  }
};

TEST_F(RegistrationDialogTest, OkRefusesInOrderWithoutAnIcon) {
  pv::dlgSelectSourceModel d(Factory());
  pv::OLEDBSourceSelectionModel& s = d.Selection();
  // 1. no name
  EXPECT_FALSE(d.Ok());
  // 2. a name, no file
  d.nameText = QStringLiteral("Ditta");
  EXPECT_FALSE(d.Ok());
  // 3. a file that does not open
  s.fileText = Path(QStringLiteral("manca.mdb"));
  EXPECT_FALSE(d.Ok());
  // 4. an Access file with an empty query
  s.fileText = Path(QStringLiteral("ditta.mdb"));
  EXPECT_FALSE(d.Ok());
  // 4. a table that is not there
  s.queryText = QStringLiteral("Fatture");
  EXPECT_FALSE(d.Ok());
  std::vector<QString> texts;
  for (const auto& b : boxes) {
    texts.push_back(b.text);
    EXPECT_EQ(b.icon, pv::MsgIcon::None);
  }
  EXPECT_EQ(texts, (std::vector<QString>{pv::LoadResString(31020), pv::LoadResString(31019), pv::LoadResString(31017),
                                         pv::LoadResString(31018), pv::LoadResString(31018)}));
  // Accepted.
  s.queryText = QStringLiteral("SELECT Nome FROM Clienti");
  boxes.clear();
  ASSERT_TRUE(d.Ok());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(d.sLabel, QStringLiteral("Ditta"));
  EXPECT_EQ(d.sDatabase, Path(QStringLiteral("ditta.mdb")));
  EXPECT_EQ(d.sConn, pv::BuildConnectionString(0, Path(QStringLiteral("ditta.mdb")), false, {}, {}));
  EXPECT_EQ(d.sRecordset, QStringLiteral("SELECT Nome FROM Clienti"));
  EXPECT_EQ(d.iRecordsetType, 1);
  EXPECT_EQ(d.iDataBaseType, 0);
}

TEST_F(RegistrationDialogTest, OdbcSkipsTheTableTestByTheTypeAtOk) {
  Source(QStringLiteral("Anagrafe"))->tables[QStringLiteral("t")] = dswin::Table({QStringLiteral("A")});
  // Edited: stored as an Access table, changed to ODBC with no query.
  pv::dlgSelectSourceModel d(Factory());
  ShowAccessTable(d);
  EXPECT_EQ(d.nameText, QStringLiteral("Ditta"));
  EXPECT_EQ(d.Selection().GetRecordset(), QStringLiteral("Clienti"));
  d.Selection().SelectType(TypeIndex(12));
  d.Selection().fileText = QStringLiteral("Anagrafe");
  ASSERT_TRUE(d.Ok());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(d.sConn, QStringLiteral("DSN=Anagrafe"));
  EXPECT_EQ(d.sRecordset, QString());
  EXPECT_EQ(d.iDataBaseType, 12);
  // An ODBC name that does not connect.
  d.Selection().fileText = QStringLiteral("Manca");
  EXPECT_FALSE(d.Ok());
  EXPECT_EQ(Shown(31017, pv::MsgIcon::None), 1);
}

// A read the user cancels while OK proves the source refuses OK without a
// message: the dialog stays as it was for the user to try again.
TEST_F(RegistrationDialogTest, ACancelledReadAtOkRefusesWithoutAMessage) {
  pv::dlgSelectSourceModel d(Factory());
  ShowAccessTable(d);
  sources[Path(QStringLiteral("ditta.mdb"))]->readsFailWith = pv::DbErrCancelled;
  EXPECT_FALSE(d.Ok());
  EXPECT_TRUE(boxes.empty());
  sources[Path(QStringLiteral("ditta.mdb"))]->readsFailWith = 0;
  EXPECT_TRUE(d.Ok());
}

TEST_F(RegistrationDialogTest, CancelAndTheCloseBoxClearTheLabel) {
  for (bool closeBox : {false, true}) {
    pv::dlgSelectSource dialog(nullptr, Factory());
    dialog.Text1()->setText(QStringLiteral("Ditta"));
    dialog.done(QDialog::Accepted);  // no file: refused, stays open
    EXPECT_EQ(dialog.Model().sLabel, QStringLiteral("Ditta"));
    dialog.show();
    if (closeBox) {
      dialog.close();
    } else {
      dialog.reject();
    }
    EXPECT_EQ(dialog.Model().sLabel, QString());
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST_F(RegistrationDialogTest, UserAndPasswordFollowTheTick) {
  pv::dlgSelectSource dialog(nullptr, Factory());
  pv::OLEDBSourceSelection* c = dialog.OLEDBSourceSelection1();
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  auto boxes = [c] { return std::make_pair(c->UserBox()->isEnabled(), c->PasswordBox()->isEnabled()); };
  EXPECT_EQ(boxes(), std::make_pair(false, false));
  c->PasswordCheck()->click();
  EXPECT_EQ(boxes(), std::make_pair(true, true));
  QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), c->UserBox());
  QTest::keyClicks(c->UserBox(), QStringLiteral("io"));
  EXPECT_EQ(dialog.Model().Selection().user, QStringLiteral("io"));
  c->PasswordCheck()->click();
  EXPECT_EQ(boxes(), std::make_pair(false, false));
  EXPECT_FALSE(dialog.Model().Selection().usePassword);

  // A model that uses a password shows the boxes open.
  dialog.Model().Selection().usePassword = true;
  c->Sync();
  EXPECT_EQ(boxes(), std::make_pair(true, true));
}

// Each caption of the dialog has its own key, and the key reaches its box.
TEST_F(RegistrationDialogTest, EveryCaptionHasAKeyOfItsOwn) {
  pv::dlgSelectSource dialog(nullptr, Factory());
  dialog.Model().Selection().usePassword = true;
  dialog.OLEDBSourceSelection1()->Sync();
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  auto keyOf = [](const QString& caption) {
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    return at < 0 || at + 1 >= caption.size() ? QChar() : caption.at(at + 1).toUpper();
  };
  std::set<QChar> keys;
  std::vector<std::pair<QChar, QWidget*>> buddies;  // the key and the box it focuses
  for (QLabel* l : dialog.findChildren<QLabel*>()) {
    if (l->buddy() == nullptr) continue;
    const QChar key = keyOf(l->text());
    EXPECT_FALSE(key.isNull()) << l->text().toStdString();
    EXPECT_TRUE(keys.insert(key).second) << l->text().toStdString();
    buddies.emplace_back(key, l->buddy());
  }
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
    if (qobject_cast<QPushButton*>(b) != nullptr || b->text() == QStringLiteral("...")) continue;
    const QChar key = keyOf(b->text());
    EXPECT_FALSE(key.isNull()) << b->text().toStdString();
    EXPECT_TRUE(keys.insert(key).second) << b->text().toStdString();
  }
  EXPECT_EQ(keys.size(), 8u);
  EXPECT_EQ(buddies.size(), 5u);
  for (const auto& [key, box] : buddies) {
    SCOPED_TRACE(QString(key).toStdString());
    QTest::keyClick(&dialog, static_cast<Qt::Key>(key.unicode()), Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), box);
  }
}

}  // namespace
