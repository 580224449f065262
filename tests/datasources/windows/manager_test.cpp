// The data-source manager: New, Edit, Delete and View on a program database
// of its own, the built-in sample, sort and filter through their dialogs,
// failures, and the print panel's reload after every command that did not
// fail.
#include "datasources/sourcedialogs.h"
#include "datasources/windows/databasedata.h"
#include "datasources/models/managermodel.h"
#include "datasources/models/recordtable.h"
#include "windowstest.h"

#include <QDateTime>
#include <QHeaderView>
#include <QHelpEvent>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using Model = pv::DataBaseDataModel;

// Sort and filter dialogs answering from scripts.
struct ScriptedDialogs : pv::SourceDialogs {
  QString sortAnswer;
  pv::FilterDialogAnswer filterAnswer;
  QStringList fieldsSeen;
  QString startSeen;
  int shown = 0;
  QString ShowSortDialog(const QStringList& fields, const QString& sort) override {
    ++shown;
    fieldsSeen = fields;
    startSeen = sort;
    return sortAnswer;
  }
  pv::FilterDialogAnswer ShowFilterDialog(const QStringList& fields, const QString& filter,
                                          pv::SourceRecordset* recordset) override {
    ++shown;
    fieldsSeen = fields;
    startSeen = filter;
    EXPECT_NE(recordset, nullptr);
    return filterAnswer;
  }
};

class ManagerTest : public dswin::WindowsTest {
 protected:
  void SetUp() override {
    dswin::WindowsTest::SetUp();
    dialogs.emplace(scripted);
    auto folder = Source(QStringLiteral("/dati"));
    folder->tables[QStringLiteral("clienti")] = dswin::Table({QStringLiteral("Nome"), QStringLiteral("Citta")},
                                                             {{QStringLiteral("Anna"), QStringLiteral("Roma")},
                                                              {QStringLiteral("Bruno"), QStringLiteral("Milano")},
                                                              {QStringLiteral("Carla"), QStringLiteral("Roma")}});
    folder->tables[QStringLiteral("vuota")] = dswin::Table({QStringLiteral("Nome")});
  }
  void TearDown() override {
    dialogs.reset();
    dswin::WindowsTest::TearDown();
  }
  static QStringList Labels(const Model& m) {
    QStringList out;
    for (const auto& e : m.Entries()) out << e.label;
    return out;
  }
  static int Row(const Model& m, const QString& label) {
    for (size_t i = 0; i < m.Entries().size(); ++i) {
      if (m.Entries()[i].label == label) return static_cast<int>(i);
    }
    return -1;
  }
  // Runs a command on the entry with that label (-1: none selected).
  bool Run(Model& m, int command, const QString& label = QString()) {
    m.selection = label.isNull() ? -1 : Row(m, label);
    return m.Command_Click(command);
  }
  static pv::Registration Values(const QString& label, const QString& table) {
    pv::Registration r;
    r.label = label;
    r.connectionString = pv::BuildConnectionString(pv::kSourceDBaseIII, QStringLiteral("/dati"), false, {}, {});
    r.recordSetName = table;
    r.sourceName = QStringLiteral("/dati");
    r.sourceType = 1;
    r.sourceFormat = pv::kSourceDBaseIII;
    return r;
  }

  ScriptedDialogs scripted;
  std::optional<pv::ScopedHost<pv::SourceDialogs>> dialogs;
};

const QString kSample = QStringLiteral("Indirizzi (esempio)");

