// Print jobs on real CUPS queues: a private cupsd started by the tests, with
// queues that print into files, read back with poppler-utils.
#include "pdftools.h"
#include "printfixture.h"

#include "app/dialogs.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "platform/printer/printer.h"
#include "platform/stringtable.h"
#include "printing/spooler.h"
#include "tests/support/cupsd.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include <memory>

namespace {

using printtest::ChangeRun;
using printtest::CurrentRun;
using printtest::Ink;
using pv::test::CupsServer;

// The queues every test finds: a raw one, one whose default paper is
// Letter, and the server's default printer (which must never get a job
// meant for another).
const QString kRaw = QStringLiteral("etichette");
const QString kLetter = QStringLiteral("lettera");
const QString kDefault = QStringLiteral("predefinita");

struct PageSize {
  double width = 0, height = 0;
  int rotation = 0;
};

// pdfinfo's page size and rotation of page 1.
PageSize PdfPageSize(const QString& pdf) {
  const QString out = printtest::Run(QStringLiteral("pdfinfo"), {pdf});
  PageSize s;
  const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(out);
  const auto rot = QRegularExpression(QStringLiteral("Page rot:\\s+(\\d+)")).match(out);
  if (size.hasMatch()) {
    s.width = size.captured(1).toDouble();
    s.height = size.captured(2).toDouble();
  }
  if (rot.hasMatch()) s.rotation = rot.captured(1).toInt();
  return s;
}

double Points(double mm) { return mm * 72 / 25.4; }

class CupsTest : public printtest::PrintTest {
 protected:
  static void SetUpTestSuite() {
    if (!CupsServer::MissingReason().isEmpty()) return;
    m_server = std::make_unique<CupsServer>();
    QString reason;
    if (!m_server->Start(&reason) || !m_server->AddRawQueue(kRaw, &reason) ||
        !m_server->AddPaperQueue(kLetter, QStringLiteral("Letter"), &reason) ||
        !m_server->AddRawQueue(kDefault, &reason) || !m_server->SetDefault(kDefault, &reason)) {
      m_startFailure = reason;
      m_server.reset();
    }
  }
  static void TearDownTestSuite() { m_server.reset(); }

