// The print panel's data-source choice, sort and filter, format chooser,
// printer set-up, layout, format bar and printing through its toolbar.
#include "paneltest.h"

#include "../mergefixture.h"

#include "../pdftools.h"
#include "app/readerwaitdialog.h"
#include "core/database.h"
#include "datasources/registrations.h"
#include "document/pageorigin.h"
#include "tests/support/faultyreader.h"
#include "tests/support/records.h"
#include "formats/windows/dlgselformat.h"
#include "formats/formatstore.h"
#include "printing/spooler.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

namespace {

using paneltest::PanelTest;
using printtest::ChangeRun;
using printtest::CurrentRun;

// The merge recordset's values of a column, as the merge tests read them.
struct MergeColumns : printtest::MergeTest {
  using MergeTest::Column;
};

class PanelChoiceTest : public PanelTest {
 protected:
  // dBASE tables of `rows` records (NOME, CITTA, NOTE, NUM, SALDO), each
  // registered under its own name; returns their IDs.
  std::vector<qint64> Register(const QStringList& tables, int rows = 13) {
    pv::OpenDatabase();
    EXPECT_TRUE(pv::cnDatabase.IsOpen());
    pv::ClearTableCache();
    const QString folder = Home(QStringLiteral("dati"));
    pv::RegistrationStore store(pv::rsRegistrations);
    std::vector<qint64> ids;
    for (const QString& table : tables) {
      printtest::WriteMergeTable(folder, table, rows);
      pv::Registration r;
      r.label = table;
      r.connectionString = printtest::DBaseConnection(folder);
      r.recordSetName = table;
      r.sourceName = folder;
      r.sourceFormat = pv::kSourceDBaseIII;
      ids.push_back(store.Add(r));
    }
    return ids;
  }
  QComboBox& List() const { return *Options().CmbRegistration(); }
  void Choose(int index) {
    List().setCurrentIndex(index);
    emit List().activated(index);
  }
  bool ManualOptionsShown() const { return !Options().Text1(0)->isHidden(); }
  static QStringList Column(const QString& name) { return MergeColumns::Column(name); }
  // Chooses the only registration, of `rows` records.
  void Merge(int rows) {
    Register({QStringLiteral("clienti")}, rows);
    panel->Init();
    Choose(List().findText(QStringLiteral("clienti")));
    ASSERT_TRUE(pv::PrintRun().Merging());
    boxes.clear();
  }
};

TEST_F(PanelChoiceTest, InitListsTheRegistrationsAfterTheNoMergeEntry) {
  pv::OpenDatabase();
  // No registration at all, the built-in sample's neither.
  QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
  ASSERT_TRUE(q.exec(QStringLiteral("DELETE FROM rst_registrations")));
  pv::rsRegistrations.Requery();
  panel->Init();
  ASSERT_EQ(List().count(), 1);
  EXPECT_EQ(List().itemText(0), QStringLiteral("(Nessuna unione con i dati)"));
  EXPECT_EQ(List().itemData(0).toInt(), -1);

  const std::vector<qint64> ids = Register({QStringLiteral("Zeta"), QStringLiteral("Alfa")});
  panel->Init();
  Choose(1);
  ASSERT_TRUE(pv::PrintRun().Merging());
  panel->Init();
  ASSERT_EQ(List().count(), 3);
  EXPECT_EQ(List().itemText(1), QStringLiteral("Alfa"));
  EXPECT_EQ(List().itemData(1).toLongLong(), ids[1]);
  EXPECT_EQ(List().itemText(2), QStringLiteral("Zeta"));
  EXPECT_EQ(List().itemData(2).toLongLong(), ids[0]);
  // Init chooses the no-merge entry, with its reaction.
  EXPECT_EQ(List().currentIndex(), 0);
  EXPECT_FALSE(pv::PrintRun().Merging());
  EXPECT_TRUE(ManualOptionsShown());
  EXPECT_TRUE(Options().Label3(0)->isHidden());
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_TRUE(boxes.empty());
}

// At the font in use the closed list shows its own entry whole; an entry too
// long for it is whole in the open list and in the tooltip while chosen.
TEST_F(PanelChoiceTest, TheSourceListShowsEveryEntryWholeOrInItsTooltip) {
  const QString longName = QStringLiteral("Clienti della provincia di Trieste e Gorizia, anagrafica completa");
  Register({QStringLiteral("Clienti"), longName}, 3);
  panel->Init();
  QComboBox& list = List();
  QStyleOptionComboBox opt;
  opt.initFrom(&list);
  const QRect field = list.style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, &list);
  const QFontMetrics fm = list.fontMetrics();
  ASSERT_EQ(list.currentIndex(), 0);
  EXPECT_LE(fm.horizontalAdvance(list.itemText(0)) + 2, field.width()) << list.itemText(0).toStdString();
  EXPECT_TRUE(list.toolTip().isEmpty());
  EXPECT_LE(list.geometry().right(), Options().width() - 1);
  EXPECT_GE(list.view()->minimumWidth(), fm.horizontalAdvance(longName));

