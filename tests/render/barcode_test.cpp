// Barcodes: the format list, the picture of every format inside its
// rectangle, the placeholder, and the options that change the drawing.
#include "fakes.h"

#include "platform/stringtable.h"
#include "tests/printing/pdftools.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSet>

using namespace pvtest;

namespace {

// A valid text for every format of the list, by index.
const char* SampleData(int index) {
  static const char* const kSamples[] = {
      "400638133393",         // EAN-13
      "1234567",              // EAN-8
      "01234567890",          // UPC-A
      "123456",               // UPC-E
      "CODE39",               // Code 39
      "code39ext",            // Code 39 Extended
      "CODE93",               // Code 93
      "A123456B",             // Codabar
      "12345678",             // Interleaved 2 of 5
      "1234567890123",        // ITF-14
      "código de barras",     // Code 128
      "[01]12345678901231",   // GS1-128
      "123-45",               // Code 11
      "123456",               // MSI Plessey
      "123456",               // Industrial 2 of 5
      "123456",               // Matrix 2 of 5
      "1234567890123",        // EAN-14
      "12345678901234567",    // SSCC-18
      "12345678",             // Code 32
      "12345",                // Pharmacode
      "TELEPEN",              // Telepen
      "1234567890123",        // GS1 DataBar
      "1234567890123",        // GS1 DataBar Limited
      "[01]12345678901231",   // GS1 DataBar Expanded
      "9780306406157",        // ISBN
      "PDF417 text",          // PDF417
      "MicroPDF",             // MicroPDF417
      "https://example.org",  // QR Code
      "12345",                // Micro QR Code
      "Data Matrix",          // Data Matrix
      "Aztec",                // Aztec Code
      "MaxiCode text",        // MaxiCode
      "Code16K",              // Code 16K
      "Codablock",            // Codablock-F
      "DotCode",              // DotCode
  };
  return index < int(std::size(kSamples)) ? kSamples[index] : nullptr;
}

class Barcodes : public RenderTest {
 protected:
  pv::ObjectRecord& AddBarcode(int format, const QString& text) { return AddBarcodeBox(0, 0, 40, 20, format, text); }
};

TEST(BarcodeFormats, IndexedListWithCode128AtTen) {
  EXPECT_EQ(pv::BarcodeFormatName(pv::BarcodeCode128Index), "Code 128");
  EXPECT_GE(pv::BarcodeFormatCount(), 18);
  EXPECT_LE(pv::BarcodeFormatCount(), 101);  // what the barcode dialog reads
  QSet<QString> names;
  for (int i = 0; i < pv::BarcodeFormatCount(); ++i) {
    EXPECT_FALSE(pv::BarcodeFormatName(i).isEmpty()) << i;
    names.insert(pv::BarcodeFormatName(i));
  }
  EXPECT_EQ(names.size(), pv::BarcodeFormatCount());
  EXPECT_TRUE(pv::BarcodeFormatName(pv::BarcodeFormatCount()).isEmpty());
  EXPECT_TRUE(pv::BarcodeFormatName(-1).isEmpty());
  for (const char* needed :
       {"EAN-13", "EAN-8", "UPC-A", "UPC-E", "Code 39", "Code 93", "GS1-128", "Interleaved 2 of 5", "ITF-14", "Codabar",
        "MSI Plessey", "Code 11", "PDF417", "QR Code", "Data Matrix", "Aztec Code"}) {
    EXPECT_TRUE(names.contains(QString::fromLatin1(needed))) << needed;
  }
}

TEST_F(Barcodes, EveryFormatDrawsDarkBarsInsideItsRectangleOnly) {
  ASSERT_EQ(SampleData(pv::BarcodeFormatCount()), nullptr) << "a sample for every format";
  for (int i = 0; i < pv::BarcodeFormatCount(); ++i) {
    SCOPED_TRACE(pv::BarcodeFormatName(i).toStdString());
    pv::ResetDocumentState();
    pv::ObjectRecord& r = AddBarcode(i, QString::fromUtf8(SampleData(i)));
    pv::ImageSurface surface(300, 200);
    const pv::Rect box{40, 30, 260, 170};
    DrawForPrint(surface.dc(), r, box.left, box.top, box.right, box.bottom, 0.0f, false);
    EXPECT_TRUE(pv::Axbarcode1().IsValid()) << pv::Axbarcode1().ErrorText().toStdString();
    const QImage img = surface.finish();
    const int inside = CountPixels(img, Area(box), DarkerThan(160));
    EXPECT_GT(inside, (box.right - box.left) * (box.bottom - box.top) / 20);
    EXPECT_EQ(CountPixels(img, Area({0, 0, 300, 200}), Except(kWhite)), CountPixels(img, Area(box), Except(kWhite)));
  }
}

TEST_F(Barcodes, NewBarcodeObjectTextEncodesInCode128) {
  pv::BarcodeControl& bc = pv::Axbarcode1();
  bc.SetFormatIndex(pv::BarcodeCode128Index);
  bc.SetData(pv::LoadResString(32003));
  EXPECT_TRUE(bc.IsValid()) << bc.ErrorText().toStdString();
}

TEST_F(Barcodes, UnencodableTextOrUnknownFormatDrawsThePlaceholder) {
  struct Case {
    int format;
    const char* text;
  };
  const std::vector<Case> cases{
      {0, "ABCDEFGHIJKL"},   // EAN-13 takes digits
      {0, "4006381333932"},  // wrong check digit
      {1, "123"},            // too short for EAN-8
      {10, ""},              // nothing to encode
      {99, "12345"},         // a format index from elsewhere
      {-1, "12345"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.format) + " " + c.text);
    pv::ResetDocumentState();
    pv::ObjectRecord& r = AddBarcode(c.format, QString::fromUtf8(c.text));
    pv::ImageSurface surface(200, 120);
    const pv::Rect box{20, 20, 180, 100};
    DrawOnScreen(surface.dc(), r, box);
    EXPECT_FALSE(pv::Axbarcode1().IsValid());
    const QImage img = surface.finish();
    // Grey frame and diagonals: the corners and the centre are marked.
    EXPECT_NE(img.pixel(21, 21) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(img.pixel(178, 98) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(img.pixel(100, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(60, 30) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(CountPixels(img, Area({0, 0, 200, 120}), Except(kWhite)), CountPixels(img, Area(box), Except(kWhite)));
  }
}

TEST_F(Barcodes, DataFieldShowsItsNameOnScreenAndTheRecordsValueInPrint) {
  pv::ObjectRecord& r = AddBarcode(10, "Code");
  r.Variant = 1;
  r.FormatText = "fmt";
  pv::ImageSurface surface(200, 100);
  DrawOnScreen(surface.dc(), r, {0, 0, 200, 100});
  EXPECT_EQ(pv::Axbarcode1().Properties().Data, "Code");
  EXPECT_TRUE(hosts.fieldRequests.isEmpty());
  DrawForPrint(surface.dc(), r, 0, 0, 200, 100, 0.0f, false);
  EXPECT_EQ(hosts.fieldRequests, QStringList{"Code|fmt"});
  EXPECT_EQ(pv::Axbarcode1().Properties().Data, "value of Code");
  // A fixed text is encoded trimmed in print and as stored on screen.
  r.Variant = 0;
  r.Content = " A1 ";
  DrawForPrint(surface.dc(), r, 0, 0, 200, 100, 0.0f, false);
  EXPECT_EQ(pv::Axbarcode1().Properties().Data, "A1");
  DrawOnScreen(surface.dc(), r, {0, 0, 200, 100});
  EXPECT_EQ(pv::Axbarcode1().Properties().Data, " A1 ");
}

TEST_F(Barcodes, ObjectFieldsReachTheEngine) {
  pv::ObjectRecord& r = AddBarcode(8, "1234");
  r.Color2 = 3;
  r.BearerBars = 1;
  r.ShowCheckDigit = 1;
  r.ShowText = 0;
  r.ShowMargins = 1;
  r.ExtraOption1 = 1;
  r.ExtraOption2 = 0;
  r.Alignment = 2;
  r.Color1 = 15;
  r.LineColor = 0x0000FF;
  pv::ImageSurface surface(200, 100);
  DrawForPrint(surface.dc(), r, 0, 0, 200, 100, 0.0f, false);
  pv::BarcodeProperties expected;
  expected.Border = 3;
  expected.BearerBars = 1;
  expected.ShowCheckDigit = 1;
  expected.ShowText = 0;
  expected.ShowMargins = 1;
  expected.ExtraOption1 = 1;
  expected.ExtraOption2 = 0;
  expected.FormatIndex = 8;
  expected.Orientation = 2;
  expected.Reduction = 15;
  expected.LineColor = 0x0000FF;
  expected.Data = "1234";
  EXPECT_TRUE(pv::Axbarcode1().Properties() == expected);
}

// Changes between dark and light along the middle row or the middle column.
int Transitions(const QImage& img, bool alongRow) {
  int n = 0;
  const int len = alongRow ? img.width() : img.height();
  bool prev = false;
  for (int i = 0; i < len; ++i) {
    const QRgb p = alongRow ? img.pixel(i, img.height() / 2) : img.pixel(img.width() / 2, i);
    const bool dark = qGray(p) < 128;
    if (i > 0 && dark != prev) ++n;
    prev = dark;
  }
  return n;
}

TEST_F(Barcodes, OrientationTurnsTheBars) {
  pv::ObjectRecord& r = AddBarcode(10, "ABC123");
  r.ShowText = 0;
  QImage images[4];
  for (std::int16_t o : {0, 1, 2, 3}) {
    SCOPED_TRACE(o);
    r.Alignment = o;
    pv::ImageSurface surface(200, 200);
    DrawForPrint(surface.dc(), r, 0, 0, 200, 200, 0.0f, false);
    images[o] = surface.finish();
    const bool vertical = o == 1 || o == 2;
    EXPECT_GT(Transitions(images[o], !vertical), 20);
    EXPECT_EQ(Transitions(images[o], vertical), 0);
  }
  // +90 and -90 are half a turn apart, as are normal and upside down.
  EXPECT_NE(images[0], images[3]);
  EXPECT_NE(images[1], images[2]);
  int differing = 0;
  const QImage turned = images[1].mirrored(true, true);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x)
      differing += (qGray(turned.pixel(x, y)) < 128) != (qGray(images[2].pixel(x, y)) < 128);
  EXPECT_LT(differing, 200 * 200 / 20);
}

QImage Picture(pv::BarcodeControl& bc) {
  pv::ImageSurface surface(240, 160);
  bc.Draw(surface.dc(), 10, 10, 220, 140, 0.0f);
  return surface.finish();
}

// One engine encodes label after label: whatever the last encoding set or
// chose (options, modes, the height, a failure) must not reach the next one.
TEST_F(Barcodes, EachEncodingIsAsFromAFreshEngine) {
  struct Step {
    int format;
    const char* data;
    std::int16_t checkDigit = 0, showText = 1, margins = 0, escapes = 0, dots = 0, bearer = 0;
  };
  const std::vector<Step> steps{
      {27, "https://example.org/a/long/address/for/a/large/symbol"},  // QR Code picks a version
      {27, "12345"},
      {29, "Data Matrix", 0, 1, 0, 0, 1},  // dots
      {29, "Data Matrix"},
      {4, "CODE39", 1},  // check character
      {4, "CODE39"},
      {9, "1234567890123", 0, 1, 1, 0, 0, 1},  // ITF-14 bearer box, quiet zones
      {8, "12345678", 0, 1, 0, 0, 0, 1},       // bearer bars
      {8, "12345678"},
      {11, "(01)12345678901231"},  // GS1 data in brackets
      {10, "(01)12345678901231"},
      {10, "A\\x41B", 0, 1, 0, 1},  // backslash escapes
      {10, "A\\x41B"},
      {0, "4006381333932"},  // a failure in between
      {10, "ABC123", 0, 0},
      {25, "PDF417 text"},
      {26, "MicroPDF"},
      {31, "MaxiCode text"},
      {19, "12345"},
      {10, "ABC123"},
  };
  pv::BarcodeControl reused;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& st = steps[i];
    SCOPED_TRACE(std::to_string(i) + " " + pv::BarcodeFormatName(st.format).toStdString() + " " + st.data);
    pv::BarcodeProperties p;
    p.FormatIndex = st.format;
    p.Data = QString::fromUtf8(st.data);
    p.ShowCheckDigit = st.checkDigit;
    p.ShowText = st.showText;
    p.ShowMargins = st.margins;
    p.ExtraOption1 = st.escapes;
    p.ExtraOption2 = st.dots;
    p.BearerBars = st.bearer;
    reused.SetProperties(p);
    pv::BarcodeControl fresh;
    fresh.SetProperties(p);
    EXPECT_EQ(reused.IsValid(), fresh.IsValid());
    EXPECT_EQ(reused.ErrorText(), fresh.ErrorText());
    EXPECT_TRUE(Picture(reused) == Picture(fresh));
  }
}

// The human-readable text reaches a PDF as text: its characters can be
// read back from the file.
TEST_F(Barcodes, HumanReadableTextIsTextInPdf) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("code.pdf"));
  {
    QPdfWriter writer(pdf);
    writer.setResolution(600);
    QPainter painter(&writer);
    pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, 600, 600));
    pv::BarcodeControl bc;
    int y = 100;
    for (const char* text : {"AVATAR 1971", "Wolf-Tyre 40"}) {
      bc.SetData(QString::fromUtf8(text));
      bc.Draw(dc.get(), 100, y, 3000, 800, 0.0f);
      y += 1200;
    }
  }
  EXPECT_EQ(printtest::PdfWords(pdf, 1), (QStringList{"AVATAR", "1971", "Wolf-Tyre", "40"}));
}

