// What every fill looks like on the print path: each kind drawn by the real
// libraries into a 600-dpi PDF, read back with poppler at 300 dpi and
// compared with a stored picture of the same cell: solid, the six hatches,
// brushes, textures, the twelve gradients, translucent and turned fills, art
// text, and text filled with a gradient or a texture. The drawing may change
// how it reaches the PDF (vectors, patterns, pictures); what prints must not.
//
// PLAVIK_WRITE_PRINT_FILLS=1 writes the stored pictures anew instead of
// comparing (only after a change that is meant to alter the output);
// PLAVIK_DIFF_DIR=folder keeps the cells drawn there, to look at.
#include "libs/scriva2/scriva2.h"
#include "platform/colmo2/colmo2.h"
#include "platform/dc.h"
#include "platform/lineo2/lineo2.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int kDpi = 600;                  // drawn
constexpr int kRead = 300;                 // read back
constexpr double kCellW = 10, kCellH = 6;  // millimetres
constexpr int kAcross = 6;

int Px(double mm, int dpi = kDpi) { return int(mm / 25.4 * dpi + 0.5); }

using Draw = std::function<void(pv::DeviceContext*, const pv::Rect&)>;

struct FillCase {
  const char* name;
  Draw draw;
  // Allowed: the mean difference of a pixel (the largest of its three
  // channels, 0-255) over the cell, and the share of pixels that differ by
  // more than a quarter of the range.
  double meanTolerance = 3.0;
  double largeShare = 0.01;
};

const pv::Colour kC1 = pv::Rgb(250, 220, 40);
const pv::Colour kC2 = pv::Rgb(20, 60, 160);

Draw Rectangle(int fill, double angle = 0, int opacity = 100) {
  return [=](pv::DeviceContext* dc, const pv::Rect& r) {
    LineoPen(dc, 0, 0);  // no outline
    LineoRectangle(dc, &r, angle, fill, kC1, kC2, opacity);
  };
}

// A black bar across the cell, then the figure over it at the opacity.
Draw OverBar(int fill, int opacity, bool ellipse) {
  return [=](pv::DeviceContext* dc, const pv::Rect& r) {
    const pv::Rect bar{r.left, r.top + (r.bottom - r.top) / 3, r.right, r.bottom - (r.bottom - r.top) / 3};
    pv::FillRect(dc, bar, pv::Rgb(0, 0, 0));
    LineoPen(dc, 0, 0);
    if (ellipse)
      LineoEllipse(dc, &r, 0.0, fill, kC1, kC2, opacity);
    else
      LineoRectangle(dc, &r, 0.0, fill, kC1, kC2, opacity);
  };
}

Draw Outlined(int shape, int fill, double angle) {
  return [=](pv::DeviceContext* dc, const pv::Rect& r) {
    LineoPen(dc, 3, pv::Rgb(90, 0, 0));
    LineoShape(dc, &r, 4.0, angle, shape, fill, kC1, kC2, 100);
  };
}

Draw ArtText(int shape, int fill, int opacity = 100) {
  return [=](pv::DeviceContext* dc, const pv::Rect& r) {
    LineoPen(dc, 1, pv::Rgb(0, 0, 0));
    LineoArtTextDraw(dc, "Arte", "DejaVu Sans", &r, 0.0, shape, fill, kC2, kC1, opacity);
  };
}

