// ScrivaDrawEx on a device that keeps vectors (a PDF, as every printer
// here): the text written with the fill as its brush, or one fill clipped to
// the glyph outlines where a brush cannot give it. Read back with poppler
// and set against the picture the same call draws on a readable surface;
// the PDF holds no picture for a gradient and a texture's picture once for
// a job; the caller's clip outline and mapping are kept.

#include "test_support.h"

#include "tests/printing/pdftools.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <functional>

using namespace scriva2_test;

namespace {

constexpr int kDpi = 300;
constexpr int kW = 600;  // pixels at kDpi: 50.8 x 25.4 mm
constexpr int kH = 300;
const pv::Rect kRect{30, 30, 570, 270};

using Drawing = std::function<void(pv::DeviceContext*)>;

class Scriva2Vector : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    PlainStyle(110);
    ScrivaSetForeColor(static_cast<std::int32_t>(pv::Rgb(230, 20, 0)));
    ScrivaSetBackColor(static_cast<std::int32_t>(pv::Rgb(0, 40, 210)));
  }

  // The drawing on a one-page PDF of kW x kH pixels at kDpi, written to m_pdf.
  void DrawPdf(const Drawing& draw) {
    DrawPdfPages(1, [&](pv::DeviceContext* dc, int) { draw(dc); });
  }
  // A job of `pages` such pages through one printer context, as a print job
  // draws them; drawPage is given each page's index.
  void DrawPdfPages(int pages, const std::function<void(pv::DeviceContext*, int)>& drawPage) {
    QPdfWriter writer(m_pdf);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QSizeF(kW * 25.4 / kDpi, kH * 25.4 / kDpi), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    pv::DeviceInfo info;
    info.dpiX = info.dpiY = kDpi;
    info.isPrinter = true;
    pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, info));
    ASSERT_EQ(pv::BackingImage(dc.get()), nullptr);
    for (int page = 0; page < pages; ++page) {
      if (page > 0) writer.newPage();
      drawPage(dc.get(), page);
    }
  }

  // The PDF read back at its own resolution.
  QImage PdfPicture() const {
    const QString base = m_dir.filePath(QStringLiteral("page"));
    printtest::Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
                                                QStringLiteral("-singlefile"), m_pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
  }

  // Image objects of the PDF, also those inside patterns (which pdfimages
  // does not list).
  int ImageDictionaries() const {
    QFile f(m_pdf);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(f.readAll().count("/Subtype /Image"));
  }

  // The page content of the PDF: its streams, inflated, one after another
  // (a stream that is not deflated is taken as it is).
  QByteArray Content() const {
    QFile f(m_pdf);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray pdf = f.readAll();
    QByteArray all;
    for (qsizetype at = pdf.indexOf("stream"); at >= 0; at = pdf.indexOf("stream", at)) {
      qsizetype begin = at + 6;
      if (pdf.mid(begin, 2) == "\r\n")
        begin += 2;
      else if (pdf.mid(begin, 1) == "\n")
        begin += 1;
      else {
        at = begin;  // "endstream"
        continue;
      }
      const qsizetype end = pdf.indexOf("endstream", begin);
      if (end < 0) break;
      const QByteArray raw = pdf.mid(begin, end - begin);
      // qUncompress takes zlib data after the expected size (big-endian); it
      // grows its buffer when the size is short.
      QByteArray sized("\x00\x01\x00\x00", 4);
      const bool deflated = !raw.isEmpty() && raw.at(0) == '\x78';
      const QByteArray inflated = deflated ? qUncompress(sized + raw) : QByteArray();
      all += inflated.isEmpty() ? raw : inflated;
      all += '\n';
      at = end + 9;
    }
    return all;
  }

  QTemporaryDir m_dir;
  const QString m_pdf = m_dir.filePath(QStringLiteral("text.pdf"));
};

// The same drawing on a readable surface: the picture the screen shows.
QImage Raster(const Drawing& draw) {
  pv::ImageSurface s(kW, kH, kDpi, kDpi);
  draw(s.dc());
  return s.finish().convertToFormat(QImage::Format_RGB32);
}