  void SetUp() override {
    PrintTest::SetUp();
    if (const QString missing = CupsServer::MissingReason(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    ASSERT_NE(m_server, nullptr) << m_startFailure.toStdString();
    // The real print system, which is the private server.
    pv::SetFakePrintSystem(nullptr);
    TwoByTwo();
    SolidBackground();
    pv::DocFileName = Home(QStringLiteral("spedizioni.lab"));
    dialogs.answer = Home(QStringLiteral("out.pdf"));
    for (const QString& q : {kRaw, kLetter, kDefault}) m_server->ClearOutput(q);
  }
  void TearDown() override {
    pv::SetFakePrintSystem(nullptr);
    PrintTest::TearDown();
  }

  // The format's sheet, and the printer as the program reads it.
  void Sheet(double width, double depth) {
    ChangeRun([&](pv::PrintRunValues& r) {
      r.m_Format.Sheet.sheetwidth = width;
      r.m_Format.Sheet.sheetdepth = depth;
    });
  }
  // Chooses a queue and reads its resolution and offsets, as the panel does.
  void Choose(const QString& queue) {
    ASSERT_TRUE(pv::SetCurrentPrinter(queue)) << pv::PrinterNames().join(QLatin1Char(' ')).toStdString();
    pv::PrintRun().ReloadPrinterInfo();
    ASSERT_EQ(CountPrintingErrors(), 0);
  }
  // The queue's output, saved as a PDF of the test's folder.
  QString Output(const QString& queue) {
    const QByteArray bytes = m_server->WaitForOutput(queue);
    const QString file = Home(queue + QStringLiteral(".pdf"));
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return bytes.startsWith("%PDF") ? file : QString();
  }
  int JobCount(const QString& queue) const { return int(m_server->Jobs(queue).size()); }

  static std::unique_ptr<CupsServer> m_server;
  static QString m_startFailure;
};

std::unique_ptr<CupsServer> CupsTest::m_server;
QString CupsTest::m_startFailure;

// On a queue whose default paper is Letter, each job asks for the sheet it
// was laid out on: standard sizes upright and turned, custom sizes as they
// are; the labels stay where the layout put them.
TEST_F(CupsTest, TheLetterQueuePrintsOnTheSheetTheLabelsWereLaidOutOn) {
  Choose(kLetter);
  pv::PrinterCaps& printer = pv::ProgramSettings().Printer;
  printer.DpiX = printer.DpiY = 254;
  const struct { double width, depth; } sheets[] = {{210, 297}, {297, 210}, {62, 100}, {150, 62}, {60, 35}};
  for (const auto& s : sheets) {
    SCOPED_TRACE(testing::Message() << s.width << " x " << s.depth);
    m_server->ClearOutput(kLetter);
    Sheet(s.width, s.depth);
    pv::PrintRun().PrintDocument(false);
    ASSERT_TRUE(boxes.empty()) << boxes.front().detail.toStdString();
    const QString pdf = Output(kLetter);
    ASSERT_FALSE(pdf.isEmpty()) << m_server->ErrorLog().right(2000).toStdString();
    // pdfinfo's size is the page before its rotation: a turned standard
    // paper is the sheet itself, rotated onto the paper as it is fed.
    const PageSize page = PdfPageSize(pdf);
    EXPECT_NEAR(page.width, Points(s.width), 1.5) << page.width << " x " << page.height << " rot " << page.rotation;
    EXPECT_NEAR(page.height, Points(s.depth), 1.5) << page.width << " x " << page.height << " rot " << page.rotation;
  }

  // A4 upright at 254 dpi (10 dots a mm): every label where the layout put
  // it, not moved by a centring on other paper.
  m_server->ClearOutput(kLetter);
  Sheet(210, 297);
  pv::PrintRun().PrintDocument(false);
  const QString pdf = Output(kLetter);
  ASSERT_FALSE(pdf.isEmpty());
  const QImage img = printtest::PdfPage(pdf, 1, 254);
  ASSERT_FALSE(img.isNull());
  pv::LayoutTarget target;
  target.DpiX = target.DpiY = 254;
  target.OffsetX = printer.OffsetX;
  target.OffsetY = printer.OffsetY;
  const pv::PageLayout layout =
      pv::LayoutPage(CurrentRun().m_Format.Sheet, 20, 10, pv::RunValues{1, 1, 4, 0}, 1, target);
  ASSERT_EQ(layout.Cells.size(), 4u);
  for (const pv::LabelCell& c : layout.Cells) {
    const int x = c.X1 + printer.OffsetX, y = c.Y1 + printer.OffsetY;
    EXPECT_TRUE(Ink(img, x + 100, y + 50)) << c.n;  // the middle of the label
    EXPECT_TRUE(Ink(img, x + 5, y + 5)) << c.n;     // just inside its corner
    EXPECT_FALSE(Ink(img, x - 15, y - 15)) << c.n;  // just outside it
  }
}

// The raw queue gets the PDF as it was written, under the job's title.
TEST_F(CupsTest, AJobIsNamedByTheProgramAndTheDocument) {
  Choose(kRaw);
  Sheet(210, 297);
  ChangeRun([&](pv::PrintRunValues& r) { r.m_PageCount = 2; });
  pv::PrintRun().PrintDocument(true);
  ASSERT_TRUE(boxes.empty());
  const QString pdf = Output(kRaw);
  ASSERT_FALSE(pdf.isEmpty()) << m_server->ErrorLog().toStdString();
  EXPECT_EQ(printtest::PdfPages(pdf), 2);
  const PageSize page = PdfPageSize(pdf);
  EXPECT_NEAR(page.width, Points(210), 1.5);
  EXPECT_NEAR(page.height, Points(297), 1.5);
  const std::vector<CupsServer::Job> jobs = m_server->Jobs(kRaw);
  ASSERT_FALSE(jobs.empty());
  EXPECT_EQ(jobs.back().title, pv::LoadResString(1000) + QStringLiteral(" - spedizioni.lab"));
  EXPECT_EQ(JobCount(kDefault), 0);
}

// A job goes to the queue the user chose or fails naming it: a queue
// deleted after it was chosen, or a print system that went away, leaves the
// job unprinted and the other printers (and the "PDF" printer's save
// dialog) untouched.
TEST_F(CupsTest, AChosenQueueThatIsGoneFailsTheJobNamingIt) {
  const QString gone = QStringLiteral("rimossa");
  QString reason;
  const std::size_t jobsBefore = m_server->Jobs().size();
  ASSERT_TRUE(m_server->AddRawQueue(gone, &reason)) << reason.toStdString();
  Choose(gone);
  ASSERT_TRUE(m_server->Delete(gone, &reason)) << reason.toStdString();
  pv::PrintRun().PrintDocument(true);
  ASSERT_EQ(CountPrintingErrors(), 1);
  EXPECT_TRUE(boxes.back().detail.contains(QStringLiteral("\"rimossa\" non esiste")))
      << boxes.back().detail.toStdString();
  EXPECT_EQ(pv::CurrentPrinterName(), gone);  // still the user's choice
  EXPECT_EQ(dialogs.asked, 0);
  EXPECT_EQ(m_server->Jobs().size(), jobsBefore) << "a job went elsewhere";

  // A print system of its own, chosen from and then gone.
  CupsServer down;
  ASSERT_TRUE(down.Start(&reason) && down.AddRawQueue(kRaw, &reason)) << reason.toStdString();
  boxes.clear();
  Choose(kRaw);
  down.Stop(true);
  pv::PrintRun().PrintDocument(true);
  ASSERT_EQ(CountPrintingErrors(), 1);
  EXPECT_TRUE(boxes.back().detail.contains(QStringLiteral("non risponde"))) << boxes.back().detail.toStdString();
  EXPECT_TRUE(boxes.back().detail.contains(QStringLiteral("\"etichette\"")));
  EXPECT_TRUE(boxes.back().detail.contains(down.Address())) << boxes.back().detail.toStdString();
  EXPECT_EQ(dialogs.asked, 0);
  EXPECT_FALSE(QFile::exists(dialogs.answer));
  down.Stop();  // back to the shared server
  EXPECT_EQ(m_server->Jobs().size(), jobsBefore) << "a job went elsewhere";
}

// A CUPS queue named "PDF" (cups-pdf's) beside the built-in printer: both
// offered, by the set-up dialog too, and each job reaches its own output.
TEST_F(CupsTest, AQueueNamedPdfAndTheBuiltInPrinterEachPrintToTheirOwn) {
  const QString queue = QStringLiteral("PDF");
  const QString shown = QStringLiteral("PDF (CUPS)");
  QString reason;
  ASSERT_TRUE(m_server->AddRawQueue(queue, &reason)) << reason.toStdString();
  m_server->ClearOutput(queue);
  const QStringList names = pv::PrinterNames();
  EXPECT_TRUE(names.contains(shown)) << names.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(names.count(queue), 1);
  EXPECT_EQ(names.last(), queue);

  // The real set-up dialog lists both and chooses the queue by its name.
  QStringList offered;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dlg == nullptr) return;
    if (auto* box = dlg->findChild<QComboBox*>()) {
      for (int i = 0; i < box->count(); ++i) offered << box->itemText(i);
      box->setCurrentText(shown);
    }
    dlg->accept();
  });
  pv::QtCommonDialogs().ShowPrinterSetup();
  EXPECT_TRUE(offered.contains(shown) && offered.contains(queue)) << offered.join(QLatin1Char(' ')).toStdString();
  ASSERT_EQ(pv::CurrentPrinterName(), shown);
  pv::PrintRun().ReloadPrinterInfo();
  ASSERT_EQ(CountPrintingErrors(), 0);
  Sheet(210, 297);
  pv::PrintRun().PrintDocument(false);
  ASSERT_TRUE(boxes.empty()) << boxes.front().detail.toStdString();
  EXPECT_EQ(dialogs.asked, 0);
  const QString pdf = Output(queue);
  ASSERT_FALSE(pdf.isEmpty()) << m_server->ErrorLog().right(2000).toStdString();
  EXPECT_EQ(printtest::PdfPages(pdf), 1);
  EXPECT_EQ(JobCount(queue), 1);
  EXPECT_FALSE(QFile::exists(dialogs.answer));

