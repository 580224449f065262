// The new-label wizard's lists and what it applies: the size list from the
// print formats, the template list, the background and border folders, the
// context menu's "Applica" and "Elimina" in each mode, and what it refuses.
#include "core/database.h"
#include "document/labelfile.h"
#include "formats/formatstore.h"
#include "formats/templatedesigns.h"
#include "formats/templatestore.h"
#include "formats/wizardmodel.h"
#include "platform/commondialogs.h"
#include "platform/stringtable.h"
#include "tests/formats/wizardtest.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace {

using formatstest::Sheet;
using wizardtest::WizardTest;

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
}

class WizardLists : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    EmptyTable();
    m.Grid().Resize(800, 600, 17);
  }
  void Store(const QString& code, double w, double h, const QString& printer = QStringLiteral("laser"),
             const QString& description = QStringLiteral("descrizione")) {
    pv::PrintFormat f = Sheet(code, w, h);
    f.printer = printer;
    f.Description = description;
    pv::StoreFormat(f);
  }
  const pv::ModelEntry& Entry(int i) const { return m.Models().at(static_cast<std::size_t>(i)); }

  pv::WizardModel m;
};

TEST_F(WizardLists, SizesGroupByTheirExactTextWithTheFirstRowsValues) {
  Store(QStringLiteral("A"), 100, 50, QStringLiteral("laser"), QStringLiteral("prima"));
  Store(QStringLiteral("C"), 99.12, 38, QStringLiteral("getto"));
  Store(QStringLiteral("B"), 100, 50, QStringLiteral("altra"), QStringLiteral("seconda"));
  Store(QStringLiteral("D"), 99.13, 38, QStringLiteral("getto"));
  // A filter another window left on the shared recordset narrows nothing.
  pv::rsFormat.SetFilter(QStringLiteral("CODE = 'A'"));
  m.Command_Click(1);

  ASSERT_EQ(m.Models().size(), 4u);
  struct Row {
    const char *dim, *codes, *code, *description, *printer;
    double w, h;
  };
  const Row expected[] = {
      {"100 x 50", "A, B", "A", "prima", "Generica", 100, 50},
      {"99,12 x 38", "C", "C", "descrizione", "getto", 99.12, 38},
      {"99,13 x 38", "D", "D", "descrizione", "getto", 99.13, 38},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const pv::ModelEntry& e = Entry(i + 1);
    EXPECT_EQ(e.DimText, QString::fromUtf8(expected[i].dim));
    EXPECT_EQ(e.Codes, QString::fromUtf8(expected[i].codes));
    EXPECT_EQ(e.Code, QString::fromUtf8(expected[i].code));
    EXPECT_EQ(e.Description, QString::fromUtf8(expected[i].description));
    EXPECT_EQ(e.printer, QString::fromUtf8(expected[i].printer));
    EXPECT_EQ(e.Width, expected[i].w);
    EXPECT_EQ(e.Height, expected[i].h);
  }
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Dimensioni trovate:3"));
  EXPECT_EQ(m.Grid().nBitmap, 3);
  EXPECT_EQ(m.Grid().BitmapX, 360);
  EXPECT_EQ(m.Grid().BitmapY, 160);
  EXPECT_EQ(m.Grid().SpaceX, 10);
  EXPECT_FALSE(m.Grid().pSelectMode);
  EXPECT_EQ(m.Mode(), 1);
  EXPECT_GT(window.refreshes, 0);  // the main window repaints before the cells
}

TEST_F(WizardLists, LongCodeListsEndInTheMarkerOnce) {
  QStringList codes;
  for (int i = 1; i <= 15; ++i) {
    codes << QStringLiteral("CODE-%1").arg(i, 5, 10, QLatin1Char('0'));
    Store(codes.last(), 70, 37);
  }
  m.LoadDimension();
  ASSERT_EQ(m.Models().size(), 2u);
  // Eleven codes make 130 characters; the twelfth adds the marker, the rest nothing.
  EXPECT_EQ(Entry(1).Codes, codes.mid(0, 11).join(QStringLiteral(", ")) + QStringLiteral(", . . ."));
}

TEST_F(WizardLists, FormatsMatchATemplateStrictlyWithinTwoTenthsOfAMillimetre) {
  Store(QStringLiteral("OFF-W"), 99.8, 50);
  Store(QStringLiteral("IN-1"), 99.85, 50.1);
  Store(QStringLiteral("OFF-H"), 100, 50.2);
  Store(QStringLiteral("IN-2"), 100.19, 49.81);
  QString first = QStringLiteral("stale");
  EXPECT_EQ(m.GetFormatString(100, 50, first), QStringLiteral("IN-1, IN-2"));
  EXPECT_EQ(first, QStringLiteral("IN-1"));
  EXPECT_EQ(m.GetFormatString(10, 10, first), QString());
  EXPECT_EQ(first, QString());
}