// Mean of the largest channel difference over the picture, and the share of
// pixels that differ by more than a quarter of the range.
struct Difference {
  double mean = 0;
  double large = 0;
};
Difference Compare(const QImage& a, const QImage& b) {
  Difference d;
  if (a.size() != b.size()) return {255, 1};
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      const int diff =
          std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
      d.mean += diff;
      d.large += diff > 64 ? 1 : 0;
    }
  const double n = double(a.width()) * a.height();
  return {d.mean / n, d.large / n};
}

void Stripes(pv::DeviceContext* dc) {
  for (int x = 0; x < kW; x += 40) pv::FillRect(dc, pv::Rect{x, 0, x + 20, kH}, pv::Rgb(0, 0, 0));
}

Drawing FilledText(const char* text, int style, int texture, int opacity, double angle, bool inverse, bool background) {
  return [=](pv::DeviceContext* dc) {
    if (background) Stripes(dc);
    ScrivaSetFillParameter(0, 0, inverse ? -1 : 0);
    pv::Rect r = kRect;
    ScrivaDrawEx(dc, text, &r, angle, 22, style, texture, opacity);
    EXPECT_EQ(r.left, kRect.left + 1);
  };
}

TEST_F(Scriva2Vector, PrintsWhatTheScreenShows) {
  // The glyph edges differ a little (smoothed on the PDF, whole pixels on
  // the screen); the fill, its opacity and where it goes must not.
  const struct {
    const char* name;
    Drawing draw;
    bool background;
  } cases[] = {
      {"gradient", FilledText("Hamburg", 100, 0, 100, 0, false, false), false},
      {"radial", FilledText("Hamburg", 104, 0, 100, 0, false, false), false},
      {"texture", FilledText("Hamburg", 0, 7, 100, 0, false, false), false},
      {"translucent", FilledText("Hamburg", 101, 0, 50, 0, false, true), true},
      {"translucent-texture", FilledText("Hamburg", 0, 7, 50, 0, false, true), true},
      {"turned", FilledText("Hamburg", 102, 0, 100, 20, false, false), false},
      {"turned-radial", FilledText("Hamburg", 104, 0, 100, 75, false, false), false},
      {"turned-texture", FilledText("Hamburg", 0, 3, 100, 200, false, false), false},
      {"inverse", FilledText("Hamburg", 100, 0, 100, 0, true, false), false},
      {"inverse-translucent", FilledText("Hamburg", 106, 0, 40, 0, true, true), true},
      {"inverse-empty", FilledText("", 103, 0, 100, 0, true, false), false},
  };
  for (const auto& c : cases) {
    DrawPdf(c.draw);
    const QImage printed = PdfPicture();
    const QImage shown = Raster(c.draw);
    ASSERT_EQ(printed.size(), shown.size()) << c.name;
    const Difference d = Compare(printed, shown);
    EXPECT_LT(d.mean, 3.0) << c.name;
    EXPECT_LT(d.large, 0.02) << c.name;
    // And the fill is there to compare.
    EXPECT_GT(Compare(shown, Raster([&](pv::DeviceContext* dc) {
                        if (c.background) Stripes(dc);
                      }))
                  .mean,
              5.0)
        << c.name;
  }
}

TEST_F(Scriva2Vector, UnderlineAndStrikeOutAreFilled) {
  // Between two words only the two lines are ink.
  const auto gapInk = [&](bool decorated) {
    ScrivaSetUnderline(decorated ? 1 : 0);
    ScrivaSetStrike(decorated ? 1 : 0);
    DrawPdf(FilledText("H     H", 100, 0, 100, 0, false, false));
    ScrivaSetUnderline(0);
    ScrivaSetStrike(0);
    const QImage printed = PdfPicture();
    const QRect ink = InkBox(printed);
    return pv::test::CountPixels(printed, QRect(ink.center().x(), 0, 1, kH), pv::test::Except(qRgb(255, 255, 255)));
  };
  EXPECT_EQ(gapInk(false), 0);
  EXPECT_GE(gapInk(true), 4);
}