TEST_F(ManagerTest, NewEditAndDeleteStoreAndRebuildTheList) {
  Model m(pv::rsRegistrations, Factory());
  m.Init();
  EXPECT_EQ(Labels(m), QStringList{kSample});

  std::vector<bool> editGiven;
  std::optional<pv::Registration> answer = Values(QStringLiteral("Clienti"), QStringLiteral("clienti"));
  m.SetRegistrationDialog([&](const pv::Registration* edit) {
    editGiven.push_back(edit != nullptr);
    if (edit != nullptr) {
      EXPECT_EQ(edit->label, QStringLiteral("Clienti"));
      EXPECT_EQ(edit->recordSetName, QStringLiteral("clienti"));
      EXPECT_EQ(edit->sourceFormat, pv::kSourceDBaseIII);
    }
    return answer;
  });
  EXPECT_TRUE(Run(m, Model::CmdNew));
  EXPECT_EQ(Labels(m), (QStringList{QStringLiteral("Clienti"), kSample}));
  answer = Values(QStringLiteral("Archivio"), QStringLiteral("vuota"));
  EXPECT_TRUE(Run(m, Model::CmdNew));
  EXPECT_EQ(Labels(m), (QStringList{QStringLiteral("Archivio"), QStringLiteral("Clienti"), kSample}));
  answer = std::nullopt;  // cancelled
  EXPECT_TRUE(Run(m, Model::CmdNew));
  EXPECT_EQ(m.Entries().size(), 3u);
  EXPECT_EQ(views.printPanelInits, 3);

  answer = Values(QStringLiteral("Zeta clienti"), QStringLiteral("clienti"));
  EXPECT_TRUE(Run(m, Model::CmdEdit, QStringLiteral("Clienti")));
  EXPECT_EQ(Labels(m), (QStringList{QStringLiteral("Archivio"), kSample, QStringLiteral("Zeta clienti")}));
  EXPECT_EQ(editGiven, (std::vector<bool>{false, false, false, true}));
  EXPECT_TRUE(Run(m, Model::CmdEdit));  // nothing selected: nothing to do
  EXPECT_EQ(editGiven.size(), 4u);

  // Delete asks first; only Yes deletes; the entry goes, the list is not rebuilt.
  answer = {};
  for (pv::MsgAnswer a : {pv::MsgAnswer::No, pv::MsgAnswer::Cancel}) {
    this->answer = a;
    EXPECT_TRUE(Run(m, Model::CmdDelete, QStringLiteral("Archivio")));
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(31013) + QStringLiteral("Archivio"));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Question);
  EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::YesNoCancel);
  this->answer = pv::MsgAnswer::Yes;
  EXPECT_TRUE(Run(m, Model::CmdDelete, QStringLiteral("Archivio")));
  EXPECT_EQ(Labels(m), (QStringList{kSample, QStringLiteral("Zeta clienti")}));
  EXPECT_EQ(pv::RegistrationStore(pv::rsRegistrations).All().size(), 2u);
  EXPECT_FALSE(Run(m, Model::CmdDelete));  // nothing selected ends silently
  EXPECT_EQ(views.printPanelInits, 8);
}

TEST_F(ManagerTest, TheSampleIsViewedButNeitherEditedNorDeleted) {
  Model m(pv::rsRegistrations);  // the real readers: the sample in the program folder
  m.Init();
  bool dialogShown = false;
  m.SetRegistrationDialog([&](const pv::Registration*) {
    dialogShown = true;
    return std::nullopt;
  });
  answer = pv::MsgAnswer::Yes;
  EXPECT_TRUE(Run(m, Model::CmdEdit, kSample));
  EXPECT_TRUE(Run(m, Model::CmdDelete, kSample));
  EXPECT_FALSE(dialogShown);
  EXPECT_EQ(Shown(31023, pv::MsgIcon::Information), 1);
  EXPECT_EQ(Shown(31024, pv::MsgIcon::Information), 1);
  EXPECT_EQ(Labels(m), QStringList{kSample});

  boxes.clear();
  ASSERT_TRUE(Run(m, Model::CmdView, kSample));
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(m.OnView());
  EXPECT_EQ(m.Records().RecordCount(), 200);
  EXPECT_TRUE(m.m_ConnectionString.contains(Home(QStringLiteral("database/"))));
  EXPECT_FALSE(m.m_ConnectionString.contains(QStringLiteral("%PATH%")));
  EXPECT_EQ(views.printPanelInits, 3);
}

