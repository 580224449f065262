// Each label's own clip on the printed page: a label whose content cannot
// leave its cell is drawn without one, a label whose content can (an
// object over the edge, a turned one, a picture, a thick pen, art text, a
// round label, a background) is cut to its outline. Either way the page
// looks exactly as when every label is cut to its outline, in a PDF read
// back by poppler and on a picture.
#include "pdftools.h"
#include "printfixture.h"

#include "document/clipboard.h"
#include "platform/programfolder.h"
#include "tests/support/pdfpage.h"
#include "tests/support/records.h"

#include <QPainterPath>

#include <functional>

namespace {

using printtest::Ink;

constexpr int kDpi = 254;  // 10 dots a millimetre, as TwoByTwo's printer

// The cells of TwoByTwo, device pixels, both edges inclusive.
const QRect kCells[] = {QRect(QPoint(50, 50), QPoint(250, 150)), QRect(QPoint(300, 50), QPoint(500, 150)),
                        QRect(QPoint(50, 200), QPoint(250, 300)), QRect(QPoint(300, 200), QPoint(500, 300))};

using Sheet = std::function<void(pv::DeviceContext*)>;

// The page content of the PDF, its streams inflated.
QByteArray PdfContent(const QString& pdf) {
  QByteArray all;
  for (const QByteArray& raw : printtest::PdfDeflatedStreams(pdf)) all += printtest::Inflate(raw);
  return all;
}

// Clipping operators of a content stream ("W n", "W* n").
int Clips(const QByteArray& content) { return int(content.count("W n\n") + content.count("W* n\n")); }

class LabelClipTest : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    TwoByTwo();
  }

  pv::ObjectRecord& Text(float cx, float cy, float w, float h, const QString& text) {
    pv::ObjectRecord r = pv::test::BoxRecord(pv::UserTypeTextBox, cx, cy, w, h);
    r.Content = text;
    r.FontName = QStringLiteral("DejaVu Sans");
    r.FontSize = 8;
    r.Alignment = 20;
    r.Color1 = 0;
    r.Color2 = 0xFFFFFF;
    return pv::test::AppendRecord(r);
  }
  pv::ObjectRecord& Shape(std::int16_t kind, float cx, float cy, float w, float h) {
    pv::ObjectRecord r = pv::test::BoxRecord(kind, cx, cy, w, h);
    r.LineStyle = 3;  // 2 points
    r.LineColor = 0;
    r.FillStyle = 1;
    r.Color1 = pv::Rgb(128, 128, 128);
    r.Opacity = 100;
    return pv::test::AppendRecord(r);
  }
  // A plain label: a text and a barcode well inside.
  void PlainLabel() {
    Text(10, 2.5f, 16, 3, QStringLiteral("Spett.le"));
    pv::ObjectRecord code = pv::test::BoxRecord(pv::UserTypeBarcode, 10, 6.5f, 14, 4);
    code.Content = QStringLiteral("12345678");
    code.Aspect = pv::BarcodeCode128Index;
    code.ShowText = 1;
    pv::test::AppendRecord(code);
  }

  // The page through the print path.
  Sheet Printed() {
    return [](pv::DeviceContext* dc) { pv::PrintRun().PrintPage(dc, false); };
  }
  // The page as the print path drew it before: every label cut to its
  // outline (clip) or not cut at all.
  Sheet Reference(bool clip) {
    return [clip](pv::DeviceContext* dc) {
      const bool round = pv::IsTrue(pv::ProgramSettings().PrintCircle);
      const pv::LabelContent label{pv::DocBlock, pv::Header, pv::PageOrgX, pv::PageOrgY};
      const pv::FieldNames fields;
      for (const QRect& c : kCells) {
        const int level = pv::SaveDC(dc);
        QPainterPath outline;
        const QRectF r(c.left(), c.top(), c.width(), c.height());  // one pixel past the cell's right and bottom
        if (round)
          outline.addEllipse(r);
        else
          outline.addRect(r);
        if (clip) pv::SelectClipOutline(dc, &outline);
        pv::Rect rect{c.left(), c.top(), c.right(), c.bottom()};
        pv::DrawLabelBackground(dc, rect, false);
        rect = pv::Rect{c.left(), c.top(), c.right(), c.bottom()};
        pv::DrawLabelObjects(dc, rect, label, fields, pv::PrintSurface{});
        pv::RestoreDC(dc, level);
      }
    };
  }

  QString WritePdf(const Sheet& sheet, const QString& name) {
    const QString pdf = Home(name + QStringLiteral(".pdf"));
    pv::test::WritePdfPage(pdf, QSizeF(60, 35), kDpi, sheet);
    return pdf;
  }
  static QImage Picture(const Sheet& sheet) {
    pv::ImageSurface surface(600, 350, kDpi, kDpi, pv::Rgb(255, 255, 255), QImage::Format_RGB32);
    sheet(surface.dc());
    return surface.finish();
  }
  // A picture file of the temp folder as image object `number`.
  pv::ObjectRecord& Picture(int number, float cx, float cy, float w, float h) {
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(Qt::darkGray);
    EXPECT_TRUE(img.save(pv::TempImageFile(QStringLiteral("%1.png").arg(number))));
    pv::ObjectRecord r = pv::test::BoxRecord(pv::UserTypeImage, cx, cy, w, h);
    r.Variant = std::int16_t(number);
    r.Content = QStringLiteral("png");
    return pv::test::AppendRecord(r);
  }
};