TEST_F(WizardLists, TemplatesAreTheDeliveredOnesWithTheFormatsOfTheirSize) {
  pv::CloseDatabase();
  QFile::remove(pv::DatabaseFileName());
  pv::OpenDatabase();  // the delivered formats back
  Exec(
      QStringLiteral("INSERT INTO rst_template (Width, Height, Description, ID_TEMPLATE) "
                     "VALUES (123, 45, 'senza formato', 90)"));
  pv::rsTemplate.SetFilter(QStringLiteral("ID_TEMPLATE = 90"));
  m.Init();  // the delivered rows join the table
  m.Command_Click(2);

  const auto& delivered = pv::DeliveredTemplates();
  ASSERT_EQ(m.Models().size(), delivered.size() + 2);
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Modelli trovati:%1").arg(delivered.size() + 1));
  for (const pv::DeliveredTemplate& t : delivered) {
    SCOPED_TRACE(t.ID_TEMPLATE);
    const pv::ModelEntry* e = nullptr;
    for (const pv::ModelEntry& x : m.Models()) e = x.ID_TEMPLATE == t.ID_TEMPLATE ? &x : e;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Code, t.FormatCode);
    EXPECT_TRUE(e->Codes.split(QStringLiteral(", ")).contains(t.FormatCode));
    EXPECT_EQ(e->Description, t.Description);
    EXPECT_EQ(e->Width, t.Width);
    EXPECT_TRUE(e->printer.isEmpty());
  }
  const pv::ModelEntry& lone = Entry(static_cast<int>(delivered.size()) + 1);
  EXPECT_EQ(lone.ID_TEMPLATE, 90);
  EXPECT_EQ(lone.DimText, QStringLiteral("123 x 45"));
  EXPECT_TRUE(lone.Code.isEmpty());
  EXPECT_TRUE(lone.Codes.isEmpty());
}

TEST_F(WizardLists, DeliveredTemplateRowsAreRestoredAndOthersKept) {
  pv::EnsureDeliveredTemplateRows();
  Exec(QStringLiteral("UPDATE rst_template SET Width = 1 WHERE ID_TEMPLATE = 1"));
  Exec(QStringLiteral("DELETE FROM rst_template WHERE ID_TEMPLATE = 2"));
  Exec(QStringLiteral("INSERT INTO rst_template (Width, Height, Description, ID_TEMPLATE) VALUES (5, 5, 'mio', 50)"));
  pv::EnsureDeliveredTemplateRows();
  const std::vector<pv::TemplateRow> rows = pv::AllTemplates();
  const auto& delivered = pv::DeliveredTemplates();
  ASSERT_EQ(rows.size(), delivered.size() + 1);
  for (std::size_t i = 0; i < delivered.size(); ++i) {
    EXPECT_EQ(rows[i].ID_TEMPLATE, delivered[i].ID_TEMPLATE);
    EXPECT_EQ(rows[i].Width, delivered[i].Width);
    EXPECT_EQ(rows[i].Height, delivered[i].Height);
    EXPECT_EQ(rows[i].Description, delivered[i].Description);
  }
  EXPECT_EQ(rows.back().Description, QStringLiteral("mio"));
}

TEST_F(WizardLists, FoldersListPlainFilesOfTheirKindInAnyCaseSortedByName) {
  for (const char* name : {"c.Bmp", "a.bmp", "B.BMP", "d.jpg", "note.txt"})
    Touch(Home(QStringLiteral("graphics/background/")) + QString::fromLatin1(name));
  QDir().mkpath(Home(QStringLiteral("graphics/background/e.bmp")));  // a folder
  Touch(Home(QStringLiteral("graphics/border/x.EMF")));
  Touch(Home(QStringLiteral("graphics/border/y.bmp")));

  m.Command_Click(3);
  const QString bg = Home(QStringLiteral("graphics/background/"));
  EXPECT_EQ(m.Files(), (QStringList{QString(), bg + "a.bmp", bg + "B.BMP", bg + "c.Bmp"}));
  EXPECT_EQ(m.FileCount(), 3);
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Sfondi trovati: 3"));
  EXPECT_EQ(m.Grid().BitmapX, 140);
  EXPECT_EQ(m.Grid().BitmapY, 80);
  EXPECT_EQ(m.Mode(), 3);

  m.Command_Click(4);
  EXPECT_EQ(m.Files(), (QStringList{QString(), Home(QStringLiteral("graphics/border/x.EMF"))}));
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Bordi trovati: 1"));
}