TEST_F(ManagerTest, SortAndFilterActOnTheRecordsOnView) {
  const qint64 id = Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Register(QStringLiteral("Vuota"), QStringLiteral("/dati"), QStringLiteral("vuota"));
  (void)id;
  Model m(pv::rsRegistrations, Factory());
  m.Init();
  // Nothing on view yet.
  EXPECT_TRUE(Run(m, Model::CmdSort));
  EXPECT_TRUE(Run(m, Model::CmdFilter));
  EXPECT_EQ(Shown(14014, pv::MsgIcon::Information), 2);
  EXPECT_EQ(scripted.shown, 0);

  boxes.clear();
  ASSERT_TRUE(Run(m, Model::CmdView, QStringLiteral("Clienti")));
  scripted.sortAnswer = QStringLiteral("[Nome] DESC");
  EXPECT_TRUE(Run(m, Model::CmdSort));
  EXPECT_EQ(scripted.fieldsSeen, (QStringList{QStringLiteral("Nome"), QStringLiteral("Citta")}));
  EXPECT_EQ(scripted.startSeen, QString());
  EXPECT_EQ(m.m_SortString, QStringLiteral("[Nome] DESC"));
  EXPECT_EQ(m.Records().ValueAt(0, 0).toString(), QStringLiteral("Carla"));
  // Cancelled: the sort stays.
  scripted.sortAnswer.clear();
  EXPECT_TRUE(Run(m, Model::CmdSort));
  EXPECT_EQ(scripted.startSeen, QStringLiteral("[Nome] DESC"));
  EXPECT_EQ(m.m_SortString, QStringLiteral("[Nome] DESC"));
  EXPECT_EQ(m.Records().Sort(), QStringLiteral("[Nome] DESC"));
  // A sort that fails.
  scripted.sortAnswer = QStringLiteral("[Manca] ASC");
  EXPECT_TRUE(Run(m, Model::CmdSort));
  EXPECT_EQ(Shown(31022, pv::MsgIcon::Information), 1);
  EXPECT_EQ(m.m_SortString, QStringLiteral("[Nome] DESC"));

  scripted.filterAnswer = {-1, QStringLiteral("[Citta] = 'Roma'")};
  EXPECT_TRUE(Run(m, Model::CmdFilter));
  EXPECT_EQ(m.m_FilterString, QStringLiteral("[Citta] = 'Roma'"));
  EXPECT_EQ(m.Records().RecordCount(), 2);
  scripted.filterAnswer = {0, QStringLiteral("[Citta] = 'Milano'")};
  EXPECT_TRUE(Run(m, Model::CmdFilter));
  EXPECT_EQ(scripted.startSeen, QStringLiteral("[Citta] = 'Roma'"));
  EXPECT_EQ(m.Records().RecordCount(), 2);

  // A new View forgets sort and filter.
  ASSERT_TRUE(Run(m, Model::CmdView, QStringLiteral("Clienti")));
  EXPECT_EQ(m.m_SortString, QString());
  EXPECT_EQ(m.m_FilterString, QString());
  EXPECT_EQ(m.Records().RecordCount(), 3);

  // An empty table cannot be sorted; the dialog does not open.
  ASSERT_TRUE(Run(m, Model::CmdView, QStringLiteral("Vuota")));
  const int before = scripted.shown;
  boxes.clear();
  EXPECT_TRUE(Run(m, Model::CmdSort));
  EXPECT_EQ(Shown(31021, pv::MsgIcon::Information), 1);
  EXPECT_EQ(scripted.shown, before);
}

TEST_F(ManagerTest, AFailedViewShowsNothingAndKeepsNoConnection) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Register(QStringLiteral("Rotta"), QStringLiteral("/manca"), QStringLiteral("clienti"));
  Model m(pv::rsRegistrations, Factory());
  m.Init();
  ASSERT_TRUE(Run(m, Model::CmdView, QStringLiteral("Clienti")));
  const int inits = views.printPanelInits;
  EXPECT_FALSE(Run(m, Model::CmdView, QStringLiteral("Rotta")));
  EXPECT_EQ(Shown(31017, pv::MsgIcon::Information), 1);
  EXPECT_FALSE(m.OnView());
  EXPECT_FALSE(m.Records().IsOpen());
  EXPECT_EQ(m.m_ConnectionString, QString());
  EXPECT_EQ(views.printPanelInits, inits);
  EXPECT_TRUE(Run(m, Model::CmdSort));
  EXPECT_EQ(Shown(14014, pv::MsgIcon::Information), 1);
}

