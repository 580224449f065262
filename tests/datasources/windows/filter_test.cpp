// The filter dialog: insertion into the expression, the stored expressions,
// the syntax check on the caller's recordset, and Cancel putting its filter
// back.
#include "datasources/sourcerecordset.h"
#include "datasources/windows/dlgfilter.h"
#include "datasources/windows/dlgsort.h"
#include "datasources/models/filtermodel.h"
#include "datasources/windows/sourcedialogwindows.h"
#include "windowstest.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <map>
#include <ostream>

#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}
QT_END_NAMESPACE

namespace {

class FilterTest : public dswin::WindowsTest {
 protected:
  void SetUp() override {
    dswin::WindowsTest::SetUp();
    auto s = Source(QStringLiteral("/dati"));
    s->tables[QStringLiteral("clienti")] = dswin::Table({QStringLiteral("Nome"), QStringLiteral("Citta")},
                                                        {{QStringLiteral("Anna"), QStringLiteral("Roma")},
                                                         {QStringLiteral("Bruno"), QStringLiteral("Milano")},
                                                         {QStringLiteral("Carla"), QStringLiteral("Roma")}});
    records = std::make_unique<pv::SourceRecordset>(Factory());
    records->Open(pv::BuildConnectionString(pv::kSourceDBaseIII, QStringLiteral("/dati"), false, {}, {}),
                  QStringLiteral("clienti"));
  }
  std::vector<QString> StoredTexts(const pv::dlgFilterModel& m) {
    std::vector<QString> out;
    for (const auto& s : m.Stored()) out.push_back(s.text);
    return out;
  }
  std::unique_ptr<pv::SourceRecordset> records;
};

TEST_F(FilterTest, EntriesGoInAtTheCaretOrOverTheSelection) {
  pv::dlgFilterModel m;
  m.AddField(QStringLiteral("Nome"));
  EXPECT_EQ(m.Fields(), QStringList{QStringLiteral("[NOME]")});
  EXPECT_EQ(pv::dlgFilterModel::Operators().size(), 13);

  m.InsertEntry(m.Fields()[0]);
  m.InsertEntry(QStringLiteral(">"));
  EXPECT_EQ(m.text, QStringLiteral("[NOME] > "));
  EXPECT_EQ(m.selStart, 9);

  m.SetText(QStringLiteral("[A] = 1"));
  m.selStart = 4;
  m.selLength = 1;  // the "="
  m.InsertEntry(QStringLiteral("<>"));
  EXPECT_EQ(m.text, QStringLiteral("[A] <>  1"));
  EXPECT_EQ(m.selStart, 7);

  m.SetText(QStringLiteral("x"));
  m.selStart = 0;
  m.InsertEntry(QStringLiteral("()"));
  EXPECT_EQ(m.text, QStringLiteral("() x"));
  EXPECT_EQ(m.selStart, 3);

  m.ClickOperator(6);
  EXPECT_EQ(m.help, pv::LoadResString(13619));
  EXPECT_EQ(m.help, QStringLiteral("Che contiene - Es.: [NOMECAMPO] LIKE 'etto'"));
  m.ClickOperator(12);
  EXPECT_EQ(m.help, pv::LoadResString(13625));
}

TEST_F(FilterTest, TheDialogInsertsDoubleClickedEntriesOverItsSelection) {
  pv::dlgFilter dialog;
  dialog.AddField(QStringLiteral("Citta"));
  dialog.SetExpression(QStringLiteral("[X] = 'Roma'"));
  dialog.Text1()->setSelection(0, 3);
  emit dialog.FieldList()->itemDoubleClicked(dialog.FieldList()->item(0));
  EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("[CITTA]  = 'Roma'"));
  emit dialog.OperatorList()->itemDoubleClicked(dialog.OperatorList()->item(7));
  EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("[CITTA] AND  = 'Roma'"));
}

// Where every widget of the dialog lies, in the dialog's coordinates.
std::map<QString, QRect> Geometries(QDialog& dialog) {
  std::map<QString, QRect> out;
  int n = 0;
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    const QString name = w->objectName().isEmpty()
                             ? QString::fromLatin1(w->metaObject()->className()) + QString::number(n++)
                             : w->objectName();
    out[name] = QRect(w->mapTo(&dialog, QPoint(0, 0)), w->size());
  }
  return out;
}