  Choose(list.findText(longName));
  EXPECT_EQ(list.toolTip(), longName);
  Choose(list.findText(QStringLiteral("Clienti")));
  EXPECT_TRUE(list.toolTip().isEmpty());
  Choose(list.findText(longName));
  pv::PrintControls().SelectNoMergeEntry();
  EXPECT_TRUE(list.toolTip().isEmpty());
}

TEST_F(PanelChoiceTest, InitWithoutTheDatabaseKeepsTheNoMergeEntry) {
  panel->Init();  // the registrations were never opened
  ASSERT_EQ(List().count(), 1);
  EXPECT_EQ(List().currentIndex(), 0);
  EXPECT_TRUE(ManualOptionsShown());
}

TEST_F(PanelChoiceTest, AChosenSourceMergesItsRecordsIntoPages) {
  Register({QStringLiteral("clienti")}, 13);
  panel->Init();
  Choose(1);
  ASSERT_TRUE(pv::PrintRun().Merging());
  EXPECT_FALSE(ManualOptionsShown());
  EXPECT_FALSE(Options().Label3(0)->isHidden());
  EXPECT_EQ(CurrentRun().m_PageCount, 2);
  EXPECT_EQ(CurrentRun().m_LastLabel, 1);
  EXPECT_EQ(CurrentRun().m_RangePages, 3);
  // The hidden boxes hold the computed values.
  EXPECT_EQ(Options().Text1(0)->text(), QStringLiteral("2"));
  EXPECT_EQ(Options().Text1(2)->text(), QStringLiteral("1"));
  EXPECT_TRUE(Options().Option1(3)->isChecked());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelChoiceTest, AnEmptySourceFallsBackToNoMerge) {
  Register({QStringLiteral("vuota")}, 0);
  panel->Init();
  ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 4; });
  Choose(List().findText(QStringLiteral("vuota")));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(31025));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  EXPECT_EQ(List().currentIndex(), 0);
  EXPECT_FALSE(pv::PrintRun().Merging());
  EXPECT_TRUE(ManualOptionsShown());
  EXPECT_TRUE(Options().Label3(0)->isHidden());
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_RangePages, 0);
}

TEST_F(PanelChoiceTest, ANewChoiceStartsWithoutSortAndFilter) {
  const std::vector<qint64> ids = Register({QStringLiteral("Alfa"), QStringLiteral("Beta")}, 6);
  panel->Init();
  Choose(1);
  sourceDialogs.sortAnswer = QStringLiteral("[NUM] DESC");
  panel->Command(7)->click();
  sourceDialogs.filterAnswer = {1, QStringLiteral("[NUM] <= 4")};
  panel->Command(8)->click();
  auto& run = pv::PrintRun();
  ASSERT_EQ(Column(QStringLiteral("NUM")), (QStringList{"4", "3", "2", "1"}));
  Choose(2);
  EXPECT_EQ(run.Run().m_RegistrationId, ids[1]);
  EXPECT_TRUE(run.Run().m_Sort.isEmpty());
  EXPECT_TRUE(run.Run().m_Filter.isEmpty());
  EXPECT_EQ(Column(QStringLiteral("NUM")), (QStringList{"1", "2", "3", "4", "5", "6"}));
  EXPECT_TRUE(boxes.empty());
}

// "Annulla" while the newly chosen source is read: no message, and the
// list shows the source still merged, with its sort.
TEST_F(PanelChoiceTest, ACancelledReadKeepsTheSourceChosenBefore) {
  const std::vector<qint64> ids = Register({QStringLiteral("Alfa"), QStringLiteral("Beta")}, 6);
  panel->Init();
  Choose(1);
  sourceDialogs.sortAnswer = QStringLiteral("[NUM] DESC");
  panel->Command(7)->click();
  boxes.clear();
  const int pages = CurrentRun().m_PageCount;
  {
    const testing::ReaderSettingsScope hang(
        testing::FaultyReader(QStringLiteral("hang@ReadTable"), std::make_shared<testing::CancellingWait>()));
    Choose(2);
  }
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(List().currentIndex(), 1);
  ASSERT_TRUE(pv::PrintRun().Merging());
  EXPECT_EQ(pv::PrintRun().Run().m_RegistrationId, ids[0]);
  EXPECT_EQ(Column(QStringLiteral("NUM")), (QStringList{"6", "5", "4", "3", "2", "1"}));
  EXPECT_FALSE(ManualOptionsShown());
  EXPECT_EQ(CurrentRun().m_PageCount, pages);
  EXPECT_EQ(Options().Text1(0)->text(), QString::number(pages));
}