  // The built-in printer writes the file the user chose; the queue gets
  // nothing more.
  Choose(queue);
  EXPECT_EQ(pv::CurrentPrinterName(), queue);
  pv::PrintRun().PrintDocument(false);
  ASSERT_TRUE(boxes.empty()) << boxes.front().detail.toStdString();
  EXPECT_EQ(dialogs.asked, 1);
  EXPECT_EQ(printtest::PdfPages(dialogs.answer), 1);
  EXPECT_EQ(JobCount(queue), 1);
  EXPECT_EQ(JobCount(kDefault), 0);
  m_server->Delete(queue);
}

// A stopped queue keeps the job, and the user is told so.
TEST_F(CupsTest, AStoppedQueueKeepsTheJobAndTheUserIsTold) {
  const QString stopped = QStringLiteral("ferma");
  QString reason;
  ASSERT_TRUE(m_server->AddRawQueue(stopped, &reason)) << reason.toStdString();
  Choose(stopped);
  ASSERT_TRUE(m_server->Disable(stopped, &reason)) << reason.toStdString();
  pv::PrintRun().PrintDocument(true);
  EXPECT_EQ(CountPrintingErrors(), 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Exclamation);
  EXPECT_EQ(boxes[0].text, pv::QueueStoppedText(stopped));
  EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("\"ferma\" è ferma")));
  const std::vector<CupsServer::Job> jobs = m_server->Jobs(stopped);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].state, 3);  // pending: kept
  EXPECT_FALSE(QFile::exists(m_server->OutputFile(stopped)));
  m_server->Delete(stopped);
}