TEST_F(FilterTest, ClickingAnOperatorMovesNothingAndItsHelpShowsWhole) {
  pv::dlgFilter dialog;
  dialog.AddField(QStringLiteral("Citta"));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QApplication::processEvents();
  const std::map<QString, QRect> before = Geometries(dialog);
  ASSERT_TRUE(before.count(QStringLiteral("Command1_0")));
  QListWidget* operators = dialog.OperatorList();
  for (int row = 0; row < operators->count(); ++row) {
    SCOPED_TRACE(row);
    QListWidgetItem* item = operators->item(row);
    operators->scrollToItem(item);
    QTest::mouseClick(operators->viewport(), Qt::LeftButton, {}, operators->visualItemRect(item).center());
    QApplication::processEvents();
    ASSERT_EQ(dialog.Help()->text(), pv::LoadResString(13613 + row));
    for (const auto& [name, rect] : Geometries(dialog)) {
      EXPECT_EQ(rect, before.at(name)) << name.toStdString();
    }
    // The help has the room its text needs.
    const QRect room = dialog.Help()->contentsRect();
    const QRect needed = dialog.Help()->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap,
                                                                   dialog.Help()->text());
    EXPECT_LE(needed.height(), room.height());
    EXPECT_LE(needed.width(), room.width());
  }
  // A double-click, whose first press changes the help, lands on the
  // operator under the pointer.
  QListWidgetItem* like = operators->item(6);
  operators->scrollToItem(like);
  const QPoint at = operators->visualItemRect(like).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                            QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(at), operators->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(operators->viewport(), &event);
    QApplication::processEvents();
  }
  EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("LIKE "));
}

TEST_F(FilterTest, EnterAndSpaceOnAListInsertItsEntry) {
  pv::dlgFilter dialog;
  dialog.AddField(QStringLiteral("Nome"));
  dialog.AddField(QStringLiteral("Citta"));
  bool accepted = false;
  QObject::connect(&dialog, &QDialog::accepted, [&] { accepted = true; });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  struct Step {
    QListWidget* list;
    int row;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* expression;
  };
  const Step steps[] = {
      {dialog.FieldList(), 1, Qt::Key_Return, Qt::NoModifier, "[CITTA] "},
      {dialog.OperatorList(), 4, Qt::Key_Space, Qt::NoModifier, "[CITTA] = "},
      {dialog.OperatorList(), 10, Qt::Key_Enter, Qt::KeypadModifier, "[CITTA] = '' "},
      {dialog.FieldList(), 0, Qt::Key_Space, Qt::NoModifier, "[CITTA] = '' [NOME] "},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.expression);
    s.list->setFocus(Qt::TabFocusReason);
    s.list->setCurrentRow(s.row);
    QTest::keyClick(s.list, s.key, s.modifiers);
    QApplication::processEvents();
    EXPECT_EQ(dialog.Text1()->text(), QString::fromLatin1(s.expression));
    EXPECT_EQ(QApplication::focusWidget(), dialog.Text1()) << "the caret goes back to the expression";
    EXPECT_FALSE(accepted) << "Enter on a list is not OK";
    EXPECT_TRUE(dialog.isVisible());
  }
  // Arrows still move along a list.
  dialog.OperatorList()->setFocus(Qt::TabFocusReason);
  dialog.OperatorList()->setCurrentRow(0);
  QTest::keyClick(dialog.OperatorList(), Qt::Key_Down);
  EXPECT_EQ(dialog.OperatorList()->currentRow(), 1);
  EXPECT_EQ(dialog.Help()->text(), pv::LoadResString(13614));
}