TEST_F(LabelClipTest, PagesLookAsWithEveryLabelCutToItsOutline) {
  const struct Case {
    const char* name;
    std::function<void()> build;
    bool clipped;  // each label is cut to its outline
    bool reaches;  // without that cut ink would show past the cell
  } cases[] = {
      {"plain", [this] { PlainLabel(); }, false, false},
      {"text overflowing its box inside the label",
       [this] { Text(10, 5, 8, 3, QStringLiteral("Un testo molto più lungo della sua casella")); }, false, false},
      {"text box over the right edge", [this] { Text(18, 5, 8, 4, QStringLiteral("Testo al bordo")); }, true, true},
      {"barcode over the bottom edge",
       [this] {
         PlainLabel();
         pv::ObjectRecord code = pv::test::BoxRecord(pv::UserTypeBarcode, 10, 9, 14, 4);
         code.Content = QStringLiteral("87654321");
         code.Aspect = pv::BarcodeCode128Index;
         pv::test::AppendRecord(code);
       },
       true, true},
      {"frame larger than the label", [this] { Shape(pv::UserTypeRectangle, 10, 5, 21, 11).FillStyle = 0; }, true,
       true},
      {"ellipse with a thick pen at the edges", [this] { Shape(pv::UserTypeEllipse, 10, 5, 20, 10).LineStyle = 12; },
       true, false},
      {"turned rectangle, its unturned box inside", [this] { Shape(pv::UserTypeRectangle, 10, 5, 16, 3).Angle = 45; },
       true, true},
      {"turned text, its unturned box inside",
       [this] { Text(10, 5, 14, 3, QStringLiteral("Girato girato girato")).Angle = 90; }, true, true},
      {"thick line ending short of the edge, its cap past it",
       [this] {
         pv::ObjectRecord line = pv::test::LineRecord(2, 5, 19.2f, 5);
         line.LineStyle = 12;  // 6 points
         line.LineColor = 0;
         pv::test::AppendRecord(line);
       },
       true, true},
      {"picture over the left edge", [this] { Picture(1, 1, 5, 6, 4); }, true, true},
      {"art text inside the label",
       [this] {
         pv::ObjectRecord art = pv::test::BoxRecord(pv::UserTypeArtText, 10, 5, 12, 5);
         art.Content = QStringLiteral("Arte");
         art.FontName = QStringLiteral("DejaVu Sans");
         art.Variant = 1;  // arch up
         art.FillStyle = 1;
         art.LineStyle = 2;
         pv::test::AppendRecord(art);
       },
       true, false},
      {"round label",
       [this] {
         pv::ProgramSettings().PrintCircle = 1;
         SolidBackground(Qt::darkGray);
         PlainLabel();
       },
       true, true},
      {"background picture",
       [this] {
         SolidBackground(Qt::darkGray);
         PlainLabel();
       },
       true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pv::ResetDocumentState();
    pv::ClearPictureCache();
    pv::BackgroundName.clear();
    pv::ProgramSettings().PrintCircle = 0;
    TwoByTwo();
    c.build();
    pv::SaveData();  // the objects' geometry as the editor commits it

    const QString printed = WritePdf(Printed(), QStringLiteral("printed"));
    const QString cut = WritePdf(Reference(true), QStringLiteral("cut"));
    // Not cut: the page holds what the objects draw and nothing else. Cut:
    // the clips of before, each label's changed straight into the next one's
    // (fewer rounds of graphics state).
    const QByteArray content = PdfContent(printed), cutContent = PdfContent(cut);
    const QByteArray uncutContent = PdfContent(WritePdf(Reference(false), QStringLiteral("uncut")));
    if (c.clipped) {
      EXPECT_EQ(Clips(content), Clips(cutContent));
      EXPECT_LT(content.count("Q q\n"), cutContent.count("Q q\n"));
    } else {
      EXPECT_EQ(content, uncutContent);
    }
    const QImage want = printtest::PdfPage(cut, 1, 300);
    ASSERT_FALSE(want.isNull());
    EXPECT_TRUE(printtest::PdfPage(printed, 1, 300) == want);
    const QImage wantPicture = Picture(Reference(true));
    EXPECT_TRUE(Picture(Printed()) == wantPicture);
    // The case shows what it is meant to: ink past the cell without the cut.
    EXPECT_EQ(Picture(Reference(false)) != wantPicture, c.reaches);
  }
}

TEST_F(LabelClipTest, OutlinesAreDrawnUncutAndTheCallersClipComesBack) {
  // Labels cut to their outlines, each outline then drawn over the cut;
  // a clip outline of the caller's is its own again after the page.
  pv::ProgramSettings().PrintBorder = pv::VbTrue;
  Shape(pv::UserTypeRectangle, 10, 5, 21, 11).FillStyle = 0;
  pv::SaveData();
  for (bool callerClip : {false, true}) {
    SCOPED_TRACE(callerClip);
    pv::ImageSurface surface(600, 350, kDpi, kDpi, pv::Rgb(255, 255, 255), QImage::Format_RGB32);
    QPainterPath page;
    page.addRect(QRectF(0, 0, 590, 340));
    if (callerClip) pv::SelectClipOutline(surface.dc(), &page);
    pv::PrintRun().PrintPage(surface.dc(), false);
    QPainterPath after;
    EXPECT_EQ(pv::GetClipOutline(surface.dc(), &after), callerClip);
    EXPECT_EQ(after, callerClip ? page : QPainterPath());
    const QImage img = surface.finish();
    for (const QRect& c : kCells) {
      EXPECT_TRUE(Ink(img, c.center().x(), c.top()));          // the outline
      EXPECT_FALSE(Ink(img, c.center().x(), c.top() - 4));     // the frame cut away
      EXPECT_FALSE(Ink(img, c.center().x(), c.center().y()));  // hollow
    }
  }
}

}  // namespace