// ScrivaDrawEx: style 100-106 (a gradient, with the one-colour flag) or a
// texture, on a black bar when translucent.
Draw FilledText(int style, int oneColour, int texture, int opacity = 100, double angle = 0) {
  return [=](pv::DeviceContext* dc, const pv::Rect& r) {
    if (opacity != 100) {
      const pv::Rect bar{r.left, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
      pv::FillRect(dc, bar, pv::Rgb(0, 0, 0));
    }
    ScrivaFontName("DejaVu Sans");
    ScrivaFontSize(Px(2.6));
    ScrivaSetBold(1);
    ScrivaSetItalic(0);
    ScrivaSetUnderline(0);
    ScrivaSetStrike(0);
    ScrivaSetForeColor(std::int32_t(pv::Rgb(220, 0, 0)));
    ScrivaSetBackColor(std::int32_t(pv::Rgb(0, 0, 200)));
    ScrivaSetFillParameter(0, oneColour, 0);
    pv::Rect box = r;
    ScrivaDrawEx(dc, "Testo WM", &box, angle, 22, style, texture, opacity);
  };
}

std::vector<FillCase> Cases() {
  std::vector<FillCase> c;
  c.push_back({"solid", Rectangle(1)});
  for (int h = 2; h <= 7; ++h) c.push_back({nullptr, Rectangle(h)});
  c.push_back({"brush-1", Rectangle(8)});
  c.push_back({"brush-12", Rectangle(19)});
  c.push_back({"texture-1", Rectangle(27), 6.0, 0.03});
  c.push_back({"texture-54", Rectangle(80), 6.0, 0.03});
  c.push_back({"texture-113", Rectangle(139), 6.0, 0.03});
  for (int g = 140; g <= 151; ++g) c.push_back({nullptr, Rectangle(g)});
  c.push_back({"hatch-turned", Rectangle(7, 30.0)});
  // The rectangular gradient was a picture turned with the shape, its edges
  // stepped; it is now drawn as gradients, smooth to the turned edge, and the
  // edge pixels and the gradient's steps differ a little.
  c.push_back({"gradient-turned", Rectangle(150, 30.0), 6.0});
  c.push_back({"texture-turned", Rectangle(40, 30.0), 8.0, 0.05});
  c.push_back({"translucent-solid", OverBar(1, 40, true)});
  c.push_back({"translucent-gradient", OverBar(147, 40, false)});
  c.push_back({"translucent-hatch", OverBar(5, 40, false)});
  c.push_back({"shape-star", Outlined(209, 1, 0.0)});
  c.push_back({"shape-turned-gradient", Outlined(204, 146, 20.0)});
  c.push_back({"art-solid", ArtText(0, 1)});
  c.push_back({"art-arch-gradient", ArtText(3, 146)});
  c.push_back({"art-wave-gradient", ArtText(14, 144)});
  c.push_back({"art-translucent", ArtText(1, 1, 40)});
  c.push_back({"text-gradient", FilledText(100, 0, 0), 4.0, 0.03});
  c.push_back({"text-gradient-radial", FilledText(104, 1, 0), 4.0, 0.03});
  c.push_back({"text-gradient-rectangular", FilledText(105, 0, 0), 4.0, 0.03});
  c.push_back({"text-texture", FilledText(0, 0, 5), 6.0, 0.04});
  c.push_back({"text-translucent", FilledText(101, 0, 0, 50), 4.0, 0.03});
  c.push_back({"text-turned", FilledText(102, 0, 0, 100, 20.0), 4.0, 0.03});
  return c;
}

std::string CaseName(const std::vector<FillCase>& cases, std::size_t i) {
  if (cases[i].name) return cases[i].name;
  // The unnamed ones: hatches 2-7 and gradients 140-151, by code.
  return i < 8 ? "hatch-" + std::to_string(i + 1) : "gradient-" + std::to_string(140 + (i - 12));
}

// Every case in its cell of a PDF page, read back as one picture.
QImage DrawnThroughPdf(const std::vector<FillCase>& cases, const QString& folder) {
  const int rows = int((cases.size() + kAcross - 1) / kAcross);
  const QSizeF page((kAcross * (kCellW + 2) + 2), (rows * (kCellH + 2) + 2));
  const QString pdf = folder + QStringLiteral("/fills.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(kDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(page, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    pv::DeviceInfo info;
    info.dpiX = info.dpiY = kDpi;
    info.isPrinter = true;
    pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, info));
    for (std::size_t i = 0; i < cases.size(); ++i) {
      const double x = 2 + double(i % kAcross) * (kCellW + 2), y = 2 + double(i / kAcross) * (kCellH + 2);
      const pv::Rect cell{Px(x), Px(y), Px(x + kCellW), Px(y + kCellH)};
      const int level = pv::SaveDC(dc.get());
      QPainterPath outline;
      outline.addRect(QRectF(cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top));
      pv::SelectClipOutline(dc.get(), &outline);
      cases[i].draw(dc.get(), cell);
      pv::RestoreDC(dc.get(), level);
    }
  }
  QProcess p;
  p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kRead), QStringLiteral("-singlefile"),
                                       QStringLiteral("-png"), pdf, folder + QStringLiteral("/page")});
  p.waitForFinished(120000);
  return QImage(folder + QStringLiteral("/page.png")).convertToFormat(QImage::Format_RGB32);
}