// The rows on view always belong to the selected entry: a rebuilt list
// selects it again, and what takes its rows away (a read that fails or is
// cancelled, an edit of where they come from, a delete) leaves no entry
// selected.
TEST_F(ManagerTest, TheRecordsOnViewAreAlwaysThoseOfTheSelectedEntry) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Register(QStringLiteral("Vuota"), QStringLiteral("/dati"), QStringLiteral("vuota"));
  Register(QStringLiteral("Rotta"), QStringLiteral("/manca"), QStringLiteral("clienti"));
  Model m(pv::rsRegistrations, Factory());
  m.Init();
  std::optional<pv::Registration> answer;
  m.SetRegistrationDialog([&](const pv::Registration*) { return answer; });
  this->answer = pv::MsgAnswer::Yes;
  struct Step {
    int command;
    const char* on;     // the entry selected for the command; nullptr for none
    const char* label;  // the registration dialog's answer
    const char* table;
    const char* selected;  // afterwards; "" for none
    int rows;              // on view afterwards; -1 for nothing
  };
  const Step steps[] = {
      {Model::CmdView, "Clienti", nullptr, nullptr, "Clienti", 3},
      {Model::CmdNew, nullptr, "Altro", "vuota", "Clienti", 3},
      {-1, nullptr, nullptr, nullptr, "Clienti", 3},  // the list read again
      {Model::CmdEdit, "Altro", "Altro bis", "vuota", "Clienti", 3},
      {Model::CmdEdit, "Clienti", "Clienti A", "clienti", "Clienti A", 3},  // a new name only
      {Model::CmdEdit, "Clienti A", "Clienti A", "vuota", "", -1},
      {Model::CmdView, "Clienti A", nullptr, nullptr, "Clienti A", 0},
      {Model::CmdDelete, "Altro bis", nullptr, nullptr, "Clienti A", 0},
      {Model::CmdView, "Rotta", nullptr, nullptr, "", -1},  // the read fails
      {Model::CmdView, "Vuota", nullptr, nullptr, "Vuota", 0},
      {Model::CmdDelete, "Vuota", nullptr, nullptr, "", -1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "command " << s.command << " on " << (s.on ? s.on : "nothing"));
    if (s.label != nullptr) answer = Values(QString::fromLatin1(s.label), QString::fromLatin1(s.table));
    if (s.command < 0) {
      m.Init();
    } else {
      Run(m, s.command, s.on ? QString::fromLatin1(s.on) : QString());
    }
    const QString selected = m.selection >= 0 ? m.Entries()[static_cast<size_t>(m.selection)].label : QString();
    EXPECT_EQ(selected, QString::fromLatin1(s.selected));
    EXPECT_EQ(m.OnView(), s.rows >= 0);
    EXPECT_EQ(m.Records().IsOpen(), s.rows >= 0);
    if (s.rows >= 0) {
      EXPECT_EQ(m.Records().RecordCount(), s.rows);
    }
    EXPECT_EQ(m.m_ConnectionString.isEmpty(), s.rows < 0);
  }
}

// The window follows: after a read that failed, neither the entry nor the
// rows of the table before it stay on show.
TEST_F(ManagerTest, AFailedReadLeavesNoEntrySelectedAndNoRowsShown) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Register(QStringLiteral("Rotta"), QStringLiteral("/manca"), QStringLiteral("clienti"));
  pv::DataBaseData view(nullptr, Factory());
  view.resize(900, 500);
  view.Init();
  view.show();
  QListWidget* list = view.lstRegistrations();
  QListWidgetItem* broken = list->findItems(QStringLiteral("Rotta"), Qt::MatchExactly).value(0);
  ASSERT_NE(broken, nullptr);
  ASSERT_EQ(list->item(0)->text(), QStringLiteral("Clienti"));
  emit list->itemClicked(list->item(0));
  ASSERT_TRUE(view.DataView()->isVisible());
  ASSERT_EQ(list->currentRow(), 0);
  emit list->itemClicked(broken);
  EXPECT_EQ(list->currentRow(), -1);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_TRUE(view.NullView()->isVisible());
  EXPECT_EQ(view.DataView()->model()->rowCount(), 0);
  // A new list after a good read selects its entry again.
  emit list->itemClicked(list->item(0));
  view.Init();
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_TRUE(view.DataView()->isVisible());
}

