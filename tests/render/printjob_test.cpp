// Labels printed through the real job (the lab-print tool on the "PDF"
// printer) and read back with poppler: a translucent object lets what is
// under it show as the preview shows it, and pictures keep their encoding
// (a PNG stays lossless, a JPEG may stay JPEG).
#include "tests/printing/pdftools.h"
#include "tests/printing/printfixture.h"

#include "document/labelfile.h"
#include "tests/support/pixels.h"
#include "tests/support/records.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// The label: 40 x 20 mm, alone on its sheet with 5 mm margins; the tool puts
// it in the middle of the editor's work area.
constexpr float kLeft = 150.0f - 20.0f, kTop = 150.0f - 10.0f;
constexpr int kDpi = 200;

class PrintJob : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    AddFormats({QStringLiteral("'T-1', 40, 20, 1, 1, 5, 0, 5, 0, 0, 0, 50, 30")});
    pv::CloseDatabase();
  }

  // The open document's objects, with these pictures, as a .lab file.
  QString WriteLabel(const QString& name, const QList<pv::LabImageEntry>& pictures = {}) {
    pv::Header.LabelFormatCode = QStringLiteral("T-1");
    pv::Header.LabelWidth = 40;
    pv::Header.LabelHeight = 20;
    pv::LabFileContent content;
    EXPECT_TRUE(pv::CurrentLabContent(content));
    content.Images = pictures;
    const QString file = Home(name + QStringLiteral(".lab"));
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_TRUE(pv::WriteLabFile(out, content));
    return file;
  }

  // The label printed into a PDF; empty when the job failed.
  QString Print(const QString& lab) {
    const QString pdf = lab.left(lab.size() - 4) + QStringLiteral(".pdf");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PLAVIK_HOME"), Home(QString()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    int code = -1;
    QString err;
    printtest::Run(QStringLiteral(LAB_PRINT_PATH), {lab, pdf}, &code, env, &err);
    EXPECT_EQ(code, 0) << err.toStdString();
    return code == 0 ? pdf : QString();
  }

  static pv::ObjectRecord& Text(const QString& content) {
    pv::ObjectRecord r = pv::test::BoxRecord(pv::UserTypeTextBox, kLeft + 20, kTop + 10, 36, 12);
    r.Content = content;
    r.FontName = QStringLiteral("DejaVu Sans");
    r.FontSize = 28;
    r.Bold = 1;
    r.Alignment = 22;
    r.Color1 = 0;
    r.Color2 = 0xFFFFFF;
    r.Opacity = 100;
    return pv::test::AppendRecord(r);
  }

  static pv::ObjectRecord& Box(std::int16_t kind, float w, float h) {
    pv::ObjectRecord r = pv::test::BoxRecord(kind, kLeft + 20, kTop + 10, w, h);
    r.LineStyle = 0;  // no outline
    return pv::test::AppendRecord(r);
  }
};

// Pixels darker than this are ink of the black text.
constexpr int kDark = 70;

struct Pixels {
  int dark = 0;         // pixels of the region darker than kDark
  double lightSum = 0;  // grey of the region's pixels that are blank without the cover
  int light = 0;
};

// The region's pixels of `page`, sorted by what `bare` (the same label
// without the cover) has there.
Pixels Measure(const QImage& bare, const QImage& page, const QRect& region) {
  Pixels m;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      const int g = qGray(page.pixel(x, y));
      if (g < kDark) ++m.dark;
      if (qGray(bare.pixel(x, y)) > 250) {
        m.lightSum += g;
        ++m.light;
      }
    }
  }
  return m;
}

// The box of the pixels darker than kDark.
QRect InkBox(const QImage& page) { return pv::test::PixelBounds(page, pv::test::DarkerThan(kDark)); }

TEST_F(PrintJob, ATranslucentShapeOverATextLetsTheTextShowAsInThePreview) {
  struct Case {
    const char* name;
    std::int16_t kind;
    int fill;
    pv::Colour c1, c2;
    double expectGrey;  // of blank paper under the cover: 60 % white, 40 % the fill
  };
  const Case cases[] = {
      {"solid rectangle", pv::UserTypeRectangle, 1, pv::Rgb(0, 0, 0), pv::Rgb(0, 0, 0), 153},
      // Dark blue to near black, as the gradient box of a real label.
      {"gradient rectangle", pv::UserTypeRectangle, 146, pv::Rgb(0, 0, 140), pv::Rgb(20, 20, 20), 158},
      {"brush ellipse", pv::UserTypeEllipse, 8, pv::Rgb(0, 0, 0), pv::Rgb(0, 0, 0), 153},
  };
  pv::ResetDocumentState();
  Text(QStringLiteral("HXH"));
  const QString barePdf = Print(WriteLabel(QStringLiteral("bare")));
  ASSERT_FALSE(barePdf.isEmpty());
  const QImage bare = printtest::PdfPage(barePdf, 1, kDpi);
  ASSERT_FALSE(bare.isNull());
  const QRect text = InkBox(bare);
  ASSERT_GT(text.width(), 100);
  const Pixels without = Measure(bare, bare, text);
  ASSERT_GT(without.dark, 2000);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pv::ResetDocumentState();
    Text(QStringLiteral("HXH"));
    pv::ObjectRecord& cover = Box(c.kind, 38, 16);  // over the whole text
    cover.FillStyle = std::int16_t(c.fill);
    cover.Color1 = std::int32_t(c.c1);
    cover.Color2 = std::int32_t(c.c2);
    cover.Opacity = 40;
    const QString pdf = Print(WriteLabel(QStringLiteral("covered")));
    ASSERT_FALSE(pdf.isEmpty());
    const QImage page = printtest::PdfPage(pdf, 1, kDpi);
    ASSERT_EQ(page.size(), bare.size());
    const Pixels with = Measure(bare, page, text);
    // The text's ink is all there under the cover, and nothing more turns
    // dark: the paper around the glyphs is tinted, not hidden.
    EXPECT_NEAR(with.dark, without.dark, without.dark / 20) << with.dark << " dark vs " << without.dark;
    ASSERT_GT(with.light, 1000);
    EXPECT_NEAR(with.lightSum / with.light, c.expectGrey, 12);
  }
}

