// The merge source of the print run: a registration opened with the run's
// filter and sort, its records counted into pages; what the page drawing
// reads of it label by label.
#include "mergefixture.h"

#include "datasources/process/readerprocess.h"

#include "document/predefinedfields.h"
#include "render/libraries.h"
#include "tests/support/faultyreader.h"
#include "tests/support/records.h"

namespace {

using printtest::ChangeRun;
using printtest::CurrentRun;
using printtest::MergeTest;

TEST_F(MergeTest, RecordCountsBecomePagesWithTheLastPageCut) {
  struct Case {
    int records, pages, lastLabel;
  } const cases[] = {{8, 2, 4}, {9, 3, 1}, {7, 2, 3}, {1, 1, 1}};
  controls.stopPageTicked = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.records);
    const qint64 id = RegisterRows(c.records, QStringLiteral("t%1").arg(c.records));
    pv::PrintRun().SetPageNumber(3);
    pv::PrintRun().ChooseMergeSource(std::int32_t(id));
    EXPECT_TRUE(pv::PrintRun().Merging());
    EXPECT_EQ(CurrentRun().m_PageCount, c.pages);
    EXPECT_EQ(CurrentRun().m_FirstLabel, 1);
    EXPECT_EQ(CurrentRun().m_LastLabel, c.lastLabel);
    EXPECT_EQ(CurrentRun().m_RangePages, 3);
    EXPECT_EQ(CurrentRun().m_CountMode, 0);
    EXPECT_EQ(pv::PrintRun().PageNumber(), 1);
    ASSERT_FALSE(controls.manualOptions.empty());
    EXPECT_FALSE(controls.manualOptions.back());
    ASSERT_NE(pv::PrintRun().MergeRecordset(), nullptr);
    EXPECT_EQ(pv::PrintRun().MergeFieldNames(),
              (QStringList{QStringLiteral("NOME"), QStringLiteral("CITTA"), QStringLiteral("NOTE"),
                           QStringLiteral("NUM"), QStringLiteral("SALDO")}));
  }
  EXPECT_EQ(pv::ProgramSettings().PrintStopPage, pv::VbTrue);  // from the panel's check box
  EXPECT_GE(controls.controlInformation, 4);
  EXPECT_GE(controls.refreshes, 4);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MergeTest, NoRecordsOrNoSourceEndTheMergeWithOneWholePage) {
  const qint64 good = RegisterRows(9);
  const qint64 empty = RegisterRows(0, QStringLiteral("vuota"));
  const qint64 nowhere = Register(Home(QStringLiteral("no/such/folder")), QStringLiteral("clienti"));
  const qint64 gone = RegisterRows(5, QStringLiteral("andata"));
  pv::RegistrationStore(pv::rsRegistrations).Remove(gone);  // since the list was filled

  struct Case {
    qint64 id;
    int message;
  } const cases[] = {{empty, 31025}, {nowhere, 31026}, {gone, 31026}, {987654, 31026}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    // From a merge in force, and from none.
    for (bool merging : {true, false}) {
      if (merging) {
        pv::PrintRun().ChooseMergeSource(std::int32_t(good));
        ASSERT_TRUE(pv::PrintRun().Merging());
      }
      boxes.clear();
      controls.noMergeSelections = 0;
      pv::PrintRun().ChooseMergeSource(std::int32_t(c.id));
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(CountBoxes(c.message), 1);
      EXPECT_EQ(controls.noMergeSelections, 1);
      EXPECT_FALSE(pv::PrintRun().Merging());
      EXPECT_EQ(CurrentRun().m_RegistrationId, -1);
      EXPECT_EQ(pv::PrintRun().MergeRecordset(), nullptr);
      EXPECT_EQ(CurrentRun().m_PageCount, 1);
      EXPECT_EQ(CurrentRun().m_LastLabel, 4);
      EXPECT_EQ(CurrentRun().m_RangePages, 0);
      EXPECT_TRUE(controls.manualOptions.back());
    }
  }
  // The panel stays usable.
  pv::PrintRun().ChooseMergeSource(std::int32_t(good));
  EXPECT_TRUE(pv::PrintRun().Merging());
  EXPECT_EQ(CurrentRun().m_PageCount, 3);
}