TEST_F(Scriva2Vector, GradientTextHoldsNoPicture) {
  // A paragraph of several lines, opaque and translucent: the fill is a
  // vector gradient under the glyph outlines, not a picture.
  const char* text = "Etichetta di prova con testo lungo che va a capo parola per parola";
  PlainStyle(40);
  for (int style : {100, 101, 102, 103, 104, 106}) {
    for (int opacity : {100, 40}) {
      DrawPdf(FilledText(text, style, 0, opacity, 0, false, false));
      EXPECT_EQ(ImageDictionaries(), 0) << style << " at " << opacity;
      EXPECT_EQ(printtest::PdfImageObjects(m_pdf), 0) << style << " at " << opacity;
    }
  }
}

TEST_F(Scriva2Vector, RectangularGradientTextHoldsNoPicture) {
  DrawPdf(FilledText("Hamburg", 105, 0, 100, 0, false, false));
  EXPECT_EQ(ImageDictionaries(), 0);
}

TEST_F(Scriva2Vector, FilledTextIsWrittenAsText) {
  // A fill that is one brush writes the letters as a text object (the words
  // can be read back), not as a clip of glyph outlines (hundreds of curves).
  const struct {
    const char* name;
    Drawing draw;
  } cases[] = {
      {"horizontal", FilledText("Hamburg", 100, 0, 100, 0, false, false)},
      {"vertical", FilledText("Hamburg", 101, 0, 100, 0, false, false)},
      {"diagonal", FilledText("Hamburg", 102, 0, 100, 0, false, false)},
      {"diagonal-up", FilledText("Hamburg", 103, 0, 100, 0, false, false)},
      {"radial", FilledText("Hamburg", 104, 0, 100, 0, false, false)},
      {"band", FilledText("Hamburg", 106, 0, 100, 0, false, false)},
      {"unknown-type", FilledText("Hamburg", 7, 0, 100, 0, false, false)},
      {"translucent", FilledText("Hamburg", 101, 0, 40, 0, false, false)},
      {"texture", FilledText("Hamburg", 0, 7, 100, 0, false, false)},
      {"texture-translucent", FilledText("Hamburg", 0, 7, 50, 0, false, false)},
      {"turned", FilledText("Hamburg", 102, 0, 100, 20, false, false)},
  };
  for (const auto& c : cases) {
    DrawPdf(c.draw);
    EXPECT_TRUE(printtest::PdfWords(m_pdf, 1).contains(QStringLiteral("Hamburg"))) << c.name;
    const QByteArray content = Content();
    EXPECT_TRUE(content.contains("BT") && (content.contains("Tj") || content.contains("TJ"))) << c.name;
    EXPECT_LT(content.count(" c\n"), 8) << c.name;
  }
  // The rectangular gradient and the fill around the glyphs still cut one
  // fill by the outlines.
  DrawPdf(FilledText("Hamburg", 105, 0, 100, 0, false, false));
  EXPECT_GT(Content().count(" c\n"), 50);
}

TEST_F(Scriva2Vector, ManyLabelsOfFilledTextStaySmall) {
  // A job of labels, each a page with its own text: what the fill adds to a
  // label, against the same job in plain text, is its few small objects (a
  // clip of glyph outlines costs some 160 bytes a glyph); a texture's
  // picture is held once for the whole job.
  constexpr int kLabels = 60;
  PlainStyle(60);
  const auto job = [&](int style, int texture) {
    DrawPdfPages(kLabels, [&](pv::DeviceContext* dc, int i) {
      const QByteArray text = "Offerta speciale " + QByteArray::number(i % 10);
      pv::Rect r = kRect;
      if (style == 0 && texture == 0)
        ScrivaDraw(dc, text.constData(), &r, 0.0, 22);
      else
        ScrivaDrawEx(dc, text.constData(), &r, 0.0, 22, style, texture, 100);
    });
    return QFile(m_pdf).size();
  };
  ScrivaSetBold(1);  // as the filled text
  const qint64 plain = job(0, 0);
  const struct {
    const char* name;
    int style;
    int texture;
    int images;
  } cases[] = {{"gradient", 100, 0, 0}, {"radial", 104, 0, 0}, {"band", 106, 0, 0}, {"texture", 0, 5, 1}};
  for (const auto& c : cases) {
    const qint64 filled = job(c.style, c.texture);
    EXPECT_EQ(printtest::PdfPages(m_pdf), kLabels) << c.name;
    EXPECT_EQ(ImageDictionaries(), c.images) << c.name;
    EXPECT_TRUE(printtest::PdfWords(m_pdf, kLabels).contains(QStringLiteral("speciale"))) << c.name;
    // The texture's one picture is spread over the job.
    const qint64 extra = (filled - plain) / kLabels;
    EXPECT_LT(extra, 1024) << c.name << ": " << plain << " plain, " << filled << " filled";
  }
}