TEST_F(PrintJob, TranslucentArtTextAndTexturedTextPrintAsLightAsTheyArePreviewed) {
  // The darkest pixel of the page with the object at 100 % and at 40 %.
  const auto darkest = [this](bool art, int opacity) {
    pv::ResetDocumentState();
    if (art) {
      pv::ObjectRecord& r = Box(pv::UserTypeArtText, 36, 16);
      r.Content = QStringLiteral("HH");
      r.FontName = QStringLiteral("DejaVu Sans");
      r.FillStyle = 1;  // solid black
      r.Color1 = 0;
      r.Opacity = std::int16_t(opacity);
    } else {
      pv::ObjectRecord& r = Text(QStringLiteral("HH"));
      r.FillStyle = 27 + 40;  // a texture
      r.Opacity = std::int16_t(opacity);
    }
    const QString pdf = Print(WriteLabel(QStringLiteral("filled")));
    const QImage page = printtest::PdfPage(pdf, 1, kDpi);
    int least = 255;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) least = std::min(least, qGray(page.pixel(x, y)));
    return least;
  };
  for (const bool art : {true, false}) {
    SCOPED_TRACE(art ? "art text" : "textured text");
    const int opaque = darkest(art, 100);
    ASSERT_LT(opaque, 120);  // something dark is printed
    // 40 % of it over white paper.
    EXPECT_NEAR(darkest(art, 40), 0.6 * 255 + 0.4 * opaque, 15);
  }
}

// The images of the PDF as pdfimages -list names them: width x height ->
// encoding ("image" for flate, "jpeg" for DCT).
QMap<QString, QString> ImageEncodings(const QString& pdf) {
  QMap<QString, QString> out;
  const QStringList lines =
      printtest::Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
  for (qsizetype i = 2; i < lines.size(); ++i) {
    const QStringList cols = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (cols.size() > 8 && cols[2] == QLatin1String("image")) out.insert(cols[3] + QLatin1Char('x') + cols[4], cols[8]);
  }
  return out;
}

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  EXPECT_TRUE(writer.write(image)) << format;
  return bytes;
}

TEST_F(PrintJob, APngPictureStaysLosslessAndAJpegMayStayJpeg) {
  // Line art: one-pixel lines of many colours, the worst case for JPEG.
  QImage art(400, 300, QImage::Format_RGB32);
  art.fill(Qt::white);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      if (x % 7 == 0 || y % 5 == 0) art.setPixel(x, y, qRgb(x * 255 / 400, y * 255 / 300, (x + y) % 256));
  QImage photo(320, 240, QImage::Format_RGB32);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) photo.setPixel(x, y, qRgb(x * 255 / 320, 120, y * 255 / 240));

  pv::ResetDocumentState();
  pv::ObjectRecord png = pv::test::BoxRecord(pv::UserTypeImage, kLeft + 10, kTop + 10, 18, 14);
  png.Variant = 1;
  png.Content = QStringLiteral("png");
  pv::test::AppendRecord(png);
  pv::ObjectRecord jpeg = pv::test::BoxRecord(pv::UserTypeImage, kLeft + 30, kTop + 10, 18, 14);
  jpeg.Variant = 2;
  jpeg.Content = QStringLiteral("jpg");
  pv::test::AppendRecord(jpeg);
  const QString pdf =
      Print(WriteLabel(QStringLiteral("pictures"), {{QStringLiteral("1.png"), Encoded(art, "png")},
                                                    {QStringLiteral("2.jpg"), Encoded(photo, "jpeg")}}));
  ASSERT_FALSE(pdf.isEmpty());
  const QMap<QString, QString> enc = ImageEncodings(pdf);
  EXPECT_EQ(enc.value(QStringLiteral("400x300")), QStringLiteral("image"));
  EXPECT_EQ(enc.value(QStringLiteral("320x240")), QStringLiteral("jpeg"));

  // The PNG's pixels are in the PDF exactly.
  QTemporaryDir dir;
  printtest::Run(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("im"))});
  QImage stored;
  for (const QString& f : QDir(dir.path()).entryList({QStringLiteral("*.png")})) {
    const QImage candidate(dir.filePath(f));
    if (candidate.size() == art.size()) stored = candidate.convertToFormat(QImage::Format_RGB32);
  }
  ASSERT_FALSE(stored.isNull());
  EXPECT_EQ(stored, art);
}

TEST_F(PrintJob, HatchAndBrushPatternsAreStoredLossless) {
  pv::ResetDocumentState();
  for (const int fill : {4, 12}) {  // a hatch, a brush: sharp two-colour cells
    pv::ObjectRecord& r = Box(pv::UserTypeRectangle, 10, 10);
    r.FillStyle = std::int16_t(fill);
    r.Color1 = std::int32_t(pv::Rgb(250, 240, 200));
    r.Color2 = std::int32_t(pv::Rgb(30, 60, 120));
    r.Opacity = 100;
  }
  const QString pdf = Print(WriteLabel(QStringLiteral("patterns")));
  ASSERT_FALSE(pdf.isEmpty());
  // Pictures inside patterns are not listed by pdfimages: their filters
  // are read from the file (object dictionaries are not compressed).
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.contains("/Pattern"));
  EXPECT_FALSE(bytes.contains("/DCTDecode"));
}

}  // namespace
