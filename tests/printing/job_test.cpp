// The print job on the "PDF" printer and on a CUPS queue (through the
// spooler seam and through libcups itself).
#include "tests/support/answer_boxes.h"
#include "pdftools.h"
#include "printfixture.h"
#include "document/predefinedfields.h"
#include "document/clipboard.h"
#include "tests/support/records.h"
#include "printing/spooler.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QFile>
#include <QFileInfo>

#include <QDir>

#include <map>

#include <signal.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using printtest::ChangeRun;
using printtest::CurrentRun;
using printtest::Ink;

class JobTest : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    TwoByTwo();
    SolidBackground();
    ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 3; });
    dialogs.answer = Home(QStringLiteral("out.pdf"));
  }
  void TearDown() override {
    pv::SetSpooler(nullptr);
    PrintTest::TearDown();
  }
  void UseCupsPrinter() {
    fake.printers = QStringList{QStringLiteral("plavik-no-such-queue")};
    fake.defaultPrinter = fake.printers[0];
    fake.caps = pv::PrinterCaps{254, 254, 0, 0, 210, 297};
    pv::SetFakePrintSystem(&fake);
  }
};

TEST_F(JobTest, AllPagesGoIntoThePdfWithTheLabelsWhereTheLayoutPutsThem) {
  pv::PrintRun().SetPageNumber(2);
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_RangePages = 3;
    r.m_FirstLabel = 1;
    r.m_LastLabel = 2;
  });
  pv::PrintRun().PrintDocument(true);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(dialogs.asked, 1);
  const QString pdf = Home(QStringLiteral("out.pdf"));
  ASSERT_EQ(printtest::PdfPages(pdf), 3);
  // Progress 1 .. PageCount + 2, one step a page; the page number comes back.
  EXPECT_EQ(controls.progressMaximum, 5);
  EXPECT_EQ(controls.progressValues, (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(controls.progressShown, (std::vector<bool>{true, false}));
  EXPECT_EQ(pv::PrintRun().PageNumber(), 2);
  EXPECT_EQ(editor.saves, 1);  // once for the whole job

  // Rendered at the job's 254 dpi, the pixels are the layout's device units.
  const pv::RunValues run = CurrentRun().Pages();
  pv::LayoutTarget target;
  target.DpiX = target.DpiY = 254;
  for (int page : {1, 3}) {
    const QImage img = printtest::PdfPage(pdf, page, 254);
    ASSERT_FALSE(img.isNull());
    const pv::PageLayout layout = pv::LayoutPage(CurrentRun().m_Format.Sheet, 20, 10, run, page, target);
    ASSERT_EQ(layout.Cells.size(), page == 3 ? 2u : 4u);
    for (const pv::LabelCell& c : layout.Cells) {
      EXPECT_TRUE(Ink(img, (c.X1 + c.X2) / 2, (c.Y1 + c.Y2) / 2)) << page << "/" << c.n;
      EXPECT_FALSE(Ink(img, c.X1 - 5, c.Y1 - 5));
    }
    EXPECT_EQ(Ink(img, 400, 250), page != 3);  // position 4 only on full pages
    EXPECT_FALSE(Ink(img, 1000, 1000));
  }
}

TEST_F(JobTest, OnePageJobStepsOneToFive) {
  pv::PrintRun().SetPageNumber(3);
  pv::PrintRun().PrintDocument(false);
  EXPECT_EQ(printtest::PdfPages(Home(QStringLiteral("out.pdf"))), 1);
  EXPECT_EQ(controls.progressMaximum, 5);
  EXPECT_EQ(controls.progressValues, (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(pv::PrintRun().PageNumber(), 3);
  ASSERT_FALSE(controls.pageCaptions.isEmpty());
  EXPECT_EQ(controls.pageCaptions.back(), QStringLiteral("Numero di pagine: 3 di  3"));
}

TEST_F(JobTest, CancelledFileChoicePrintsNothingAndSaysNothing) {
  dialogs.answer.clear();
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(dialogs.asked, 1);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(controls.progressShown.empty());
  EXPECT_FALSE(QFileInfo::exists(Home(QStringLiteral("out.pdf"))));
  EXPECT_EQ(editor.saves, 0);
}

TEST_F(JobTest, FailuresSayPrintingError) {
  // No print system at all.
  fake.unavailable = true;
  pv::SetFakePrintSystem(&fake);
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(CountPrintingErrors(), 1);
  EXPECT_FALSE(boxes.back().detail.isEmpty());
  EXPECT_EQ(dialogs.asked, 0);
  EXPECT_EQ(CurrentRun().m_PageCount, 3);
  // A file that cannot be written.
  fake.unavailable = false;
  pv::SetFakePrintSystem(&fake);
  dialogs.answer = Home(QStringLiteral("no/such/folder/out.pdf"));
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(CountPrintingErrors(), 2);
  EXPECT_EQ(boxes.back().detail, QStringLiteral("Impossibile scrivere il file \"%1\".").arg(dialogs.answer));
  EXPECT_EQ(controls.progressShown.back(), false);
  // Either way the engine is free for the next job.
  EXPECT_FALSE(pv::PrintRun().JobRunning());
}

TEST_F(JobTest, CupsQueueGetsOnePdfOrOneJobAPageAndItsRefusalIsReported) {
  UseCupsPrinter();
  struct Submitted {
    pv::SpoolRequest request;
    int pages;
  };
  std::vector<Submitted> jobs;
  bool accept = true;
  bool stopped = false;
  pv::SetSpooler([&](const pv::SpoolRequest& r) {
    jobs.push_back({r, printtest::PdfPages(r.PdfFile)});
    return pv::SpoolResult{accept, stopped, accept ? QString() : QStringLiteral("La stampante non accetta lavori.")};
  });
  pv::DocFileName = Home(QStringLiteral("spedizioni.lab"));
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(dialogs.asked, 0);  // no file is asked for a printer
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].request.Printer, QStringLiteral("plavik-no-such-queue"));
  EXPECT_EQ(jobs[0].pages, 3);
  // Named by the program and the document; on the format's 60 x 35 mm sheet.
  EXPECT_EQ(jobs[0].request.Title, pv::LoadResString(1000) + QStringLiteral(" - spedizioni.lab"));
  EXPECT_EQ(jobs[0].request.Paper.Media, QStringLiteral("custom_60x35mm_60x35mm"));
  EXPECT_FALSE(jobs[0].request.Paper.Landscape);
  EXPECT_TRUE(boxes.empty());

  // Waiting for the form before every page: one job a page, message 16200 each.
  jobs.clear();
  pv::ProgramSettings().PrintStopPage = pv::VbTrue;
  pv::PrintRun().PrintDocument(true);
  ASSERT_EQ(jobs.size(), 3u);
  for (const auto& j : jobs) EXPECT_EQ(j.pages, 1);
  EXPECT_EQ(Count16200(), 3);

  // A stopped queue that keeps the pages: one notice for the whole job.
  jobs.clear();
  boxes.clear();
  stopped = true;
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(jobs.size(), 3u);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes.back().text, pv::QueueStoppedText(QStringLiteral("plavik-no-such-queue")));
  EXPECT_EQ(boxes.back().icon, pv::MsgIcon::Exclamation);

  // A queue that refuses: the job stops with the message, the reason as its
  // details.
  jobs.clear();
  boxes.clear();
  accept = false;
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(jobs.size(), 1u);  // the first page's job was refused: nothing further
  EXPECT_EQ(CountPrintingErrors(), 1);
  EXPECT_EQ(boxes.back().detail, QStringLiteral("La stampante non accetta lavori."));
}