TEST_F(WizardLists, AnEmptyOrMissingFolderShowsNoCells) {
  m.Command_Click(3);
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Sfondi trovati: 0"));
  QDir().mkpath(Home(QStringLiteral("graphics/border")));
  m.Command_Click(4);
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Bordi trovati: 0"));
  EXPECT_EQ(m.Grid().nBitmap, 0);
}

TEST_F(WizardLists, ADatabaseFailureIsReportedAndLeavesAnEmptyList) {
  Store(QStringLiteral("A"), 100, 50);
  QSqlQuery(QSqlDatabase::database(pv::cnDatabase.ConnectionName)).exec(QStringLiteral("DROP TABLE rst_template"));
  m.Command_Click(2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("DATA Access error : ")));
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Modelli trovati:0"));
  m.Command_Click(1);  // the view goes on working
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Dimensioni trovate:1"));

  // A database that never opened was reported at start-up: no more boxes.
  pv::CloseDatabase();
  boxes.clear();
  m.Init();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(m.CountCaption(), QStringLiteral("Dimensioni trovate:0"));
}

// ---- Apply ---------------------------------------------------------------------------

class WizardApply : public WizardLists {};

TEST_F(WizardApply, ASizeSetsTheHeaderThenTheEditorThePanelAndTheView) {
  Store(QStringLiteral("A"), 100, 50);
  Store(QStringLiteral("P"), 99.1, 38.1);
  m.Command_Click(1);
  m.ClickImage(2);
  EXPECT_EQ(log.calls, QStringList{QStringLiteral("PopupModelMenu")});
  EXPECT_EQ(m.SelIndex(), 2);
  log.calls.clear();

  m.Apply(2);  // "Elimina" changes nothing here
  EXPECT_TRUE(log.calls.isEmpty());
  EXPECT_EQ(pv::Header.LabelWidth, 0.0);

  m.Apply(0);
  EXPECT_EQ(log.calls,
            (QStringList{QStringLiteral("SetParameter 99.1 x 38.1 P"), QStringLiteral("ResetPrinterInformation"),
                         QStringLiteral("SelectView tbr_editor")}));
}