// The lab-print tool on CUPS queues: printed, refused (exit 1, the queue
// named), kept by a stopped queue (exit 3); never sent elsewhere.
TEST_F(CupsTest, LabPrintOnQueuesExitsByWhatHappenedToTheJob) {
  AddFormats({QStringLiteral("'T-4', 20, 10, 2, 2, 5, 0, 5, 0, 5, 5, 210, 297")});
  pv::CloseDatabase();
  pv::Header.LabelFormatCode = QStringLiteral("T-4");
  pv::LabFileContent content;
  ASSERT_TRUE(pv::CurrentLabContent(content));
  const QString lab = Home(QStringLiteral("T-4.lab"));
  {
    QFile out(lab);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_TRUE(pv::WriteLabFile(out, content));
  }
  QString reason;
  ASSERT_TRUE(m_server->AddRawQueue(QStringLiteral("ferma"), &reason) && m_server->Disable(QStringLiteral("ferma")))
      << reason.toStdString();
  const auto labPrint = [&](const QString& queue, const QString& cupsServer, QString* err) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PLAVIK_HOME"), Home(QString()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("CUPS_SERVER"), cupsServer);
    int code = -1;
    printtest::Run(QStringLiteral(LAB_PRINT_PATH),
                   {lab, Home(QStringLiteral("unused.pdf")), QStringLiteral("--printer"), queue}, &code, env, err);
    return code;
  };
  CupsServer nothing;  // an address nothing answers on
  ASSERT_TRUE(nothing.Start(&reason)) << reason.toStdString();
  const QString deadAddress = nothing.Address();
  nothing.Stop();

  const struct {
    QString queue;
    QString server;
    int exit;
    const char* said;
  } cases[] = {
      {kLetter, m_server->Address(), 0, nullptr},
      {QStringLiteral("nessuna"), m_server->Address(), 1, "\"nessuna\""},
      {QStringLiteral("ferma"), m_server->Address(), 3, "\"ferma\" è ferma"},
      {kLetter, deadAddress, 1, "\"lettera\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.queue.toStdString() + " @ " + c.server.toStdString());
    m_server->ClearOutput(kLetter);
    QString err;
    EXPECT_EQ(labPrint(c.queue, c.server, &err), c.exit) << err.toStdString();
    if (c.said) {
      EXPECT_TRUE(err.contains(QString::fromUtf8(c.said))) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Home(QStringLiteral("unused.pdf"))));
    if (c.exit == 0) {
      const QString pdf = Output(kLetter);
      ASSERT_FALSE(pdf.isEmpty());
      EXPECT_NEAR(PdfPageSize(pdf).width, Points(210), 1.5);
    }
  }
  EXPECT_EQ(JobCount(kDefault), 0);
  m_server->Delete(QStringLiteral("ferma"));
}

}  // namespace