// The panel's paints, counted.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// A sort waits as a read of the source does, with the program's own wait
// notice: the panel is drawn again before the records are sorted, so the
// sort dialog just closed is not left on it.
TEST_F(PanelChoiceTest, TheSortLetsThePanelRepaintBeforeItWorks) {
  Merge(13);
  panel->show();
  QCoreApplication::processEvents();
  const testing::ReaderSettingsScope restore(pv::ReaderSettings());
  pv::InstallReaderWaitDialog();
  PaintCounter counter;
  panel->installEventFilter(&counter);
  panel->update();
  sourceDialogs.sortAnswer = QStringLiteral("[NUM] DESC");
  panel->Command(7)->click();
  EXPECT_GT(counter.paints, 0);
  EXPECT_EQ(Column(QStringLiteral("NUM")).value(0), QStringLiteral("13"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelChoiceTest, AFormatWithoutLabelsKeepsTheEntryWithoutMergeOrMessage) {
  Register({QStringLiteral("Alfa")});
  panel->Init();
  ChangeRun([&](pv::PrintRunValues& r) { r.m_Format.Sheet.nOri = 0; });
  const int pages = CurrentRun().m_PageCount;
  Choose(1);
  EXPECT_EQ(List().currentIndex(), 1);
  EXPECT_FALSE(pv::PrintRun().Merging());
  EXPECT_TRUE(ManualOptionsShown());
  EXPECT_EQ(CurrentRun().m_PageCount, pages);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelChoiceTest, BackToTheNoMergeEntryRunsItsReaction) {
  Merge(5);
  EXPECT_FALSE(ManualOptionsShown());
  pv::PrintControls().SelectNoMergeEntry();
  EXPECT_EQ(List().currentIndex(), 0);
  EXPECT_FALSE(pv::PrintRun().Merging());
  EXPECT_TRUE(ManualOptionsShown());
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
}

TEST_F(PanelChoiceTest, ShowControlSwapsTheManualOptionsAndTheMergeNote) {
  const auto check = [&](bool manual) {
    for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10})
      EXPECT_EQ(Options().Label1(i)->isVisibleTo(panel.get()), manual) << "Label1 " << i;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Options().Text1(i)->isVisibleTo(panel.get()), manual) << "Text1 " << i;
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Options().Picture3(i)->isVisibleTo(panel.get()), manual);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Options().Option1(i)->isVisibleTo(panel.get()), manual);
    EXPECT_EQ(Options().Line1()->isVisibleTo(panel.get()), manual);
    EXPECT_EQ(Options().Label3(0)->isVisibleTo(panel.get()), !manual);
    // Always there: manual paper, apply, the data-source choice.
    EXPECT_TRUE(Options().Label1(5)->isVisibleTo(panel.get()));
    EXPECT_TRUE(Options().ManualPaper()->isVisibleTo(panel.get()));
    EXPECT_TRUE(Options().ApplyCaption()->isVisibleTo(panel.get()));
    EXPECT_TRUE(Options().ApplyImage()->isVisibleTo(panel.get()));
    EXPECT_TRUE(Options().Label3(1)->isVisibleTo(panel.get()));
    EXPECT_TRUE(List().isVisibleTo(panel.get()));
  };
  check(true);
  panel->ShowControl(false);
  check(false);
  EXPECT_EQ(Options().Label3(0)->text(), pv::LoadResString(28012));
  panel->ShowControl(true);
  check(true);
}

TEST_F(PanelChoiceTest, SortAndFilterWithoutMergeSayWhyAndOpenNothing) {
  for (int command : {7, 8}) {
    boxes.clear();
    panel->Command(command)->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, pv::LoadResString(31015));
    EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  }
  EXPECT_EQ(sourceDialogs.sorts, 0);
  EXPECT_EQ(sourceDialogs.filters, 0);
}

TEST_F(PanelChoiceTest, SortOrdersTheRunAndACancelKeepsTheOrder) {
  Merge(5);
  auto& run = pv::PrintRun();
  sourceDialogs.sortAnswer = QStringLiteral("[NUM] DESC");
  panel->Command(7)->click();
  EXPECT_EQ(sourceDialogs.fieldsGiven, (QStringList{"NOME", "CITTA", "NOTE", "NUM", "SALDO"}));
  EXPECT_EQ(sourceDialogs.sortGiven, QString());
  EXPECT_EQ(run.Run().m_Sort, QStringLiteral("[NUM] DESC"));
  EXPECT_EQ(Column(QStringLiteral("NUM")), (QStringList{"5", "4", "3", "2", "1"}));

  sourceDialogs.sortAnswer.clear();  // Cancel
  panel->Command(7)->click();
  EXPECT_EQ(sourceDialogs.sortGiven, QStringLiteral("[NUM] DESC"));
  EXPECT_EQ(run.Run().m_Sort, QStringLiteral("[NUM] DESC"));
  EXPECT_EQ(Column(QStringLiteral("NUM")), (QStringList{"5", "4", "3", "2", "1"}));
  EXPECT_TRUE(boxes.empty());

  // A sort the source refuses: told once, the order stays.
  sourceDialogs.sortAnswer = QStringLiteral("[NESSUNO] ASC");
  panel->Command(7)->click();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(run.Run().m_Sort, QStringLiteral("[NUM] DESC"));
  EXPECT_EQ(Column(QStringLiteral("NUM")), (QStringList{"5", "4", "3", "2", "1"}));
  EXPECT_TRUE(run.Merging());
}