// A long run whose labels show their numbers: every page holds its own
// labels in order (the short last page two), each label's ink reaches its
// edges and stops there, on the first, a middle and the last page; the
// progress rises to the end; on a queue it is one job of every page.
TEST_F(JobTest, ALongRunPrintsEveryLabelOnItsPageInOneFile) {
  const int pages = 129;
  pv::ObjectRecord counter = pv::test::BoxRecord(pv::UserTypeDatabaseField, pv::PageOrgX + 10, pv::PageOrgY + 5, 18, 8);
  counter.FontName = QStringLiteral("DejaVu Sans");
  counter.FontSize = 12;
  counter.Color1 = 0xffffff;
  counter.Content = QString::fromLatin1(pv::kPredefinedCounter);
  pv::test::AppendRecord(counter);
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_PageCount = pages;
    r.m_RangePages = 3;  // the last page: positions 1 and 2 only
    r.m_FirstLabel = 1;
    r.m_LastLabel = 2;
  });
  // Committed as the editor commits it before a job.
  pv::SaveData();
  pv::PrintRun().PrintDocument(true);
  ASSERT_TRUE(boxes.empty()) << boxes.front().detail.toStdString();
  EXPECT_EQ(editor.saves, 1);

  const QString pdf = Home(QStringLiteral("out.pdf"));
  ASSERT_EQ(printtest::PdfPages(pdf), pages);
  const std::vector<QStringList> words = printtest::PdfPageWords(pdf);
  ASSERT_GE(words.size(), std::size_t(pages));
  for (int page = 1; page <= pages; ++page) {
    QStringList numbers;
    for (int i = 0; i < (page == pages ? 2 : 4); ++i) numbers << QString::number(4 * (page - 1) + 1 + i);
    EXPECT_EQ(words[std::size_t(page - 1)], numbers) << page;
  }
  const pv::RunValues run = CurrentRun().Pages();
  pv::LayoutTarget target;
  target.DpiX = target.DpiY = 254;
  for (int page : {1, 65, pages}) {
    const QImage img = printtest::PdfPage(pdf, page, 254);
    ASSERT_FALSE(img.isNull());
    const pv::PageLayout layout = pv::LayoutPage(CurrentRun().m_Format.Sheet, 20, 10, run, page, target);
    ASSERT_EQ(layout.Cells.size(), page == pages ? 2u : 4u);
    for (const pv::LabelCell& c : layout.Cells) {
      EXPECT_TRUE(Ink(img, c.X1 + 3, c.Y1 + 3)) << page << "/" << c.n;
      EXPECT_TRUE(Ink(img, c.X2 - 3, c.Y2 - 3)) << page << "/" << c.n;
      EXPECT_FALSE(Ink(img, c.X1 - 5, c.Y1 - 5)) << page << "/" << c.n;
      EXPECT_FALSE(Ink(img, c.X2 + 5, c.Y2 + 5)) << page << "/" << c.n;
    }
  }
  ASSERT_FALSE(controls.progressValues.empty());
  EXPECT_TRUE(std::is_sorted(controls.progressValues.begin(), controls.progressValues.end()));
  EXPECT_EQ(controls.progressValues.back(), pages + 2);
  EXPECT_EQ(controls.progressShown.back(), false);

  UseCupsPrinter();
  std::vector<int> jobs;
  pv::SetSpooler([&](const pv::SpoolRequest& r) {
    jobs.push_back(printtest::PdfPages(r.PdfFile));
    return pv::SpoolResult{true, false, QString()};
  });
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(jobs, std::vector<int>{pages});
  EXPECT_TRUE(boxes.empty());
}