// The stored expressions answer the keyboard as the other two lists do:
// Enter or Space puts the current one in the box, and Enter never closes the
// dialog with whatever the box holds.
TEST_F(FilterTest, EnterAndSpaceOnAStoredExpressionUseItAndKeepTheDialogOpen) {
  {
    pv::dlgFilterModel store;
    for (const char* text : {"[CITTA] = 'Roma'", "[NOME] LIKE 'A*'"}) {
      store.SetText(QString::fromLatin1(text));
      store.Store();
    }
  }
  pv::dlgFilter dialog;
  dialog.AddField(QStringLiteral("Nome"));
  ASSERT_EQ(dialog.StoredList()->count(), 2);
  bool accepted = false;
  QObject::connect(&dialog, &QDialog::accepted, [&] { accepted = true; });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

  QListWidget* stored = dialog.StoredList();
  struct Step {
    int row;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* expression;
  };
  const Step steps[] = {
      {1, Qt::Key_Return, Qt::NoModifier, "[NOME] LIKE 'A*'"},
      {0, Qt::Key_Space, Qt::NoModifier, "[CITTA] = 'Roma'"},
      {1, Qt::Key_Enter, Qt::KeypadModifier, "[NOME] LIKE 'A*'"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.expression);
    dialog.findChild<QPushButton*>(QStringLiteral("Command1_1"))->click();  // Pulisci
    ASSERT_EQ(dialog.Text1()->text(), QString());
    stored->setFocus(Qt::TabFocusReason);
    stored->setCurrentRow(s.row);
    QTest::keyClick(stored, s.key, s.modifiers);
    QApplication::processEvents();
    EXPECT_EQ(dialog.Text1()->text(), QString::fromLatin1(s.expression));
    EXPECT_FALSE(accepted) << "Enter on the stored list is not OK";
    EXPECT_TRUE(dialog.isVisible());
  }
  EXPECT_EQ(stored->count(), 2) << "no stored expression went";
}

TEST_F(FilterTest, StoredExpressionsAreAddedTwiceAndDeletedById) {
  pv::dlgFilterModel m;
  EXPECT_TRUE(m.Stored().empty());
  m.SetText(QStringLiteral("[CITTA] = 'Roma'"));
  m.Store();
  m.Store();
  m.SetText(QString());
  m.Store();  // nothing to store
  ASSERT_EQ(StoredTexts(m),
            (std::vector<QString>{QStringLiteral("[CITTA] = 'Roma'"), QStringLiteral("[CITTA] = 'Roma'")}));
  m.SetText(QStringLiteral("[NOME] LIKE 'A*'"));
  m.Store();
  ASSERT_EQ(m.Stored().size(), 3u);
  EXPECT_EQ(m.storedSelection, -1);

  m.DeleteSelected();  // nothing selected
  EXPECT_EQ(m.Stored().size(), 3u);
  const qint64 second = m.Stored()[1].id;
  m.storedSelection = 0;
  m.DeleteSelected();
  ASSERT_EQ(m.Stored().size(), 2u);
  EXPECT_EQ(m.Stored()[0].id, second);
  m.UseStored(1);
  EXPECT_EQ(m.text, QStringLiteral("[NOME] LIKE 'A*'"));
  EXPECT_TRUE(boxes.empty());

  // The list as a new dialog reads it; the shared recordset sees the rows.
  pv::dlgFilterModel again;
  EXPECT_EQ(StoredTexts(again), StoredTexts(m));
  EXPECT_EQ(pv::rsSqlString.RecordCount(), 2);
}