// "Annulla" on the wait notice is the user's choice, not a source that
// failed: a cancelled View or sort shows no message.
TEST_F(ManagerTest, ACancelledReadIsReportedToNoOne) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Model m(pv::rsRegistrations, Factory());
  m.Init();
  ASSERT_TRUE(Run(m, Model::CmdView, QStringLiteral("Clienti")));
  scripted.sortAnswer = QStringLiteral("[Nome] DESC");
  ASSERT_TRUE(Run(m, Model::CmdSort));
  boxes.clear();

  // The sort reads the source again: cancelled, the sort in force stays.
  sources[QStringLiteral("/dati")]->readsFailWith = pv::DbErrCancelled;
  scripted.sortAnswer = QStringLiteral("[Citta] ASC");
  Run(m, Model::CmdSort);
  EXPECT_EQ(m.m_SortString, QStringLiteral("[Nome] DESC"));
  EXPECT_FALSE(Run(m, Model::CmdView, QStringLiteral("Clienti")));
  EXPECT_FALSE(m.OnView());
  EXPECT_TRUE(boxes.empty());

  // Any other failure of the same reads is still reported.
  sources[QStringLiteral("/dati")]->readsFailWith = pv::DbErrProvider;
  EXPECT_FALSE(Run(m, Model::CmdView, QStringLiteral("Clienti")));
  EXPECT_EQ(Shown(31017, pv::MsgIcon::Information), 1);
}

TEST_F(ManagerTest, StoreFailuresAreReportedAndKeepTheList) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Model m(pv::rsRegistrations, Factory());
  m.Init();
  Exec(QStringLiteral(
      "CREATE TRIGGER keep BEFORE DELETE ON rst_registrations BEGIN SELECT RAISE(ABORT, 'bloccata'); END"));
  Exec(QStringLiteral(
      "CREATE TRIGGER fixed BEFORE UPDATE ON rst_registrations BEGIN SELECT RAISE(ABORT, 'bloccata'); END"));
  answer = pv::MsgAnswer::Yes;
  const int inits = views.printPanelInits;
  EXPECT_FALSE(Run(m, Model::CmdDelete, QStringLiteral("Clienti")));
  ASSERT_EQ(boxes.size(), 2u);  // the question, then the failure
  EXPECT_TRUE(boxes[1].text.startsWith(QStringLiteral("DATA Access error : ")));
  EXPECT_EQ(Labels(m), (QStringList{QStringLiteral("Clienti"), kSample}));

  m.SetRegistrationDialog(
      [](const pv::Registration*) { return Values(QStringLiteral("Nuovo"), QStringLiteral("clienti")); });
  boxes.clear();
  EXPECT_FALSE(Run(m, Model::CmdEdit, QStringLiteral("Clienti")));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(Labels(m), (QStringList{QStringLiteral("Clienti"), kSample}));
  EXPECT_EQ(views.printPanelInits, inits);
}