TEST_F(MergeTest, AFormatWithoutLabelsLeavesEverythingAsItWas) {
  const qint64 id = RegisterRows(9);
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_Format.Sheet.nOri = 0;
    r.m_PageCount = 5;
    r.m_LastLabel = 2;
    r.m_RangePages = 1;
  });
  pv::ProgramSettings().PrintStopPage = 0;
  controls.stopPageTicked = true;
  pv::PrintRun().SetPageNumber(4);
  pv::PrintRun().ChooseMergeSource(std::int32_t(id));
  EXPECT_FALSE(pv::PrintRun().GetMergeInformation());
  EXPECT_FALSE(pv::PrintRun().Merging());
  EXPECT_EQ(CurrentRun().m_PageCount, 5);
  EXPECT_EQ(CurrentRun().m_LastLabel, 2);
  EXPECT_EQ(CurrentRun().m_RangePages, 1);
  EXPECT_EQ(pv::ProgramSettings().PrintStopPage, 0);
  EXPECT_EQ(pv::PrintRun().PageNumber(), 4);
  EXPECT_EQ(controls.controlInformation, 0);
  EXPECT_TRUE(controls.manualOptions.empty());
  EXPECT_EQ(controls.noMergeSelections, 0);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MergeTest, BuiltInRowsOpenFromTheProgramFolderUserRowsAsWritten) {
  printtest::WriteMergeTable(Home(QStringLiteral("database")), QStringLiteral("indirizzi"), 6);
  pv::Registration builtIn;
  for (const pv::Registration& r : pv::RegistrationStore(pv::rsRegistrations).All()) {
    if (r.system) builtIn = r;
  }
  ASSERT_TRUE(builtIn.connectionString.contains(QStringLiteral("%PATH%")));
  pv::PrintRun().ChooseMergeSource(std::int32_t(builtIn.id));
  EXPECT_TRUE(pv::PrintRun().Merging());
  EXPECT_EQ(CurrentRun().m_PageCount, 2);
  EXPECT_EQ(CurrentRun().m_LastLabel, 2);

  // The same string in a user's row keeps "%PATH%", which names no folder.
  const qint64 user = Register(QString(), builtIn.recordSetName, builtIn.connectionString);
  pv::PrintRun().ChooseMergeSource(std::int32_t(user));
  EXPECT_FALSE(pv::PrintRun().Merging());
  EXPECT_EQ(CountBoxes(31026), 1);
}

// A source that cannot be opened or read says why: the reader's own reason
// is the details of the message that ends the merge.
TEST_F(MergeTest, TheReasonASourceCannotBeReadIsTheMessagesDetails) {
  const QString folder = Home(QStringLiteral("dati"));
  printtest::WriteMergeTable(folder, QStringLiteral("clienti"), 3);
  printtest::WriteDamagedTable(folder, QStringLiteral("rotta"));
  struct Case {
    const char* what;
    QString table;
    QString fault;  // made by the test build of the reader
    int timeLimitMs;
    qint64 memoryLimit;
    QString reason;  // a part of the details
  } const cases[] = {
    {"time limit", QStringLiteral("clienti"), QStringLiteral("hang@Open"), 500, 0, QStringLiteral("tempo massimo")},
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's reader has no memory limit, and it ends a crashed
    // reader with its own exit code rather than the signal.
    {"memory limit", QStringLiteral("clienti"), QStringLiteral("memory@Open"), 60000, qint64{512} << 20,
     QStringLiteral("limite di memoria")},
    {"reader stopped", QStringLiteral("clienti"), QStringLiteral("crash@Open"), 60000, 0,
     QStringLiteral("si è interrotto (segnale 11)")},
#else
    {"reader stopped", QStringLiteral("clienti"), QStringLiteral("crash@Open"), 60000, 0,
     QStringLiteral("si è interrotto (")},
#endif
    {"damaged file", QStringLiteral("rotta"), QString(), 60000, 0, QStringLiteral("rotta")},
    {"missing table", QStringLiteral("assente"), QString(), 60000, 0, QStringLiteral("assente")},
  };
  const pv::ReaderProcessSettings saved = pv::ReaderSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pv::ReaderProcessSettings settings = saved;
    if (!c.fault.isEmpty()) settings.program = QStringLiteral(PLAVIK_READER_FAULTS_PROGRAM);
    settings.fault = c.fault;
    settings.timeLimitMs = c.timeLimitMs;
    settings.memoryLimit = c.memoryLimit;
    pv::SetReaderSettings(settings);
    pv::ClearTableCache();
    boxes.clear();
    pv::PrintRun().ChooseMergeSource(std::int32_t(Register(folder, c.table)));
    pv::SetReaderSettings(saved);
    EXPECT_FALSE(pv::PrintRun().Merging());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(CountBoxes(31026), 1);
    EXPECT_TRUE(boxes[0].detail.contains(c.reason)) << boxes[0].detail.toStdString();
  }
}

