// The print panel on the real main window, on a virtual display: the format
// chooser from the format bar, a registered dBASE source chosen, sorted and
// filtered through the dialogs, page 2 of 3 previewed and every page printed
// to PDF with its progress (print_probe.cpp). The probe runs once for all.
#include "../pdftools.h"
#include "tests/support/xvfb.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using pv::test::CountPixels;
using pv::test::DarkerThan;

// The probe's "name x y w h" lines.
std::map<QString, QRect> Rects(const QStringList& lines) {
  std::map<QString, QRect> out;
  for (const QString& line : lines) {
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() == 5) out[f[0]] = QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
  }
  return out;
}

// The names the filter lets through (NUM 1..17), in the sort's order.
const QStringList kSorted = {QStringLiteral("Anna"),   QStringLiteral("Bruno"), QStringLiteral("Chiara"),
                             QStringLiteral("Davide"), QStringLiteral("Elena"), QStringLiteral("Franca"),
                             QStringLiteral("Giulia"), QStringLiteral("Ivo"),   QStringLiteral("Laura"),
                             QStringLiteral("Luca"),   QStringLiteral("Marco"), QStringLiteral("Nicola"),
                             QStringLiteral("Olga"),   QStringLiteral("Paolo"), QStringLiteral("Piero"),
                             QStringLiteral("Rita"),   QStringLiteral("Sara")};
const QStringList kFilteredOut = {QStringLiteral("Teresa"), QStringLiteral("Ugo"), QStringLiteral("Vera")};

struct ProbeRun {
  QTemporaryDir home;
  QTemporaryDir out;
  pv::test::ProbeResult result;
  QString failure;  // empty when the probe ran to its end
};

class PrintPanelOnDisplay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    probe = new ProbeRun;
    const QString xvfb = pv::test::FindXvfbRun();
    if (xvfb.isEmpty()) {
      probe->failure = QStringLiteral("xvfb-run is not installed (tools/setup.sh installs it)");
      return;
    }
    if (!probe->home.isValid() || !probe->out.isValid()) {
      probe->failure = QStringLiteral("no temporary folder");
      return;
    }
    probe->result = pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_PRINT_PROBE), probe->home.path(),
                                             probe->out.path(), 180000);
    if (!probe->result.finished || probe->result.exitCode != 0) {
      probe->failure = QStringLiteral("probe exit %1\n").arg(probe->result.exitCode) +
                       QString::fromLocal8Bit(probe->result.err) + probe->result.out;
      return;
    }
    // Keep the pictures for a person to look at.
    const QString keep = QStringLiteral(PLAVIK_PRINT_KEEP_DIR);
    QDir().mkpath(keep);
    const QDir from(probe->out.path());
    for (const QString& name : from.entryList({QStringLiteral("*.png"), QStringLiteral("*.pdf")}, QDir::Files)) {
      QFile::remove(keep + QLatin1Char('/') + name);
      QFile::copy(from.filePath(name), keep + QLatin1Char('/') + name);
    }
  }
  static void TearDownTestSuite() {
    delete probe;
    probe = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(probe->failure.isEmpty()) << probe->failure.toStdString();
    run = probe->result;
    lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    rects = Rects(lines);
    all = run.out.toStdString() + run.err.toStdString();
  }
  QImage Shot(const QString& name) const {
    return QImage(QDir(probe->out.path()).filePath(name + QStringLiteral(".png")))
        .convertToFormat(QImage::Format_RGB32);
  }
  QRect At(const char* name) const {
    const auto it = rects.find(QLatin1String(name));
    return it == rects.end() ? QRect() : it->second;
  }

  static ProbeRun* probe;
  pv::test::ProbeResult run;
  QStringList lines;
  std::map<QString, QRect> rects;
  std::string all;
};

ProbeRun* PrintPanelOnDisplay::probe = nullptr;