TEST_F(ManagerTest, TheViewShowsEveryRecordReadOnly) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  pv::DataBaseData view(nullptr, Factory());
  view.resize(900, 500);
  view.Init();
  ASSERT_EQ(view.lstRegistrations()->count(), 2);
  EXPECT_EQ(view.lstRegistrations()->item(0)->text(), QStringLiteral("Clienti"));
  EXPECT_EQ(view.lstRegistrations()->item(1)->data(Qt::UserRole).toLongLong(),
            pv::RegistrationStore(pv::rsRegistrations).All()[1].id);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(view.CommandButton(i)->icon().isNull());
  EXPECT_EQ(view.CommandButton(0)->toolTip(), pv::LoadResString(14013));
  view.show();
  EXPECT_TRUE(view.NullView()->isVisible());

  emit view.lstRegistrations()->itemClicked(view.lstRegistrations()->item(0));
  EXPECT_TRUE(view.DataView()->isVisible());
  QAbstractItemModel* grid = view.DataView()->model();
  EXPECT_EQ(grid->rowCount(), view.Model().Records().RecordCount());
  EXPECT_EQ(grid->columnCount(), 2);
  EXPECT_EQ(grid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Citta"));
  EXPECT_EQ(grid->data(grid->index(1, 0)).toString(), QStringLiteral("Bruno"));
  EXPECT_FALSE(grid->flags(grid->index(1, 0)) & Qt::ItemIsEditable);
  EXPECT_EQ(view.DataView()->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(views.printPanelInits, 1);

  // Sorting through the button reloads the grid.
  scripted.sortAnswer = QStringLiteral("[Nome] DESC");
  view.CommandButton(4)->click();
  EXPECT_EQ(grid->data(grid->index(0, 0)).toString(), QStringLiteral("Carla"));
}

// The grid's columns fit their values (a timestamp whole), measured on a
// bounded number of rows; a value longer than the widest column has its
// tooltip.
TEST_F(ManagerTest, TheGridColumnsFitTheirValues) {
  const QString longText = QStringLiteral("Via dei Mille 1234, scala B, interno 56, 00100 Roma (RM) - Italia");
  pv::SourceTable table;
  table.columns = {{QStringLiteral("N"), pv::ColumnType::Integer},
                   {QStringLiteral("Ultima modifica"), pv::ColumnType::DateTime},
                   {QStringLiteral("Indirizzo"), pv::ColumnType::Text},
                   {QStringLiteral("Nota"), pv::ColumnType::Text}};
  const QString lastNote = QStringLiteral("nota dell'ultimo record, lunga");
  for (int i = 0; i < 2000; ++i) {
    table.rows.push_back({i, QDateTime(QDate(2001, 2, 2), QTime(10, 30, i % 60)),
                          i == 1 ? QVariant(longText) : QVariant(QStringLiteral("Via Roma")),
                          i == 1999 ? QVariant(lastNote) : QVariant(QStringLiteral("-"))});
  }
  sources[QStringLiteral("/dati")]->tables[QStringLiteral("storico")] = table;
  Register(QStringLiteral("Storico"), QStringLiteral("/dati"), QStringLiteral("storico"));
  pv::DataBaseData view(nullptr, Factory());
  view.resize(1000, 500);
  view.Init();
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QList<QListWidgetItem*> rows = view.lstRegistrations()->findItems(QStringLiteral("Storico"), Qt::MatchExactly);
  ASSERT_EQ(rows.size(), 1);
  emit view.lstRegistrations()->itemClicked(rows[0]);
  ASSERT_TRUE(view.DataView()->isVisible());

  QTableView* grid = view.DataView();
  QAbstractItemModel* cells = grid->model();
  const QFontMetrics metrics(grid->font());
  const QString stamp = cells->data(cells->index(0, 1)).toString();
  EXPECT_EQ(stamp, QStringLiteral("02/02/2001 10:30:00"));
  EXPECT_GT(grid->columnWidth(1), metrics.horizontalAdvance(stamp));
  EXPECT_GE(grid->columnWidth(1), grid->horizontalHeader()->sectionSizeHint(1)) << "the heading shows too";
  EXPECT_LT(grid->columnWidth(0), 120) << "a narrow column is not padded out";
  const int most = grid->columnWidth(2);
  EXPECT_LT(most, metrics.horizontalAdvance(longText)) << "a column has a limit";
  EXPECT_GT(most, metrics.horizontalAdvance(QStringLiteral("Via dei Mille 1234")));
  EXPECT_LT(grid->columnWidth(3), metrics.horizontalAdvance(lastNote)) << "the last record is not measured";

  // The tooltip: the long value whole, none where the value shows whole
  // (shown at once, without the fading in).
  const bool fades = QApplication::isEffectEnabled(Qt::UI_FadeTooltip);
  const bool animates = QApplication::isEffectEnabled(Qt::UI_AnimateTooltip);
  QApplication::setEffectEnabled(Qt::UI_FadeTooltip, false);
  QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
  auto tipAt = [&](int row, int column) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    const QPoint at = grid->visualRect(cells->index(row, column)).center();
    QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tipAt(1, 2), longText);
  EXPECT_EQ(tipAt(0, 2), QString());
  EXPECT_EQ(tipAt(0, 1), QString());
  QToolTip::hideText();
  QApplication::setEffectEnabled(Qt::UI_FadeTooltip, fades);
  QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, animates);

  // A sort reloads the grid and the columns fit again.
  scripted.sortAnswer = QStringLiteral("[N] DESC");
  view.CommandButton(4)->click();
  EXPECT_EQ(cells->data(cells->index(0, 0)).toString(), QStringLiteral("1999"));
  EXPECT_GT(grid->columnWidth(1), metrics.horizontalAdvance(stamp));
  EXPECT_GT(grid->columnWidth(3), metrics.horizontalAdvance(lastNote)) << "now on view";
}

}  // namespace