TEST_F(FilterTest, StoreFailuresAreReported) {
  pv::dlgFilterModel m;
  Exec(QStringLiteral("DROP TABLE rst_sqlstring"));
  m.SetText(QStringLiteral("[A] = 1"));
  m.Store();
  ASSERT_EQ(boxes.size(), 2u);  // the store, then the list read again
  EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("DATA Access error : ")));
  boxes.clear();
  m.storedSelection = 0;
  m.DeleteSelected();  // nothing listed: nothing to delete
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FilterTest, TheCheckFiltersTheCallersRecordsAndSaysSo) {
  pv::dlgFilterModel m;
  m.SetRecordset(records.get());
  m.SetText(QStringLiteral("[Citta] = 'Roma'"));
  EXPECT_TRUE(m.CheckSintax(true));
  EXPECT_EQ(records->RecordCount(), 2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(13626));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);

  boxes.clear();
  m.SetText(QStringLiteral("[Citta] = 'Torino'"));  // matches nothing: accepted
  EXPECT_TRUE(m.CheckSintax(false));
  EXPECT_EQ(records->RecordCount(), 0);
  EXPECT_TRUE(boxes.empty());

  m.SetText(QStringLiteral("[Manca] = 'x' or"));
  EXPECT_FALSE(m.CheckSintax(true));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(13627) + QStringLiteral("[MANCA] = 'X' OR"));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Exclamation);
  EXPECT_FALSE(m.Ok());
  EXPECT_EQ(m.RetCode, 0);

  // A check whose read the user cancels is no syntax error.
  boxes.clear();
  sources[QStringLiteral("/dati")]->readsFailWith = pv::DbErrCancelled;
  m.SetText(QStringLiteral("[Citta] = 'Roma'"));
  EXPECT_FALSE(m.CheckSintax(true));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FilterTest, CancelAfterACheckPutsTheFilterBack) {
  records->SetFilter(QStringLiteral("[Nome] <> 'Bruno'"));
  for (bool viaDialog : {false, true}) {
    SCOPED_TRACE(viaDialog);
    if (!viaDialog) {
      pv::dlgFilterModel m;
      m.SetRecordset(records.get());
      m.SetText(QStringLiteral("[Citta] = 'Milano'"));
      ASSERT_TRUE(m.CheckSintax(false));
      EXPECT_EQ(records->RecordCount(), 1);
      m.Cancel();
      EXPECT_EQ(m.RetCode, 0);
      EXPECT_EQ(m.sFilter, QStringLiteral("[Citta] = 'Milano'"));
    } else {
      pv::dlgFilter dialog;
      dialog.SetExpression(QStringLiteral("[Citta] = 'Milano'"));
      dialog.SetRecordset(records.get());
      ASSERT_TRUE(dialog.CheckSintax(false));
      dialog.show();
      dialog.close();  // the close box
    }
    EXPECT_EQ(records->Filter(), QStringLiteral("[Nome] <> 'Bruno'"));
    EXPECT_EQ(records->RecordCount(), 2);
  }

  pv::dlgFilterModel ok;
  ok.SetRecordset(records.get());
  ok.SetText(QStringLiteral("[Citta] = 'Roma'"));
  ASSERT_TRUE(ok.Ok());
  EXPECT_EQ(ok.RetCode, -1);
  EXPECT_EQ(ok.sFilter, QStringLiteral("[Citta] = 'Roma'"));
  EXPECT_EQ(records->Filter(), QStringLiteral("[Citta] = 'Roma'"));
}

}  // namespace

namespace {

// The dialogs as the print panel reaches them.
TEST_F(FilterTest, TheSeamShowsTheRealDialogs) {
  pv::SourceDialogWindows seam;
  QStringList seen;
  dswin::WhenModalOpens([&](QDialog* d) {
    auto* sort = qobject_cast<pv::dlgSort*>(d);
    ASSERT_NE(sort, nullptr);
    seen = sort->OLEDBFilter1()->Model().Fields();
    EXPECT_EQ(sort->OLEDBFilter1()->GetSortString(), QStringLiteral("[Citta] DESC"));
    sort->accept();
  });
  EXPECT_EQ(seam.ShowSortDialog({QStringLiteral("Nome"), QStringLiteral("Citta")}, QStringLiteral("[Citta] DESC")),
            QStringLiteral("[Citta] DESC"));
  EXPECT_EQ(seen, (QStringList{pv::LoadResString(30104), QStringLiteral("Nome"), QStringLiteral("Citta")}));

  // A check, then the close box: the recordset as it was, a cancel answered.
  dswin::WhenModalOpens([&](QDialog* d) {
    auto* filter = qobject_cast<pv::dlgFilter*>(d);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->Text1()->text(), QStringLiteral("[Citta] = 'Roma'"));
    EXPECT_EQ(filter->FieldList()->count(), 2);
    filter->Text1()->setText(QStringLiteral("[Nome] = 'Anna'"));
    EXPECT_TRUE(filter->CheckSintax(false));
    EXPECT_EQ(records->RecordCount(), 1);
    filter->close();
  });
  const pv::FilterDialogAnswer a =
      seam.ShowFilterDialog(records->FieldNames(), QStringLiteral("[Citta] = 'Roma'"), records.get());
  EXPECT_EQ(a.RetCode, 0);
  EXPECT_EQ(records->Filter(), QString());
  EXPECT_EQ(records->RecordCount(), 3);
}

}  // namespace