TEST_F(PrintPanelOnDisplay, MergedSortedFilteredRunIsPreviewedAndPrinted) {
  EXPECT_TRUE(lines.contains(QStringLiteral("merge 1"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("pages 3"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("caption Numero di pagine: 2 di  3"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("messages 0"))) << all;

  // The screenshot: the sheet with ink inside the first label cell, and the
  // format bar's bevel.
  const QImage shot = Shot(QStringLiteral("window"));
  ASSERT_FALSE(shot.isNull());
  ASSERT_EQ(rects.count(QStringLiteral("cell")), 1u) << all;
  const QRect cell = rects.at(QStringLiteral("cell")).adjusted(2, 2, -2, -2);
  EXPECT_GT(CountPixels(shot, cell, DarkerThan(100)), cell.width() * cell.height() / 30);
  const QRect bar = rects.at(QStringLiteral("bar"));
  EXPECT_EQ(QColor(shot.pixel(bar.center().x(), bar.top())), QColor(Qt::white));
  EXPECT_EQ(QColor(shot.pixel(bar.center().x(), bar.bottom())), QColor(Qt::black));
  // The format name on the bar.
  EXPECT_GT(CountPixels(shot, QRect(bar.left() + 24, bar.top() + 3, 120, bar.height() - 6), DarkerThan(100)), 30);

  // The PDF: three pages, the filtered records in sorted order page by page,
  // each with its counter.
  const QString pdf = QDir(probe->out.path()).filePath(QStringLiteral("labels.pdf"));
  ASSERT_EQ(printtest::PdfPages(pdf), 3);
  const QStringList pages =
      printtest::Run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")})
          .split(QLatin1Char('\f'));
  ASSERT_GE(pages.size(), 3);
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(page + 1);
    const QStringList words = pages[page].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QStringList names;
    QStringList counters;
    for (const QString& w : words) {
      if (kSorted.contains(w) || kFilteredOut.contains(w)) names << w;
      bool number = false;
      w.toInt(&number);
      if (number) counters << w;
    }
    const QStringList expected = kSorted.mid(page * 8, 8);
    EXPECT_EQ(names, expected) << pages[page].toStdString();
    QStringList expectedCounters;
    for (int i = 0; i < expected.size(); ++i) expectedCounters << QString::number(page * 8 + i + 1);
    EXPECT_EQ(counters, expectedCounters) << pages[page].toStdString();
    // The barcodes' text: the code of each record.
    for (const QString& name : expected) EXPECT_TRUE(pages[page].contains(QStringLiteral("X") + name.toUpper()));
  }

  // Page 3: ink in its first position only (2 across, 4 down, 90 x 60 mm
  // cells, margins 10 and 20 mm, gaps 10 and 5 mm).
  const int dpi = 30;
  const QImage last = printtest::PdfPage(pdf, 3, dpi);
  ASSERT_FALSE(last.isNull());
  const double px = dpi / 25.4;
  for (int position = 0; position < 8; ++position) {
    const int col = position % 2;
    const int row = position / 2;
    const QRect area(int((10 + 100 * col + 2) * px), int((20 + 65 * row + 2) * px), int(86 * px), int(56 * px));
    const int ink = CountPixels(last, area, DarkerThan(128));
    if (position == 0) {
      EXPECT_GT(ink, 20) << position;
    } else {
      EXPECT_EQ(ink, 0) << position;
    }
  }
}

// One click on the format name or its image: one chooser, and the format
// chosen in it keeps its last-used mark.
TEST_F(PrintPanelOnDisplay, OneClickOnTheFormatBarOpensOneChooser) {
  EXPECT_TRUE(lines.contains(QStringLiteral("chooser 2 2"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("lastused 1"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("chooser merged 1 1"))) << all;
}

// The display after a source is chosen, a sort, a filter and another filter
// is the page as drawn afresh; each change did change the first page.
TEST_F(PrintPanelOnDisplay, PreviewShowsTheRunAsItIsAfterEachChange) {
  const QRect sheet = At("sheet");
  ASSERT_FALSE(sheet.isEmpty()) << all;
  QImage previous;
  for (const char* step : {"merged", "sorted", "filtered", "refiltered"}) {
    SCOPED_TRACE(step);
    const QImage shown = Shot(QLatin1String(step));
    const QImage fresh = Shot(QLatin1String(step) + QStringLiteral("_fresh"));
    ASSERT_FALSE(shown.isNull() || fresh.isNull());
    ASSERT_TRUE(shown.rect().contains(sheet) && fresh.rect().contains(sheet));
    EXPECT_EQ(pv::test::DifferingPixels(shown, fresh, sheet), 0);
    if (!previous.isNull()) {
      EXPECT_GT(pv::test::DifferingPixels(previous, fresh, sheet), 100);
    }
    previous = fresh;
  }
}

// Printed from page 2: the caption names page 2 again, the page on display.
TEST_F(PrintPanelOnDisplay, CaptionNamesThePageOnDisplayAfterPrintingAll) {
  EXPECT_TRUE(lines.contains(QStringLiteral("after Numero di pagine: 2 di  3"))) << all;
}

// The file dialog was on the display and is gone from it once the job
// starts; the progress bar is shown and fills step by step meanwhile.
TEST_F(PrintPanelOnDisplay, TheJobLetsItsDialogGoAndShowsItsProgress) {
  EXPECT_TRUE(lines.contains(QStringLiteral("dialogshown 1"))) << all;
  const QImage dialog = Shot(QStringLiteral("dialog"));
  ASSERT_FALSE(dialog.isNull());
  const auto magenta = pv::test::Exactly(qRgb(255, 0, 255));
  EXPECT_GT(CountPixels(dialog, dialog.rect(), magenta), dialog.width() * dialog.height() / 2);

  const QRect area = At("dialog");
  const QRect bar = At("progress");
  ASSERT_FALSE(area.isEmpty() || bar.isEmpty()) << all;
  // The bar's middle row: how far from its left end it is filled (pixels
  // unlike those at its empty right end).
  const auto filled = [&](const QImage& img) {
    const int y = bar.center().y();
    const QRgb empty = img.pixel(bar.right() - 3, y);
    int n = 0;
    for (int x = bar.left() + 2; x < bar.right() - 3; ++x) n += img.pixel(x, y) != empty ? 1 : 0;
    return n;
  };
  std::vector<int> fills;
  for (int value = 1; value <= 5; ++value) {
    SCOPED_TRACE(value);
    const QImage shown = Shot(QStringLiteral("job_%1").arg(value));
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(CountPixels(shown, area, magenta), 0);
    fills.push_back(filled(shown));
  }
  // At value 5 the display shows the bar of value 4 (of 5); at value 2 that
  // of value 1.
  EXPECT_GT(fills[4], fills[1] + bar.width() / 3);
  for (std::size_t i = 2; i < fills.size(); ++i) EXPECT_GE(fills[i], fills[i - 1]) << i;
}

}  // namespace