TEST_F(MergeTest, TheSortStaysThroughEveryFilterAndANewChoiceClearsBoth) {
  const qint64 id = RegisterRows(9);  // Roma on rows 0, 3, 6
  pv::PrintEngine& e = pv::PrintRun();
  e.ChooseMergeSource(std::int32_t(id));
  ASSERT_TRUE(e.SetPrintSort(QStringLiteral("[NOME] DESC")));
  EXPECT_EQ(Column(QStringLiteral("NOME")).front(), QStringLiteral("Nome00008"));

  ASSERT_TRUE(e.SetPrintFilter(QStringLiteral("[CITTA] = 'Roma'")));
  EXPECT_TRUE(e.Merging());
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 3);
  EXPECT_EQ(Column(QStringLiteral("NOME")),
            (QStringList{QStringLiteral("Nome00006"), QStringLiteral("Nome00003"), QStringLiteral("Nome00000")}));
  EXPECT_EQ(e.Run().m_Sort, QStringLiteral("[NOME] DESC"));

  // Refused by the source: one message, the run as it was.
  EXPECT_FALSE(e.SetPrintFilter(QStringLiteral("[CITTA] = = 'Roma'")));
  EXPECT_FALSE(e.SetPrintSort(QStringLiteral("[NESSUNO] ASC")));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Exclamation);
  EXPECT_EQ(e.Run().m_Filter, QStringLiteral("[CITTA] = 'Roma'"));
  EXPECT_EQ(e.Run().m_Sort, QStringLiteral("[NOME] DESC"));
  EXPECT_EQ(Column(QStringLiteral("NOME")).size(), 3);
  EXPECT_EQ(Column(QStringLiteral("NOME")).front(), QStringLiteral("Nome00006"));
  EXPECT_TRUE(e.Merging());

  // A format change reopens the source: filter and sort both hold.
  pv::Header.LabelFormatCode = QStringLiteral("T-9");
  e.ResetPrinterInformation();
  EXPECT_EQ(Column(QStringLiteral("NOME")).front(), QStringLiteral("Nome00006"));
  EXPECT_EQ(Column(QStringLiteral("NOME")).size(), 3);

  // A new choice starts unsorted and unfiltered.
  e.ChooseMergeSource(std::int32_t(id));
  EXPECT_TRUE(e.Run().m_Sort.isEmpty());
  EXPECT_TRUE(e.Run().m_Filter.isEmpty());
  EXPECT_EQ(Column(QStringLiteral("NOME")).front(), QStringLiteral("Nome00000"));
  EXPECT_EQ(Column(QStringLiteral("NOME")).size(), 9);

  // A filter that leaves nothing ends the merge.
  boxes.clear();
  EXPECT_TRUE(e.SetPrintFilter(QStringLiteral("[CITTA] = 'Torino'")));
  EXPECT_EQ(CountBoxes(31025), 1);
  EXPECT_FALSE(e.Merging());
  EXPECT_EQ(CurrentRun().m_RangePages, 0);
}