QImage Cell(const QImage& page, std::size_t i) {
  const double x = 2 + double(i % kAcross) * (kCellW + 2), y = 2 + double(i / kAcross) * (kCellH + 2);
  return page.copy(Px(x, kRead), Px(y, kRead), Px(kCellW, kRead), Px(kCellH, kRead));
}

class PrintFills : public ::testing::Test {};

TEST_F(PrintFills, EveryFillPrintsAsItsStoredPicture) {
  const std::vector<FillCase> cases = Cases();
  QTemporaryDir dir;
  const QImage page = DrawnThroughPdf(cases, dir.path());
  ASSERT_FALSE(page.isNull());
  const bool write = qEnvironmentVariableIntValue("PLAVIK_WRITE_PRINT_FILLS") == 1;
  const QString diffDir = qEnvironmentVariable("PLAVIK_DIFF_DIR");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string name = CaseName(cases, i);
    SCOPED_TRACE(name);
    const QImage got = Cell(page, i);
    const QString stored = QStringLiteral(PRINT_FILLS_DIR "/") + QString::fromStdString(name) + QStringLiteral(".png");
    if (write) {
      ASSERT_TRUE(got.save(stored));
      continue;
    }
    if (!diffDir.isEmpty())
      got.save(diffDir + QLatin1Char('/') + QString::fromStdString(name) + QStringLiteral(".png"));
    const QImage want = QImage(stored).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), want.size());
    double sum = 0;
    int large = 0, inked = 0;
    for (int y = 0; y < got.height(); ++y) {
      const QRgb* a = reinterpret_cast<const QRgb*>(got.constScanLine(y));
      const QRgb* b = reinterpret_cast<const QRgb*>(want.constScanLine(y));
      for (int x = 0; x < got.width(); ++x) {
        const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                std::abs(qBlue(a[x]) - qBlue(b[x]))});
        sum += d;
        large += d > 64 ? 1 : 0;
        inked += b[x] != qRgb(255, 255, 255) ? 1 : 0;
      }
    }
    const int n = got.width() * got.height();
    EXPECT_GT(inked, n / 20);  // the stored cell shows something
    EXPECT_LE(sum / n, cases[i].meanTolerance);
    EXPECT_LE(double(large) / n, cases[i].largeShare) << large << " of " << n;
  }
}

// A PDF's image objects and its shadings (gradients), counted in its object
// dictionaries (the writer keeps those uncompressed).
struct PdfContents {
  int images = 0;
  int shadings = 0;
  qint64 bytes = 0;
};

PdfContents Contents(const QString& pdf) {
  QFile f(pdf);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  return {int(data.count("/Subtype /Image")), int(data.count("/ShadingType")), data.size()};
}

// pages of labels, each label drawn by draw through a fresh context, as a
// print job draws them.
void PrintLabels(const QString& pdf, int pages, const Draw& draw) {
  QPdfWriter writer(pdf);
  writer.setResolution(kDpi);
  writer.setPageLayout(QPageLayout(QPageSize(QSizeF(2 * (kCellW + 2) + 2, 4 * (kCellH + 2) + 2), QPageSize::Millimeter),
                                   QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter(&writer);
  for (int page = 0; page < pages; ++page) {
    if (page > 0) writer.newPage();
    for (int i = 0; i < 8; ++i) {
      pv::DeviceInfo info;
      info.dpiX = info.dpiY = kDpi;
      info.isPrinter = true;
      pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, info));
      const double x = 2 + (i % 2) * (kCellW + 2), y = 2 + (i / 2) * (kCellH + 2);
      draw(dc.get(), pv::Rect{Px(x), Px(y), Px(x + kCellW), Px(y + kCellH)});
    }
  }
}