TEST_F(PanelChoiceTest, FilterRecountsTheRunOnlyWhenTheDialogSaysSo) {
  Merge(13);
  auto& run = pv::PrintRun();
  sourceDialogs.filterAnswer = {1, QStringLiteral("[NUM] <= 4")};
  panel->Command(8)->click();
  EXPECT_EQ(sourceDialogs.filterGiven, QString());
  EXPECT_NE(sourceDialogs.recordsetGiven, nullptr);
  EXPECT_EQ(run.Run().m_Filter, QStringLiteral("[NUM] <= 4"));
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 4);
  EXPECT_EQ(Options().Text1(2)->text(), QStringLiteral("4"));

  // Cancelled: nothing changes.
  sourceDialogs.filterAnswer = {0, QStringLiteral("[NUM] <= 2")};
  panel->Command(8)->click();
  EXPECT_EQ(sourceDialogs.filterGiven, QStringLiteral("[NUM] <= 4"));
  EXPECT_EQ(run.Run().m_Filter, QStringLiteral("[NUM] <= 4"));
  EXPECT_EQ(CurrentRun().m_LastLabel, 4);

  // Refused by the source: told once, the run stays as counted.
  sourceDialogs.filterAnswer = {1, QStringLiteral("[NUM] <<< 3")};
  panel->Command(8)->click();
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(run.Run().m_Filter, QStringLiteral("[NUM] <= 4"));
  EXPECT_EQ(Column(QStringLiteral("NUM")).size(), 4);
  EXPECT_TRUE(run.Merging());

  // No record left: the merge ends with its message.
  boxes.clear();
  sourceDialogs.filterAnswer = {1, QStringLiteral("[NUM] > 100")};
  panel->Command(8)->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(31025));
  EXPECT_FALSE(run.Merging());
  EXPECT_EQ(List().currentIndex(), 0);
  EXPECT_TRUE(ManualOptionsShown());
}

// The filter dialog's syntax check tries an expression on the recordset;
// its Cancel puts the run's filter back, as the real dialog does.
struct CheckThenCancel : paneltest::FakeSourceDialogs {
  pv::FilterDialogAnswer ShowFilterDialog(const QStringList& fields, const QString& filter,
                                          pv::SourceRecordset* recordset) override {
    FakeSourceDialogs::ShowFilterDialog(fields, filter, recordset);
    recordset->SetFilter(QStringLiteral("[NUM] <= 2"));
    recordset->SetFilter(filter);
    return {0, QString()};
  }
};

TEST_F(PanelChoiceTest, ACheckedThenCancelledFilterPrintsTheCountedRecords) {
  CheckThenCancel checking;
  pv::SourceDialogs* old = pv::SetSourceDialogs(&checking);
  fake.printers.clear();
  fake.defaultPrinter.clear();
  pv::SetFakePrintSystem(&fake);
  panel->ReloadPrinterInfo();
  Merge(14);  // two pages of 12 and 2
  pv::PlaceLabelPageAsEditor();
  pv::ObjectRecord field = pv::test::BoxRecord(pv::UserTypeDatabaseField, pv::PageOrgX + 25, pv::PageOrgY + 8, 40, 10);
  // The print path reads the committed copy of the geometry.
  field.X1 = field.CenterX;
  field.Y1 = field.CenterY;
  field.X2 = field.Width;
  field.Y2 = field.Height;
  field.Content = QStringLiteral("NOME");
  field.FontName = QStringLiteral("Arial");
  field.FontSize = 10;
  field.Alignment = 20;
  pv::test::AppendRecord(field);

  panel->Command(8)->click();
  EXPECT_EQ(checking.filters, 1);
  EXPECT_EQ(CurrentRun().m_PageCount, 2);
  dialogs.answer = Home(QStringLiteral("unione.pdf"));
  panel->Command(6)->click();
  ASSERT_EQ(printtest::PdfPages(dialogs.answer), 2);
  const QString text =
      printtest::Run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), dialogs.answer, QStringLiteral("-")});
  QStringList names;
  for (const QString& w : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
    if (w.startsWith(QStringLiteral("Nome"))) names << w;
  QStringList expected;
  for (int i = 0; i < 14; ++i) expected << QString::fromLatin1(printtest::DefaultRow(i).nome);
  EXPECT_EQ(names, expected) << text.toStdString();
  EXPECT_TRUE(boxes.empty());
  pv::SetSourceDialogs(old);
}

// ---- the format chooser --------------------------------------------------

class PanelFormatTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    pv::OpenDatabase();
    ASSERT_TRUE(pv::cnDatabase.IsOpen());
    for (const auto& [code, across, down] : {std::tuple{"P-3x4", 3, 4}, std::tuple{"Q-2x2", 2, 2}}) {
      pv::PrintFormat f;
      f.Code = QString::fromLatin1(code);
      f.Description = QStringLiteral("prova");
      f.Width = 61;
      f.Height = 31;
      f.nOri = across;
      f.nVer = down;
      f.sheetwidth = 210;
      f.sheetdepth = 297;
      pv::StoreFormat(f);
    }
    pv::Header.LabelWidth = 61;
    pv::Header.LabelHeight = 31;
    pv::Header.LabelFormatCode = QStringLiteral("P-3x4");
    panel->ResetPrinterInformation();
    ASSERT_EQ(CurrentRun().m_LastLabel, 12);
  }

  // Runs the chooser from a click on the format bar, answered by `act`.
  void ChooseWith(const std::function<void(pv::DlgSelFormat&)>& act) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* d = qobject_cast<pv::DlgSelFormat*>(w);
        if (d != nullptr && d->isVisible()) {
          answered = true;
          act(*d);
          return;
        }
      }
    });
    emit panel->Bar()->clicked();
    EXPECT_TRUE(answered);
  }
  void ClickRow(pv::DlgSelFormat& d, const QString& code) {
    const QList<QTreeWidgetItem*> rows = d.List()->findItems(code, Qt::MatchExactly, 0);
    ASSERT_EQ(rows.size(), 1);
    emit d.List()->itemClicked(rows[0], 0);
  }
  // The run as a reload leaves it, shown on another page first.
  void Disturb() {
    ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 5; });
    pv::PrintRun().SetPageNumber(3);
  }
};

TEST_F(PanelFormatTest, CancelledChooserStillReloadsTheFormat) {
  Disturb();
  ChooseWith([&](pv::DlgSelFormat& d) {
    ClickRow(d, QStringLiteral("Q-2x2"));
    d.CancelButton()->click();
  });
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("P-3x4"));
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 12);
  EXPECT_EQ(pv::PrintRun().PageNumber(), 1);
}

TEST_F(PanelFormatTest, OkWithoutARowKeepsTheLabelsFormat) {
  Disturb();
  ChooseWith([](pv::DlgSelFormat& d) { d.OKButton()->click(); });
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("P-3x4"));
  EXPECT_EQ(CurrentRun().m_Format.Sheet.nOri, 3);
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 12);
  EXPECT_EQ(panel->Bar()->FormatName()->text(), QStringLiteral("Formato di stampa: P-3x4"));
}

TEST_F(PanelFormatTest, AChosenFormatBecomesTheLabelsAndIsLoaded) {
  Disturb();
  ChooseWith([&](pv::DlgSelFormat& d) {
    ClickRow(d, QStringLiteral("Q-2x2"));
    d.OKButton()->click();
  });
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("Q-2x2"));
  EXPECT_EQ(CurrentRun().m_Format.Sheet.nOri, 2);
  EXPECT_EQ(CurrentRun().m_LastLabel, 4);
  EXPECT_EQ(Options().Text1(2)->text(), QStringLiteral("4"));
  EXPECT_EQ(panel->Bar()->FormatName()->text(), QStringLiteral("Formato di stampa: Q-2x2"));
  EXPECT_EQ(Options().PageCaption()->text(), QStringLiteral("Numero di pagine: 1 di  1"));
  EXPECT_TRUE(boxes.empty());
}

// ---- the printer -----------------------------------------------------------

struct PrinterSetupDialogs : printtest::AnsweringDialogs {
  QString choose;
  int setups = 0;
  void ShowPrinterSetup() override {
    ++setups;
    if (!choose.isEmpty()) pv::SetCurrentPrinter(choose);
  }
};

struct StatusBarCount : pv::MainWindowHost {
  int updates = 0;
  void SetStatusBar() override { ++updates; }
};

TEST_F(PanelTest, PrinterSetupRereadsThePrinterCancelledOrNot) {
  PrinterSetupDialogs setup;
  StatusBarCount status;
  pv::CommonDialogHost* oldDialogs = pv::SetCommonDialogHost(&setup);
  pv::MainWindowHost* oldWindow = pv::SetMainWindowHost(&status);
  pv::ProgramSettings().Printer.DpiX = 0;
  panel->Command(4)->click();  // cancelled: the same printer read again
  EXPECT_EQ(setup.setups, 1);
  EXPECT_EQ(pv::ProgramSettings().Printer.DpiX, 300);
  EXPECT_EQ(status.updates, 1);
  EXPECT_EQ(panel->Preview()->Geometry().PrinterResX, 300);

  setup.choose = QStringLiteral("PDF");
  panel->Command(4)->click();
  EXPECT_EQ(pv::CurrentPrinterName(), QStringLiteral("PDF"));
  EXPECT_EQ(pv::ProgramSettings().Printer.DpiX, 600);
  EXPECT_EQ(status.updates, 2);
  EXPECT_EQ(panel->Preview()->Geometry().PrinterResX, 600);
  EXPECT_TRUE(boxes.empty());
  pv::SetMainWindowHost(oldWindow);
  pv::SetCommonDialogHost(oldDialogs);
}