TEST_F(WizardApply, ATemplateIsLoadedFirstAndThenTakesTheEntrysSizeAndCode) {
  pv::CloseDatabase();
  QFile::remove(pv::DatabaseFileName());
  pv::OpenDatabase();
  ASSERT_TRUE(pv::WriteDeliveredTemplates(Home(QStringLiteral("graphics/template"))));
  m.Init();
  m.Command_Click(2);
  const pv::DeliveredTemplate& t = pv::DeliveredTemplates()[1];
  Click(m, 2);
  // The template's own header is replaced by the entry's.
  pv::LabFileContent content = pv::DeliveredTemplateContent(t);
  content.Header.LabelFormatCode = QStringLiteral("ALTRO");
  QFile file(Home(QStringLiteral("graphics/template/2.LAB")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_TRUE(pv::WriteLabFile(file, content));
  file.close();

  m.Apply(0);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(pv::ObjCount, content.Block.Count);
  EXPECT_EQ(pv::Header.LabelFormatCode, t.FormatCode);
  const QString size = QStringLiteral("SetParameter %1 x %2 %3").arg(t.Width).arg(t.Height);
  EXPECT_EQ(log.calls,
            (QStringList{QStringLiteral("LoadData"), size.arg(QStringLiteral("ALTRO")), QStringLiteral("SetStatusBar"),
                         QStringLiteral("ResetPrinterInformation"), size.arg(t.FormatCode),
                         QStringLiteral("ResetPrinterInformation"), QStringLiteral("SelectView tbr_editor")}));
  log.calls.clear();
  m.Apply(2);
  EXPECT_TRUE(log.calls.isEmpty());
}

TEST_F(WizardApply, AMissingTemplateIsReportedAndTheEntryAppliedAllTheSame) {
  pv::CloseDatabase();
  QFile::remove(pv::DatabaseFileName());
  pv::OpenDatabase();
  m.Init();
  m.Command_Click(2);
  Click(m, 1);
  pv::ObjCount = 0;
  m.Apply(0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, pv::LoadResString(15096));
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Critical);
  EXPECT_EQ(pv::ObjCount, 0);
  const pv::DeliveredTemplate& t = pv::DeliveredTemplates()[0];
  EXPECT_EQ(log.calls,
            (QStringList{QStringLiteral("SetParameter %1 x %2 %3").arg(t.Width).arg(t.Height).arg(t.FormatCode),
                         QStringLiteral("ResetPrinterInformation"), QStringLiteral("SelectView tbr_editor")}));
}

TEST_F(WizardApply, BackgroundsAndBordersAreSetAndRemovedAndTheViewStays) {
  Touch(Home(QStringLiteral("graphics/background/fondo.bmp")));
  Touch(Home(QStringLiteral("graphics/border/cornice.emf")));
  struct Case {
    int mode;
    QString* name;
    QString file;
  };
  const Case cases[] = {{3, &pv::BackgroundName, Home(QStringLiteral("graphics/background/fondo.bmp"))},
                        {4, &pv::BorderName, Home(QStringLiteral("graphics/border/cornice.emf"))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    *c.name = pv::FixedName(QString());
    m.Command_Click(c.mode);
    Click(m, 1);
    m.Apply(0);
    EXPECT_EQ(*c.name, pv::FixedName(c.file));
    m.Apply(2);
    EXPECT_EQ(*c.name, pv::FixedName(QString()));
    m.Apply(2);  // nothing set: still nothing
    EXPECT_EQ(*c.name, pv::FixedName(QString()));
    EXPECT_TRUE(log.calls.isEmpty());
  }
}

TEST_F(WizardApply, APathTooLongForTheStoredNameIsRefusedAndTheNameKept) {
  const QString file = Home(QStringLiteral("graphics/background/") + QString(130, QLatin1Char('s')) + ".bmp");
  Touch(file);
  pv::BackgroundName = pv::FixedName(QStringLiteral("/labels/old.bmp"));
  m.Command_Click(3);
  Click(m, 1);
  m.Apply(0);
  EXPECT_EQ(pv::BackgroundName, pv::FixedName(QStringLiteral("/labels/old.bmp")));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  EXPECT_TRUE(boxes[0].text.contains(file));
}

TEST_F(WizardApply, LoadingALabelSwitchesToTheEditorOnlyWhenAFileWasRead) {
  class Answer : public pv::CommonDialogHost {
   public:
    std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest&) override {
      if (path.isEmpty()) return std::nullopt;
      return pv::FileDialogResult{path, 1};
    }
    QString path;
  } dialogs;
  pv::SetCommonDialogHost(&dialogs);
  m.Command_Click(1);
  log.calls.clear();
  m.Command_Click(0);  // cancelled
  EXPECT_FALSE(log.calls.contains(QStringLiteral("SelectView tbr_editor")));
  EXPECT_EQ(m.Mode(), 1);

  ASSERT_TRUE(pv::WriteDeliveredTemplates(Home(QStringLiteral("t"))));
  dialogs.path = Home(QStringLiteral("t/3.LAB"));
  m.Command_Click(0);
  EXPECT_EQ(log.calls.last(), QStringLiteral("SelectView tbr_editor"));
  EXPECT_EQ(pv::ObjCount, pv::DeliveredTemplateContent(pv::DeliveredTemplates()[2]).Block.Count);
  EXPECT_EQ(m.Mode(), 1);
  pv::SetCommonDialogHost(nullptr);
}

TEST_F(WizardApply, SelectDimensionTakesTheLastUsedFormatOfTheExactSize) {
  Store(QStringLiteral("X"), 99.1, 38.1);
  Store(QStringLiteral("Y"), 99.1, 38.1);
  Store(QStringLiteral("Z"), 99.1, 38.1);
  Store(QStringLiteral("NEAR"), 99.15, 38.1);
  m.LoadDimension();
  m.SelectDimension(1);
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("X"));  // none marked: the first
  EXPECT_EQ(log.calls, (QStringList{QStringLiteral("ResetPrinterInformation"),
                                    QStringLiteral("SetParameter 99.1 x 38.1 X"), QStringLiteral("SetStatusBar")}));
  pv::SetFormatLastUsed(QStringLiteral("Y"), true);
  pv::SetFormatLastUsed(QStringLiteral("Z"), true);
  pv::SetFormatLastUsed(QStringLiteral("NEAR"), true);
  m.SelectDimension(1);
  EXPECT_EQ(pv::Header.LabelFormatCode, QStringLiteral("Z"));  // later rows win
  EXPECT_EQ(pv::Header.LabelWidth, 99.1);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