// "Annulla" on the wait notice while the source is read is the user's
// choice: no message, and the merge in force stays with its sort, filter
// and pages, counted again where the run changed meanwhile.
TEST_F(MergeTest, ACancelledReadKeepsTheMergeInForce) {
  const qint64 id = RegisterRows(9);
  const qint64 other = RegisterRows(5, QStringLiteral("altra"));
  pv::PrintEngine& e = pv::PrintRun();
  e.ChooseMergeSource(std::int32_t(id));
  ASSERT_TRUE(e.SetPrintSort(QStringLiteral("[NOME] DESC")));
  e.SetPageNumber(2);
  const auto expectKept = [&](const char* first, int records, int pages, int lastLabel) {
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(controls.noMergeSelections, 0);
    EXPECT_TRUE(e.Merging());
    EXPECT_EQ(CurrentRun().m_RegistrationId, id);
    EXPECT_EQ(e.Run().m_Sort, QStringLiteral("[NOME] DESC"));
    EXPECT_EQ(Column(QStringLiteral("NOME")).size(), records);
    EXPECT_EQ(Column(QStringLiteral("NOME")).value(0), QString::fromLatin1(first));
    EXPECT_EQ(CurrentRun().m_PageCount, pages);
    EXPECT_EQ(CurrentRun().m_LastLabel, lastLabel);
    EXPECT_EQ(CurrentRun().m_RangePages, 3);
  };
  ASSERT_TRUE(e.SetPrintFilter(QStringLiteral("[CITTA] <> 'Bari'")));  // 6 records, 4 a page

  const auto wait = std::make_shared<testing::CancellingWait>();
  const testing::ReaderSettingsScope hang(testing::FaultyReader(QStringLiteral("hang@ReadTable"), wait));
  // Another source chosen: the one before stays, page and all.
  e.SetPageNumber(2);
  e.ChooseMergeSource(std::int32_t(other));
  expectKept("Nome00007", 6, 2, 2);
  EXPECT_EQ(e.Run().m_Filter, QStringLiteral("[CITTA] <> 'Bari'"));
  EXPECT_EQ(e.PageNumber(), 2);
  EXPECT_EQ(wait->asked, 1);

  // A filter the open source took, then a read again cancelled: the filter
  // holds, its pages counted.
  pv::ClearTableCache();
  EXPECT_TRUE(e.SetPrintFilter(QStringLiteral("[CITTA] = 'Roma'")));
  expectKept("Nome00006", 3, 1, 3);
  EXPECT_EQ(e.Run().m_Filter, QStringLiteral("[CITTA] = 'Roma'"));

  // A new format whose read is cancelled: its grid, the same records.
  pv::ClearTableCache();
  ASSERT_TRUE(e.SetPrintFilter(QString()));
  pv::ClearTableCache();
  pv::Header.LabelFormatCode = QStringLiteral("T-9");
  e.ResetPrinterInformation();
  EXPECT_EQ(e.Run().m_Format.Sheet.nOri, 3);
  expectKept("Nome00008", 9, 1, 9);
  EXPECT_EQ(wait->asked, 4);
}

TEST_F(MergeTest, AFormatChosenWhileMergingLoadsAndRecountsOnTheNewGrid) {
  const qint64 id = RegisterRows(10);
  pv::PrintEngine& e = pv::PrintRun();
  e.ChooseMergeSource(std::int32_t(id));
  EXPECT_EQ(CurrentRun().m_PageCount, 3);
  EXPECT_EQ(CurrentRun().m_LastLabel, 2);

  pv::Header.LabelFormatCode = QStringLiteral("T-9");
  e.ResetPrinterInformation();
  EXPECT_TRUE(e.Merging());
  EXPECT_EQ(e.Run().m_Format.Sheet.nOri, 3);
  EXPECT_EQ(controls.prepared.back().w, 85);
  EXPECT_EQ(controls.formatCaptions.back(), QStringLiteral("Formato di stampa: T-9"));
  EXPECT_EQ(CurrentRun().m_PageCount, 2);
  EXPECT_EQ(CurrentRun().m_LastLabel, 1);
  EXPECT_EQ(CurrentRun().m_RangePages, 3);
  EXPECT_EQ(controls.pageCaptions.back(), QStringLiteral("Numero di pagine: 1 di  2"));
  EXPECT_TRUE(boxes.empty());

  // Giving the source up makes the new format's run one whole page.
  e.GiveUpMergeSource();
  EXPECT_FALSE(e.Merging());
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 9);
  EXPECT_EQ(CurrentRun().m_RangePages, 0);

  // A source gone by the next format change: its message, then no merge on
  // the format just chosen.
  e.ChooseMergeSource(std::int32_t(id));
  ASSERT_TRUE(e.Merging());
  ASSERT_TRUE(QFile::remove(Home(QStringLiteral("dati/clienti.dbf"))));
  pv::ClearTableCache();
  pv::Header.LabelFormatCode = QStringLiteral("T-4");
  e.ResetPrinterInformation();
  EXPECT_EQ(CountBoxes(31026), 1);
  EXPECT_FALSE(e.Merging());
  EXPECT_EQ(e.Run().m_Format.Sheet.nOri, 2);
  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 4);
  EXPECT_EQ(CurrentRun().m_RangePages, 0);
  EXPECT_EQ(controls.formatCaptions.back(), QStringLiteral("Formato di stampa: T-4"));
}