// A printer chosen in the set-up that cannot be asked stays the chosen one:
// the user is told, and a job goes to it (and fails naming it), never to
// the default printer.
TEST_F(PanelTest, AChosenPrinterThatCannotBeAskedStaysChosen) {
  PrinterSetupDialogs setup;
  StatusBarCount status;
  pv::CommonDialogHost* oldDialogs = pv::SetCommonDialogHost(&setup);
  pv::MainWindowHost* oldWindow = pv::SetMainWindowHost(&status);
  fake.printers = QStringList{QStringLiteral("Office"), QStringLiteral("Magazzino")};
  fake.unreadable = QStringList{QStringLiteral("Magazzino")};
  pv::SetFakePrintSystem(&fake);
  QStringList spooled;
  pv::SetSpooler([&](const pv::SpoolRequest& r) {
    spooled << r.Printer;
    pv::SpoolResult refused;
    refused.Error = QStringLiteral("La stampante \"%1\" non esiste nel sistema di stampa.").arg(r.Printer);
    return refused;
  });

  setup.choose = QStringLiteral("Magazzino");
  panel->Command(4)->click();
  EXPECT_EQ(pv::CurrentPrinterName(), QStringLiteral("Magazzino"));
  EXPECT_EQ(status.updates, 1);
  ASSERT_EQ(CountPrintingErrors(), 1);
  EXPECT_TRUE(boxes.back().detail.contains(QStringLiteral("\"Magazzino\""))) << boxes.back().detail.toStdString();
  // The panel goes on working.
  ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 2; });
  panel->Command(2)->click();
  EXPECT_EQ(pv::PrintRun().PageNumber(), 2);

  boxes.clear();
  panel->Command(5)->click();
  EXPECT_EQ(spooled, QStringList{QStringLiteral("Magazzino")});
  ASSERT_EQ(CountPrintingErrors(), 1);
  EXPECT_TRUE(boxes.back().detail.contains(QStringLiteral("\"Magazzino\""))) << boxes.back().detail.toStdString();
  EXPECT_EQ(setup.asked, 0);  // not the built-in printer's save dialog either
  EXPECT_EQ(pv::CurrentPrinterName(), QStringLiteral("Magazzino"));

  pv::SetSpooler(nullptr);
  pv::SetMainWindowHost(oldWindow);
  pv::SetCommonDialogHost(oldDialogs);
}

// ---- layout and the format bar ---------------------------------------------

TEST_F(PanelTest, LayoutPlacesTheTwoPartsByThePanelsSize) {
  // The option column: 180 pixels, or what the data-source list needs.
  const int left = panel->Options()->ColumnWidth();
  EXPECT_GE(left, 180);
  // A roomy panel, and one whose right part is just wider than its toolbar.
  for (const QSize size : {QSize(800, 600), QSize(left + 240, 300)}) {
    SCOPED_TRACE(size.width());
    panel->resize(size);
    panel->show();
    QApplication::processEvents();
    const int cw = size.width() - (left + 1);
    EXPECT_EQ(panel->Options()->geometry(), QRect(0, 0, left, size.height()));
    EXPECT_EQ(panel->Container()->geometry(), QRect(left + 1, 0, cw, size.height()));
    EXPECT_EQ(panel->Rule()->geometry(), QRect(0, 19, cw, 1));
    EXPECT_EQ(panel->Bar()->geometry(), QRect(0, 20, cw, 22));
    EXPECT_EQ(panel->Preview()->geometry(), QRect(0, 42, cw, size.height() - 42));
    const QProgressBar* progress = panel->Bar()->ProgressBar();
    EXPECT_EQ(progress->width(), cw - (progress->x() + 5));
    for (int i = 0; i < 9; ++i) {
      EXPECT_TRUE(panel->Container()->rect().contains(panel->Command(i)->geometry())) << i;
      EXPECT_LE(panel->Command(i)->geometry().bottom(), 18) << i;
      EXPECT_FALSE(panel->Command(i)->icon().isNull()) << i;
      EXPECT_FALSE(panel->Command(i)->toolTip().isEmpty()) << i;
    }
    // The sheet sits inside the preview.
    EXPECT_TRUE(panel->Preview()->rect().contains(panel->Preview()->Sheet()->geometry()));
    panel->hide();
  }
  // Narrower than the option panel: the right part stays where it was.
  const QRect before = panel->Container()->geometry();
  panel->resize(150, 300);
  QApplication::processEvents();
  EXPECT_EQ(panel->Options()->geometry(), QRect(0, 0, panel->Options()->ColumnWidth(), 300));
  EXPECT_EQ(panel->Container()->geometry(), before);
}