TEST_F(Barcodes, ColourReductionAndBorderChangeTheDrawing) {
  pv::ObjectRecord& r = AddBarcode(10, "ABC123");
  r.ShowText = 0;
  r.LineColor = pv::Rgb(255, 0, 0);
  const pv::Rect box{0, 0, 400, 100};
  auto draw = [&]() {
    pv::ImageSurface surface(400, 100);
    DrawForPrint(surface.dc(), r, 0, 0, 400, 100, 0.0f, false);
    return surface.finish();
  };
  QImage plain = draw();
  int red = 0;
  for (int x = 0; x < 400; ++x) red += plain.pixel(x, 50) == qRgb(255, 0, 0) ? 1 : 0;
  EXPECT_GT(red, 60);
  const int full = CountPixels(plain, Area(box), Except(kWhite));

  r.Color1 = 50;  // half a module off every bar
  EXPECT_LT(CountPixels(draw(), Area(box), Except(kWhite)), full * 9 / 10);
  r.Color1 = 0;

  r.Color2 = 2;  // 2 points at 600 dpi: a frame about 17 pixels wide
  const QImage framed = draw();
  EXPECT_EQ(framed.pixel(5, 50), qRgb(255, 0, 0));
  EXPECT_EQ(framed.pixel(200, 5), qRgb(255, 0, 0));
  EXPECT_EQ(framed.pixel(200, 25), qRgb(255, 255, 255));  // the gap inside the frame

  r.Color2 = 30000;  // an absurd border still leaves the bars readable
  EXPECT_GT(Transitions(draw(), true), 20);
}

}  // namespace
