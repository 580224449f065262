#include "platform/printer/printer.h"
#include "tests/support/app_fixture.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void EnsureApp() { pv::test::EnsureGuiApplication(); }

class PrinterTest : public ::testing::Test {
 protected:
  void TearDown() override { pv::SetFakePrintSystem(nullptr); }
  void Use(pv::FakePrintSystem fake) {
    m_fake = std::move(fake);
    pv::SetFakePrintSystem(&m_fake);
  }
  pv::FakePrintSystem m_fake;
};

TEST_F(PrinterTest, ThePdfPrinterIsAlwaysOfferedAt600DpiWithoutOffsetsOnTheWholePaper) {
  EXPECT_EQ(pv::PrinterNames().last(), QStringLiteral("PDF"));
  const auto caps = pv::PrinterCapabilities(QStringLiteral("PDF"));
  ASSERT_TRUE(caps.has_value());
  EXPECT_EQ(*caps, (pv::PrinterCaps{600, 600, 0, 0, 210, 297}));
  EXPECT_TRUE(pv::DefaultPrinterName().has_value());
}

TEST_F(PrinterTest, DefaultPrinterByWhatTheSystemHas) {
  const pv::PrinterCaps laserCaps{300, 300, 50, 40};
  const struct {
    QStringList printers;
    QString systemDefault;
    QString expected;
  } cases[] = {
      {{}, {}, "PDF"},                          // no printer at all
      {{"Laser", "Ink"}, {}, "PDF"},            // printers but no default
      {{"Laser", "Ink"}, "Ink", "Ink"},         // the system's default
      {{"Laser"}, "Gone", "PDF"},               // a default that is not there
      {{"PDF", "Laser"}, "PDF", "PDF (CUPS)"},  // a system queue named like the built-in printer
      {{"pdf", "Laser"}, "pdf", "pdf (CUPS)"},
  };
  for (const auto& c : cases) {
    Use(pv::FakePrintSystem{false, c.printers, c.systemDefault, laserCaps, {}});
    ASSERT_TRUE(pv::DefaultPrinterName().has_value());
    EXPECT_EQ(*pv::DefaultPrinterName(), c.expected) << c.systemDefault.toStdString();
    EXPECT_EQ(pv::CurrentPrinterName(), c.expected);
    // Every system printer is offered, and the built-in one after them.
    EXPECT_EQ(pv::PrinterNames().size(), c.printers.size() + 1);
    EXPECT_EQ(pv::PrinterNames().removeDuplicates(), 0);
  }
  Use(pv::FakePrintSystem{false, {"Laser", "Ink"}, "Ink", laserCaps, {}});
  EXPECT_EQ(pv::PrinterNames(), (QStringList{"Laser", "Ink", "PDF"}));
  EXPECT_EQ(pv::CurrentPrinterCapabilities(), laserCaps);
  EXPECT_TRUE(pv::SetCurrentPrinter(QStringLiteral("PDF")));
  EXPECT_EQ(pv::CurrentPrinterCapabilities(), (pv::PrinterCaps{600, 600, 0, 0, 210, 297}));
  EXPECT_FALSE(pv::SetCurrentPrinter(QStringLiteral("Nowhere")));
  EXPECT_EQ(pv::CurrentPrinterName(), QStringLiteral("PDF"));
  EXPECT_FALSE(pv::PrinterCapabilities(QStringLiteral("Nowhere")).has_value());
}

// A system queue named "PDF" (cups-pdf's) and the built-in printer are two
// printers: each is chosen by its own name and answers as itself, and "PDF"
// keeps meaning the built-in one, as stored settings expect.
TEST_F(PrinterTest, ASystemQueueNamedPdfIsAPrinterOfItsOwn) {
  const pv::PrinterCaps queueCaps{300, 300, 50, 40};
  Use(pv::FakePrintSystem{false, {"Laser", "PDF"}, "Laser", queueCaps, {}});
  EXPECT_EQ(pv::PrinterNames(), (QStringList{"Laser", "PDF (CUPS)", "PDF"}));

  ASSERT_TRUE(pv::SetCurrentPrinter(QStringLiteral("PDF (CUPS)")));
  EXPECT_EQ(pv::CurrentPrinterName(), QStringLiteral("PDF (CUPS)"));
  EXPECT_FALSE(pv::IsPdfPrinter(pv::CurrentPrinterName()));
  EXPECT_EQ(pv::CurrentPrinterCapabilities(), queueCaps);

  for (const char* builtIn : {"PDF", "pdf"}) {
    ASSERT_TRUE(pv::SetCurrentPrinter(QString::fromLatin1(builtIn)));
    EXPECT_EQ(pv::CurrentPrinterName(), QStringLiteral("PDF"));
    EXPECT_EQ(pv::CurrentPrinterCapabilities(), (pv::PrinterCaps{600, 600, 0, 0, 210, 297}));
  }

  // The queue behind each shown name, and back.
  const struct {
    const char* queue;
    const char* shown;
  } names[] = {{"PDF", "PDF (CUPS)"}, {"pdf", "pdf (CUPS)"}, {"Laser", "Laser"}, {"PDF-2", "PDF-2"}, {"", ""}};
  for (const auto& n : names) {
    EXPECT_EQ(pv::PrinterDisplayName(QString::fromLatin1(n.queue)), QString::fromLatin1(n.shown)) << n.queue;
    EXPECT_EQ(pv::PrinterQueueName(QString::fromLatin1(n.shown)), QString::fromLatin1(n.queue)) << n.shown;
  }
  // Names no queue can have stay as they are.
  EXPECT_EQ(pv::PrinterQueueName(QStringLiteral("Laser (CUPS)")), QStringLiteral("Laser (CUPS)"));
  EXPECT_EQ(pv::PrinterQueueName(QStringLiteral("PDF")), QStringLiteral("PDF"));
}

TEST_F(PrinterTest, APrintSystemThatCannotBeAskedGivesNothing) {
  Use(pv::FakePrintSystem{true, {"Laser"}, "Laser", {}, {}});
  EXPECT_FALSE(pv::PrintSystemAvailable());
  EXPECT_FALSE(pv::DefaultPrinterName().has_value());
  EXPECT_TRUE(pv::PrinterNames().isEmpty());
  EXPECT_TRUE(pv::CurrentPrinterName().isEmpty());
  EXPECT_FALSE(pv::CurrentPrinterCapabilities().has_value());
  EXPECT_FALSE(pv::SetCurrentPrinter(QStringLiteral("PDF")));
  EXPECT_EQ(pv::CreateCurrentPrinter(), nullptr);
}

TEST_F(PrinterTest, APdfJobWritesAPdfFileWithThePaintAreaAtThePaperCorner) {
  EnsureApp();
  Use(pv::FakePrintSystem{false, {}, {}, {}, {}});
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("out.pdf"));
  auto printer = pv::CreateCurrentPrinter(file);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->resolution(), 600);
  EXPECT_FALSE(printer->fullPage());
  const QRect paper = printer->pageLayout().fullRectPixels(600);
  const QRect paint = printer->pageLayout().paintRectPixels(600);
  EXPECT_EQ(paint.topLeft(), paper.topLeft());
  EXPECT_NEAR(paper.width(), 210 / 25.4 * 600, 5);  // A4 (whole points)
  {
    QPainter p;
    ASSERT_TRUE(p.begin(printer.get()));
    p.drawRect(QRect(100, 100, 1000, 500));
    ASSERT_TRUE(printer->newPage());
    p.drawText(200, 200, QStringLiteral("plavik"));
    p.end();
  }
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.read(5) == "%PDF-");
}

}  // namespace