TEST_F(Scriva2Vector, TheCallersClipOutlineCutsTheFillAndStays) {
  // A round label: its outline is the caller's clip, narrower than the text.
  QPainterPath round;
  round.addEllipse(QRectF(150, 20, 300, 260));
  QPainterPath after;
  bool kept = false;
  const Drawing draw = [&](pv::DeviceContext* dc) {
    pv::SelectClipOutline(dc, &round);
    FilledText("Hamburg", 100, 0, 100, 0, false, false)(dc);
    kept = pv::GetClipOutline(dc, &after);
  };
  DrawPdf(draw);
  EXPECT_TRUE(kept);
  EXPECT_EQ(after, round);
  const QImage printed = PdfPicture();
  int inside = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (printed.pixel(x, y) == qRgb(255, 255, 255)) continue;
      ASSERT_TRUE(round.contains(QPointF(x + 0.5, y + 0.5)) || round.intersects(QRectF(x - 1, y - 1, 3, 3)))
          << x << "," << y;
      ++inside;
    }
  EXPECT_GT(inside, 2000);
  // Without the outline the letters reach well beyond the round.
  const QRect unclipped = InkBox(Raster(FilledText("Hamburg", 100, 0, 100, 0, false, false)));
  EXPECT_LT(unclipped.left(), 120);
  EXPECT_GT(unclipped.right(), 480);
}

TEST_F(Scriva2Vector, TheFillLandsWhereThePlainTextDoes) {
  // Unmapped, and with logical units of two device pixels: the filled text
  // covers what the plain text of the same settings covers.
  PlainStyle(50);
  ScrivaSetBold(1);  // the filled text is bold
  for (int scale : {1, 2}) {
    const auto mapped = [scale](const std::function<void(pv::DeviceContext*, pv::Rect*)>& draw) {
      return [=](pv::DeviceContext* dc) {
        pv::SetMapMode(dc, pv::MapMode::Anisotropic);
        pv::SetWindowExt(dc, 1, 1);
        pv::SetViewportExt(dc, scale, scale);
        pv::Rect r{10, 10, 290, 140};
        draw(dc, &r);
      };
    };
    DrawPdf(mapped([](pv::DeviceContext* dc, pv::Rect* r) { ScrivaDraw(dc, "Hamburg", r, 0.0, 20); }));
    const QRect plain = InkBox(PdfPicture());
    DrawPdf(mapped([](pv::DeviceContext* dc, pv::Rect* r) { ScrivaDrawEx(dc, "Hamburg", r, 0.0, 20, 100, 0, 100); }));
    const QRect filled = InkBox(PdfPicture());
    ASSERT_FALSE(plain.isNull());
    EXPECT_GT(plain.width(), 100 * scale) << scale;
    EXPECT_NEAR(filled.left(), plain.left(), scale) << scale;
    EXPECT_NEAR(filled.right(), plain.right(), scale) << scale;
    EXPECT_NEAR(filled.top(), plain.top(), scale) << scale;
    EXPECT_NEAR(filled.bottom(), plain.bottom(), scale) << scale;
  }
}

}  // namespace