// A folder of the test's own for the "PDF" printer's target, holding a
// previous file, which can be made full or read-only: as root (whom file
// rights do not stop) a small file system of its own is mounted there,
// else a file-size limit stands in.
class TargetFolder {
 public:
  explicit TargetFolder(const QString& path) : m_path(path) {
    QDir().mkpath(path);
    if (::geteuid() == 0) m_mounted = ::mount("tmpfs", qPrintable(path), "tmpfs", 0, "size=96k,mode=0755") == 0;
    QFile previous(File());
    EXPECT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write(Previous());
    previous.close();
    previous.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
  }
  ~TargetFolder() {
    Reopen();
    ::setrlimit(RLIMIT_FSIZE, &m_limit);
    ::chmod(qPrintable(m_path), 0755);
    if (m_mounted) ::umount2(qPrintable(m_path), MNT_DETACH);
  }
  QString File() const { return m_path + QStringLiteral("/out.pdf"); }
  static QByteArray Previous() { return QByteArrayLiteral("%PDF-1.4 the previous print\n"); }
  // No more than about 96 KB can be written there.
  void MakeFull() {
    if (m_mounted) return;
    ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &m_limit);
    rlimit small = m_limit;
    small.rlim_cur = 96 * 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  // Root goes on as nobody for file rights, on this thread only, until
  // Reopen: a file system cannot be made read-only while a file in it is
  // open for writing.
  void MakeReadOnly() {
    ::chmod(qPrintable(m_path), 0555);
    if (::geteuid() == 0) {
      ::setfsuid(65534);
      m_nobody = true;
    }
  }
  void Reopen() {
    if (m_nobody) ::setfsuid(0);
    m_nobody = false;
  }
  // The folder's files with their bytes.
  std::map<QString, QByteArray> Listing() const {
    std::map<QString, QByteArray> files;
    for (const QFileInfo& f : QDir(m_path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
      QFile file(f.filePath());
      files[f.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
    }
    return files;
  }

 private:
  QString m_path;
  bool m_mounted = false;
  bool m_nobody = false;
  rlimit m_limit{RLIM_INFINITY, RLIM_INFINITY};
};

// A job that cannot end well leaves the previous file byte for byte, with
// its mode, and nothing else in its folder: a disk that fills up, a folder
// made read-only while the pages are drawn, and one that was read-only
// from the start, which is refused before the first of many pages.
TEST_F(JobTest, AFailedJobLeavesThePreviousFileAsItWas) {
  const struct {
    const char* what;
    int pages;
    bool full;
    int readOnlyAtPage;  // 0: never; 1: from the start
  } cases[] = {
      {"full disk", 400, true, 0},
      {"read-only during the job", 40, false, 20},
      {"read-only from the start", 6250, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TargetFolder folder(Home(QStringLiteral("stampe-%1").arg(c.pages)));
    const std::map<QString, QByteArray> before = folder.Listing();
    const QFile::Permissions mode = QFile(folder.File()).permissions();
    dialogs.answer = folder.File();
    ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = c.pages; });
    boxes.clear();
    controls.progressValues.clear();
    controls.pageCaptions.clear();
    if (c.full) folder.MakeFull();
    if (c.readOnlyAtPage == 1) folder.MakeReadOnly();
    pv::ProgramSettings().PrintStopPage = c.readOnlyAtPage > 1 ? pv::VbTrue : pv::VbFalse;
    int page = 0;
    pv::test::AnswerMessageBoxesWith([&](const pv::MsgBoxRequest& r) {
      boxes.push_back(r);
      // Message 16200 comes before every page when asked for.
      if (++page == c.readOnlyAtPage) folder.MakeReadOnly();
      return pv::MsgAnswer::Ok;
    });
    pv::PrintRun().PrintDocument(true);
    folder.Reopen();
    EXPECT_EQ(CountPrintingErrors(), 1);
    EXPECT_EQ(boxes.back().detail, QStringLiteral("Impossibile scrivere il file \"%1\".").arg(folder.File()));
    EXPECT_EQ(folder.Listing(), before);
    EXPECT_EQ(QFile(folder.File()).permissions(), mode);
    EXPECT_FALSE(pv::PrintRun().JobRunning());
    if (c.readOnlyAtPage == 1) {
      // Not one page was drawn: the bar never left its start.
      EXPECT_TRUE(controls.pageCaptions.isEmpty());
      EXPECT_EQ(controls.progressValues, std::vector<double>{1});
    }
  }
}

// A target that is a symbolic link: the file it points to gets the pages
// and keeps its mode; the link stays a link.
TEST_F(JobTest, ASymbolicLinkTargetIsWrittenWhereItPoints) {
  QDir().mkpath(Home(QStringLiteral("archivio")));
  const QString real = Home(QStringLiteral("archivio/vero.pdf"));
  QFile previous(real);
  ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
  previous.write("old");
  previous.close();
  ASSERT_TRUE(previous.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
  const QFile::Permissions mode = previous.permissions();
  const QString link = Home(QStringLiteral("collegamento.pdf"));
  ASSERT_TRUE(QFile::link(QStringLiteral("archivio/vero.pdf"), link));
  dialogs.answer = link;
  pv::PrintRun().PrintDocument(true);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(printtest::PdfPages(real), 3);
  EXPECT_EQ(QFile(real).permissions(), mode);
  EXPECT_EQ(QDir(Home(QStringLiteral("archivio"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(JobTest, LibcupsRefusalOfAnUnknownQueueIsReported) {
  UseCupsPrinter();
  pv::PrintRun().PrintDocument(false);
  EXPECT_EQ(CountPrintingErrors(), 1);
  const pv::SpoolResult direct = pv::SpoolWithCups(
      pv::SpoolRequest{QStringLiteral("plavik-no-such-queue"), Home(QStringLiteral("solid.png")), QString(), {}});
  EXPECT_FALSE(direct.Accepted);
  EXPECT_TRUE(direct.Error.contains(QStringLiteral("\"plavik-no-such-queue\""))) << direct.Error.toStdString();
}

// A format row of the program database that no dialog would have let
// through is refused at print, in bounded memory, before the file is asked.
TEST_F(JobTest, AFormatBeyondWhatAPageHoldsIsRefusedWithItsReason) {
  AddFormats({QStringLiteral("'HUGE', 0.001, 0.001, 40000, 40000, 0, 0, 0, 0, 0, 0, 210, 297"),
              QStringLiteral("'NAN', 20, 10, 2, 2, 5, 0, 5, 0, 5, 5, 'nan', 297"),
              QStringLiteral("'NEG', 20, -10, 2, 2, 5, 0, 5, 0, 5, 5, 210, 297"),
              QStringLiteral("'E308', 1e308, 10, 2, 2, 5, 0, 5, 0, 5, 5, 210, 297"),
              QStringLiteral("'INF', 20, 10, 9e999, 2, 5, 0, 5, 0, 5, 5, 210, 297")});
  const struct {
    const char* code;
    const char* reason;
  } cases[] = {
      {"HUGE", "ha 40000 x 40000 etichette: una pagina ne può contenere al più 10000."},
      {"NAN", "ha misure non valide"},
      {"NEG", "ha misure non valide"},
      {"E308", "ha misure non valide"},
      {"INF", "ha misure non valide"},
  };
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    boxes.clear();
    dialogs.asked = 0;
    pv::Header.LabelFormatCode = QString::fromLatin1(c.code);
    pv::PrintRun().ResetPrinterInformation();
    ASSERT_EQ(pv::Trim(CurrentRun().m_Format.Code), QString::fromLatin1(c.code));
    pv::PrintRun().PrintDocument(true);
    EXPECT_EQ(CountPrintingErrors(), 1);
    EXPECT_TRUE(boxes.back().detail.contains(QString::fromUtf8(c.reason))) << boxes.back().detail.toStdString();
    EXPECT_TRUE(boxes.back().detail.contains(QStringLiteral("\"%1\"").arg(QString::fromLatin1(c.code))));
    EXPECT_EQ(dialogs.asked, 0);
    EXPECT_FALSE(QFileInfo::exists(dialogs.answer));
  }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024);  // kB
}

TEST_F(JobTest, NoSecondJobStartsWhileOneRuns) {
  pv::ProgramSettings().PrintStopPage = pv::VbTrue;
  int nested = 0;
  pv::test::AnswerMessageBoxesWith([&](const pv::MsgBoxRequest& r) {
    boxes.push_back(r);
    // The message box's event loop lets the user press print again.
    ++nested;
    pv::PrintRun().PrintDocument(true);
    return pv::MsgAnswer::Ok;
  });
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(nested, 3);  // one box a page, no job inside a job
  EXPECT_EQ(dialogs.asked, 1);
  EXPECT_EQ(printtest::PdfPages(Home(QStringLiteral("out.pdf"))), 3);
}

}  // namespace