TEST_F(PanelTest, FormatBarIsBevelledAndOpensTheChooserFromEachPart) {
  panel->resize(700, 400);
  panel->show();
  QApplication::processEvents();
  const QImage img = panel->Bar()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int W = img.width();
  const int H = img.height();
  ASSERT_EQ(H, 22);
  const auto at = [&](int x, int y) { return QColor(img.pixel(x, y)); };
  for (int x : {1, W / 2, W - 3}) EXPECT_EQ(at(x, 0), QColor(Qt::white)) << x;
  for (int x : {2, W / 2, W - 3}) EXPECT_EQ(at(x, 1), QColor(220, 220, 220)) << x;
  for (int y : {0, 5, H - 3}) EXPECT_EQ(at(0, y), QColor(Qt::black)) << y;
  for (int y : {1, 5, H - 3}) EXPECT_EQ(at(1, y), QColor(Qt::white)) << y;
  for (int x : {2, W / 2, W - 3}) {
    EXPECT_EQ(at(x, H - 2), QColor(128, 128, 128)) << x;
    EXPECT_EQ(at(x, H - 1), QColor(Qt::black)) << x;
  }
  for (int y : {0, 5, H - 1}) EXPECT_EQ(at(W - 1, y), QColor(Qt::black)) << y;
  for (int y : {2, 5, H - 3}) EXPECT_EQ(at(W - 2, y), QColor(128, 128, 128)) << y;

  int opened = 0;
  QObject::connect(panel->Bar(), &pv::FormatBar::clicked, [&] { ++opened; });
  panel->Bar()->disconnect(panel.get());  // the chooser itself is tested above
  emit panel->Bar()->FormatName()->clicked();
  emit panel->Bar()->ChooserImage()->clicked();
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(panel->Bar()->FormatName()->text(), pv::LoadResString(28044));
}

// A mouse click (press and release, delivered as the window system does) on
// the format name, its image or the bar around them: one click, one command.
TEST_F(PanelTest, OneMouseClickOnTheFormatBarIsOneCommand) {
  panel->resize(700, 400);
  panel->show();
  QApplication::processEvents();
  int opened = 0;
  QObject::connect(panel->Bar(), &pv::FormatBar::clicked, [&] { ++opened; });
  panel->Bar()->disconnect(panel.get());  // the chooser itself is tested above
  QWidget* bar = panel->Bar();
  for (QWidget* w :
       {static_cast<QWidget*>(panel->Bar()->FormatName()), static_cast<QWidget*>(panel->Bar()->ChooserImage()), bar}) {
    SCOPED_TRACE(w->objectName().toStdString());
    opened = 0;
    // The bar's own part: right of the name, left of the progress.
    const QPointF p = w == bar ? QPointF(bar->width() - 10, 11) : QPointF(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    QApplication::processEvents();
    EXPECT_EQ(opened, 1);
  }
}

TEST_F(PanelTest, AFormatNameTheBarCutsIsWholeInItsTooltip) {
  panel->resize(700, 400);
  panel->show();
  QApplication::processEvents();
  const QString longName = QStringLiteral("Formato di stampa: ") + QString(30, QLatin1Char('W'));
  panel->SetFormatCaption(longName);
  EXPECT_EQ(panel->Bar()->FormatName()->toolTip(), longName);
  panel->SetFormatCaption(QStringLiteral("Formato di stampa: A4"));
  EXPECT_TRUE(panel->Bar()->FormatName()->toolTip().isEmpty());
  // A wider window makes room: the tooltip goes with the cut.
  panel->SetFormatCaption(longName);
  panel->resize(1600, 400);
  QApplication::processEvents();
  EXPECT_TRUE(panel->Bar()->FormatName()->toolTip().isEmpty());
}

TEST_F(PanelTest, CaptionsAndTooltipsComeFromTheStringTable) {
  const struct {
    QWidget* w;
    int caption;
    int tip;
  } rows[] = {
      {Options().Label1(3), 13300, 13313},      {Options().Option2(0), 0, 13313},
      {Options().Label1(4), 13301, 13314},      {Options().Option2(1), 0, 13314},
      {Options().Text1(0), 0, 13315},           {Options().Label1(5), 13303, 13316},
      {Options().ManualPaper(), 0, 13316},      {Options().Label1(1), 13305, 0},
      {Options().Text1(1), 0, 13318},           {Options().Label1(2), 13306, 0},
      {Options().Text1(2), 0, 13319},           {Options().Label1(6), 13307, 0},
      {Options().Label1(7), 13308, 13320},      {Options().Option1(0), 0, 13320},
      {Options().Label1(10), 13311, 13323},     {Options().Option1(3), 0, 13323},
      {Options().ApplyCaption(), 13312, 13324}, {Options().ApplyImage(), 0, 13324},
      {Options().Label3(1), 28011, 0},          {panel->Bar()->ProgressLabel(), 28043, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.w->objectName().toStdString());
    if (r.caption != 0) {
      auto* label = qobject_cast<QLabel*>(r.w);
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text(), pv::LoadResString(r.caption));
    }
    if (r.tip != 0) {
      EXPECT_EQ(r.w->toolTip(), pv::LoadResString(r.tip));
    }
  }
  for (int i = 0; i < 9; ++i) EXPECT_EQ(panel->Command(i)->toolTip(), pv::LoadResString(13325 + i)) << i;
}