// Every text the label drawing shows, in the order drawn.
struct RecordingFields : pv::RenderLibraries {
  struct Seen {
    QString value;
  };
  std::vector<Seen> seen;
  void ScrivaDraw(pv::DeviceContext*, const char* text, pv::Rect*, double, std::int32_t) override {
    seen.push_back({QString::fromUtf8(text)});
  }
};

TEST_F(MergeTest, FortyThousandRecordsPrintPastSixteenBitsOnTheirOwnLabels) {
  const qint64 id = RegisterRows(40001);
  pv::PrintEngine& e = pv::PrintRun();
  e.ChooseMergeSource(std::int32_t(id));
  ASSERT_TRUE(e.Merging());
  EXPECT_EQ(CurrentRun().m_PageCount, 10001);
  EXPECT_EQ(CurrentRun().m_LastLabel, 1);

  pv::ObjectRecord field = pv::test::BoxRecord(pv::UserTypeDatabaseField, 10, 5, 20, 10);
  field.Content = QStringLiteral("NUM");
  pv::test::AppendRecord(field);
  field.Content = QString::fromLatin1(pv::kPredefinedCounter);
  pv::test::AppendRecord(field);
  RecordingFields fields;
  pv::RenderLibraries* old = pv::SetRenderLibraries(&fields);

  const auto drawPage = [&](std::int32_t page) {
    fields.seen.clear();
    e.SetPageNumber(page);
    pv::ImageSurface surface(600, 350, 254, 254, pv::Rgb(255, 255, 255), QImage::Format_RGB32);
    EXPECT_TRUE(e.PrintPage(surface.dc(), false));
    surface.finish();
  };
  // The page before the last: records 39997..40000 on labels 39996..39999;
  // a repaint of page 1 in between moves nothing that the next page reads.
  drawPage(10000);
  ASSERT_EQ(fields.seen.size(), 8u);
  EXPECT_EQ(fields.seen[0].value, QStringLiteral("39997"));
  EXPECT_EQ(fields.seen[1].value, QStringLiteral("39997"));
  EXPECT_EQ(fields.seen[6].value, QStringLiteral("40000"));
  EXPECT_EQ(fields.seen[7].value, QStringLiteral("40000"));  // the counter: running index 39999
  drawPage(1);
  EXPECT_EQ(fields.seen[0].value, QStringLiteral("1"));

  // The last page prints its one label.
  drawPage(10001);
  ASSERT_EQ(fields.seen.size(), 2u);
  EXPECT_EQ(fields.seen[0].value, QStringLiteral("40001"));
  EXPECT_EQ(fields.seen[1].value, QStringLiteral("40001"));  // the counter: running index 40000

  // Printed whole, the positions past the last record have no record: the
  // column is empty, the counter goes on.
  ChangeRun([&](pv::PrintRunValues& r) { r.m_RangePages = 0; });
  drawPage(10001);
  ASSERT_EQ(fields.seen.size(), 8u);
  EXPECT_EQ(fields.seen[2].value, QString());
  EXPECT_EQ(fields.seen[3].value, QStringLiteral("40002"));
  EXPECT_EQ(fields.seen[7].value, QStringLiteral("40004"));  // running index 40003
  pv::SetRenderLibraries(old);
}

}  // namespace
