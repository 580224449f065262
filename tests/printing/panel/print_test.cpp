// The print panel on the real main window, on a virtual display: a
// registered dBASE source chosen, sorted and filtered through the dialogs,
// page 2 of 3 previewed and every page printed to PDF (print_probe.cpp).
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

class PrintPanelOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString xvfb = pv::test::FindXvfbRun();
    ASSERT_FALSE(xvfb.isEmpty()) << "xvfb-run is not installed (tools/setup.sh installs it)";
    ASSERT_TRUE(home.isValid() && out.isValid());
    run = pv::test::RunProbeOnXvfb(xvfb, QStringLiteral(PLAVIK_PRINT_PROBE), home.path(), out.path(), 120000);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    rects = Rects(lines);
    // Keep the pictures for a person to look at.
    const QString keep = QStringLiteral(PLAVIK_PRINT_KEEP_DIR);
    QDir().mkpath(keep);
    for (const char* name : {"manual.png", "window.png", "labels.pdf"}) {
      QFile::remove(keep + QLatin1Char('/') + QLatin1String(name));
      QFile::copy(QDir(out.path()).filePath(QLatin1String(name)), keep + QLatin1Char('/') + QLatin1String(name));
    }
  }

  QTemporaryDir home;
  QTemporaryDir out;
  pv::test::ProbeResult run;
  QStringList lines;
  std::map<QString, QRect> rects;
};

TEST_F(PrintPanelOnDisplay, MergedSortedFilteredRunIsPreviewedAndPrinted) {
  const std::string all = run.out.toStdString() + run.err.toStdString();
  EXPECT_TRUE(lines.contains(QStringLiteral("merge 1"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("pages 3"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("caption Numero di pagine: 2 di  3"))) << all;
  EXPECT_TRUE(lines.contains(QStringLiteral("messages 0"))) << all;

  // The screenshot: the sheet with ink inside the first label cell, and the
  // format bar's bevel.
  const QImage shot =
      QImage(QDir(out.path()).filePath(QStringLiteral("window.png"))).convertToFormat(QImage::Format_RGB32);
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
  const QString pdf = QDir(out.path()).filePath(QStringLiteral("labels.pdf"));
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

}  // namespace