// ---- printing from the toolbar ---------------------------------------------

TEST_F(PanelTest, PrintAllPagesFromTheToolbarWithProgress) {
  fake.printers.clear();
  fake.defaultPrinter.clear();
  pv::SetFakePrintSystem(&fake);
  ASSERT_EQ(pv::CurrentPrinterName(), QStringLiteral("PDF"));
  SolidBackground();
  panel->ReloadPrinterInfo();
  Type(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"));
  Options().Option1(3)->click();
  Apply();
  ASSERT_EQ(CurrentRun().m_PageCount, 3);
  panel->Command(2)->click();
  dialogs.answer = Home(QStringLiteral("tutte.pdf"));
  std::vector<bool> shownDuring;
  QObject::connect(panel->Bar()->ProgressBar(), &QProgressBar::valueChanged,
                   [&](int) { shownDuring.push_back(!panel->Bar()->ProgressBar()->isHidden()); });
  panel->Command(6)->click();
  EXPECT_EQ(printtest::PdfPages(dialogs.answer), 3);
  EXPECT_EQ(panel->Bar()->ProgressBar()->maximum(), 5);
  EXPECT_EQ(panel->Bar()->ProgressBar()->value(), 5);
  ASSERT_FALSE(shownDuring.empty());
  for (bool shown : shownDuring) EXPECT_TRUE(shown);
  EXPECT_TRUE(panel->Bar()->ProgressBar()->isHidden());
  EXPECT_TRUE(panel->Bar()->ProgressLabel()->isHidden());
  EXPECT_EQ(pv::PrintRun().PageNumber(), 2);
  // The caption names the page on display, not the last one printed.
  EXPECT_EQ(Options().PageCaption()->text(), QStringLiteral("Numero di pagine: 2 di  3"));
  // Page 3 holds its first two positions only.
  const QImage last = printtest::PdfPage(dialogs.answer, 3, 30);
  ASSERT_FALSE(last.isNull());
  const auto cellInk = [&](int col, int row) {
    const double px = 30 / 25.4;
    const int x = int((10 + 60 * col + 30) * px);
    const int y = int((10 + 30 * row + 15) * px);
    return printtest::Ink(last, x, y);
  };
  EXPECT_TRUE(cellInk(0, 0));
  EXPECT_TRUE(cellInk(1, 0));
  EXPECT_FALSE(cellInk(2, 0));
  EXPECT_FALSE(cellInk(0, 1));
  EXPECT_TRUE(boxes.empty());
}

}  // namespace

namespace {

// While a job waits on its manual-paper message, the panel's commands come
// through the message's event loop: they must do nothing.
class PanelDuringAJobTest : public PanelTest {
 protected:
  pv::MsgAnswer OnMsgBox(const pv::MsgBoxRequest& r) override {
    if (!r.text.startsWith(QStringLiteral("Attenzione: richiesto"))) return pv::MsgAnswer::Ok;
    ++stops;
    const std::int32_t page = pv::PrintRun().PageNumber();
    for (int command : {0, 1, 2, 3, 5, 6, 7, 8}) panel->Command_Click(command);
    Type(QStringLiteral("9"), QStringLiteral("1"), QStringLiteral("12"));
    Apply();
    emit panel->Bar()->clicked();  // no chooser opens: nothing would answer it
    EXPECT_EQ(pv::PrintRun().PageNumber(), page);
    EXPECT_EQ(CurrentRun().m_PageCount, 2);
    return pv::MsgAnswer::Ok;
  }
  int stops = 0;
};

TEST_F(PanelDuringAJobTest, CommandsDoNothingWhileAJobRuns) {
  fake.printers.clear();
  fake.defaultPrinter.clear();
  pv::SetFakePrintSystem(&fake);
  panel->ReloadPrinterInfo();
  Type(QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("12"));
  Options().ManualPaper()->setChecked(true);
  Apply();
  ASSERT_EQ(pv::ProgramSettings().PrintStopPage, pv::VbTrue);
  dialogs.answer = Home(QStringLiteral("lavoro.pdf"));
  panel->Command(6)->click();
  EXPECT_EQ(stops, 2);
  EXPECT_EQ(dialogs.asked, 1);
  EXPECT_EQ(sourceDialogs.sorts + sourceDialogs.filters, 0);
  EXPECT_EQ(int(boxes.size()), stops);  // no 31015, no check's message
  EXPECT_EQ(printtest::PdfPages(dialogs.answer), 2);
  // Afterwards they work again.
  panel->Command(2)->click();
  EXPECT_EQ(pv::PrintRun().PageNumber(), 2);
}

}  // namespace