// Every label of a job filled with the same hatch, brush and texture: the PDF
// holds each picture once, not once a label, and a job twice as long is not
// much larger.
TEST_F(PrintFills, AJobStoresEachFillPictureOnce) {
  QTemporaryDir dir;
  const Draw pictures = [](pv::DeviceContext* dc, const pv::Rect& r) {
    const int w = r.right - r.left;
    const pv::Rect a{r.left, r.top, r.left + w / 3, r.bottom}, b{a.right, r.top, a.right + w / 3, r.bottom},
        c{b.right, r.top, r.right, r.bottom};
    LineoPen(dc, 0, 0);
    LineoRectangle(dc, &a, 0.0, 4, kC1, kC2, 100);   // a hatch
    LineoEllipse(dc, &b, 0.0, 19, kC1, kC2, 100);    // a brush
    LineoRectangle(dc, &c, 0.0, 80, kC1, kC2, 100);  // a texture
    LineoRectangle(dc, &c, 30.0, 19, kC1, kC2, 40);  // the brush again, turned and translucent
  };
  const QString shortJob = dir.filePath(QStringLiteral("short.pdf")),
                longJob = dir.filePath(QStringLiteral("long.pdf"));
  PrintLabels(shortJob, 5, pictures);
  PrintLabels(longJob, 10, pictures);
  const PdfContents few = Contents(shortJob), many = Contents(longJob);
  EXPECT_GE(few.images, 1);
  EXPECT_LE(few.images, 3);
  EXPECT_EQ(many.images, few.images);
  // The second 40 labels add their drawing only: under 2 KB a label (a
  // picture would be 7 KB and more).
  EXPECT_LT(many.bytes - few.bytes, 40 * 2048) << few.bytes << " " << many.bytes;
}

// Art text in every envelope reaches the PDF as its outline in a few curves,
// filled and stroked: each label adds under 8 KB (the outline flattened into
// points took 27 KB).
TEST_F(PrintFills, ArtTextPrintsAsAFewCurvesALabel) {
  QTemporaryDir dir;
  const auto art = [](pv::DeviceContext* dc, const pv::Rect& r) {
    static int n = 0;
    LineoPen(dc, 2, 0);
    LineoArtTextDraw(dc, "Nuovo testo", "DejaVu Sans", &r, 0.0, n++ % 15, 146, kC2, kC1, 100);
  };
  const QString shortJob = dir.filePath(QStringLiteral("short.pdf")),
                longJob = dir.filePath(QStringLiteral("long.pdf"));
  PrintLabels(shortJob, 5, art);
  PrintLabels(longJob, 10, art);
  const PdfContents few = Contents(shortJob), many = Contents(longJob);
  EXPECT_EQ(many.images, 0);
  EXPECT_LT(many.bytes - few.bytes, 40 * 8192) << few.bytes << " " << many.bytes;
}

// The twelve gradients, plain, turned and translucent, reach the PDF as
// shadings: no picture at all.
TEST_F(PrintFills, GradientsPrintAsShadingsWithoutPictures) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("gradients.pdf"));
  PrintLabels(pdf, 3, [](pv::DeviceContext* dc, const pv::Rect& r) {
    static int n = 0;
    const int fill = 140 + n++ % 12;
    LineoPen(dc, 2, 0);
    LineoRectangle(dc, &r, n % 3 == 0 ? 30.0 : 0.0, fill, kC1, kC2, n % 4 == 0 ? 40 : 100);
    LineoArtTextDraw(dc, "Arte", "DejaVu Sans", &r, 0.0, 3, fill, kC2, kC1, 100);
  });
  const PdfContents c = Contents(pdf);
  EXPECT_EQ(c.images, 0);
  EXPECT_GE(c.shadings, 24);
}

}  // namespace
