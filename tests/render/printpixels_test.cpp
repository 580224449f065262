// What a merged sheet looks like at 600 dpi, pixel for pixel against stored
// pictures: texts (plain, bold, centred, right-aligned, wrapped, turned) and
// barcodes (Code 128 with its text, turned, with bar reduction, a border)
// drawn label after label with field values that change, as the print job
// draws them: on a picture surface and into a PDF (read back with pdftoppm).
// A moved or widened bar, a lost or moved glyph, a wrong colour or a state
// left over from the label before shows as pixels that differ.
//
// PLAVIK_WRITE_PRINT_PIXELS=1 writes the stored pictures anew instead of
// comparing (only after a change that is meant to alter the output);
// PLAVIK_DIFF_DIR=folder keeps the pictures drawn there, to look at.
#include "fakes.h"

#include "platform/dc.h"
#include "tests/support/pdfpage.h"

#include <QDir>
#include <QPainterPath>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

using namespace pvtest;

namespace {

constexpr int kDpi = 600;
constexpr double kLabelW = 70, kLabelH = 36;  // millimetres
constexpr int kLabels = 4;                    // 2 x 2

int Px(double mm) { return int(mm / 25.4 * kDpi + 0.5); }

// Field values of the label being drawn.
struct SheetValues : FakeHosts {
  int label = 0;
  QString Value(const QString& field, const QString&) const override {
    static const char* const kNames[] = {"Mario Rossi", "Anna Maria Bianchi di Castelfranco", "Li", "Ugo Fo"};
    static const char* const kCodes[] = {"PV00000001", "PV12345678", "A-1", "pv-codice 42"};
    if (field == QLatin1String("NOME")) return QString::fromLatin1(kNames[label % 4]);
    if (field == QLatin1String("CITTA")) return QStringLiteral("%1 Roma").arg(10000 + label * 7);
    if (field == QLatin1String("CODICE")) return QString::fromLatin1(kCodes[label % 4]);
    return QString();
  }
};

class PrintPixels : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    pv::SetRenderLibraries(nullptr);  // the real libraries
    pv::SetRenderSettingsHost(&values);
    pv::Header.LabelWidth = kLabelW;
    pv::Header.LabelHeight = kLabelH;
  }

  pv::ObjectRecord& Text(std::int16_t kind, float cx, float cy, float w, float h, const QString& content, int size) {
    pv::ObjectRecord& r = AddBox(kind, cx, cy, w, h);
    r.Content = content;
    r.FontSize = std::int16_t(size);
    r.Color1 = 0;         // black text
    r.Color2 = 0xFFFFFF;  // on white
    return r;
  }
  pv::ObjectRecord& Barcode(float cx, float cy, float w, float h, const QString& field) {
    return AddBarcodeBox(cx, cy, w, h, pv::BarcodeCode128Index, field, 1);
  }

  // The typical label: a fixed text, two fields, a barcode from a field.
  void TypicalLabel() {
    Text(pv::UserTypeTextBox, 35, 4, 66, 5, QStringLiteral("Spett.le"), 8);
    Text(pv::UserTypeDatabaseField, 35, 10, 66, 6, QStringLiteral("NOME"), 12).Bold = 1;
    Text(pv::UserTypeDatabaseField, 35, 16, 66, 5, QStringLiteral("CITTA"), 10);
    Barcode(35, 28, 50, 13, QStringLiteral("CODICE"));
  }

  // Alignments, wrapping, turned text, and barcodes turned, reduced and framed.
  void VariedLabel() {
    Text(pv::UserTypeDatabaseField, 22, 5, 40, 8, QStringLiteral("NOME"), 9).Alignment = 22;  // centred, wraps
    Text(pv::UserTypeDatabaseField, 22, 12, 40, 4, QStringLiteral("CITTA"), 8).Alignment = 21;
    pv::ObjectRecord& italic = Text(pv::UserTypeTextBox, 22, 17, 40, 5, QStringLiteral("Corsivo giù"), 9);
    italic.Italic = 1;
    italic.Underline = 1;
    italic.Color1 = 0x0000C0;  // dark red
    Text(pv::UserTypeTextBox, 48, 14, 22, 6, QStringLiteral("Girato"), 10).Angle = 90;
    Barcode(22, 28, 40, 12, QStringLiteral("CODICE")).Color1 = 30;  // 30 % bar reduction
    pv::ObjectRecord& turned = Barcode(62, 20, 10, 30, QStringLiteral("CODICE"));
    turned.Alignment = 1;  // +90 degrees
    turned.Color2 = 2;     // a 2-point border
    turned.LineColor = 0x804000;
  }

  // The sheet as the page drawing draws it: each label clipped to its
  // outline in a saved state, its objects scaled into its cell, the canvas
  // geometry committed once for the sheet.
  void DrawSheet(pv::DeviceContext* dc) {
    pv::Editor().SaveData();
    const pv::LabelContent label{pv::DocBlock, pv::Header, pv::PageOrgX, pv::PageOrgY};
    for (int i = 0; i < kLabels; ++i) {
      values.label = i;
      const int x = Px(2 + (i % 2) * (kLabelW + 3)), y = Px(2 + (i / 2) * (kLabelH + 3));
      pv::Rect cell{x, y, x + Px(kLabelW), y + Px(kLabelH)};
      const int level = pv::SaveDC(dc);
      QPainterPath outline;
      outline.addRect(QRectF(cell.left, cell.top, cell.right + 1 - cell.left, cell.bottom + 1 - cell.top));
      pv::SelectClipOutline(dc, &outline);
      pv::DrawLabelObjects(dc, cell, label, values, pv::PrintSurface{});
      pv::RestoreDC(dc, level);
    }
  }

  static QSize SheetSize() { return QSize(Px(4 + 2 * kLabelW + 3), Px(4 + 2 * kLabelH + 3)); }

  QImage OnPicture() {
    pv::ImageSurface surface(SheetSize().width(), SheetSize().height(), kDpi, kDpi);
    DrawSheet(surface.dc());
    return surface.finish().convertToFormat(QImage::Format_Grayscale8);
  }

  QImage ThroughPdf() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    pv::test::WritePdfPage(pdf, QSizeF(SheetSize()) * 25.4 / kDpi, kDpi,
                           [this](pv::DeviceContext* dc) { DrawSheet(dc); });
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-singlefile"),
                                         QStringLiteral("-gray"), pdf, dir.filePath(QStringLiteral("page"))});
    p.waitForFinished(120000);
    return QImage(dir.filePath(QStringLiteral("page.pgm"))).convertToFormat(QImage::Format_Grayscale8);
  }

  // Compares with the stored picture: no pixel may differ by more than a
  // third of the grey range, and the small differences of smoothing at
  // glyph edges stay few.
  void Expect(const QImage& img, const QString& name) {
    ASSERT_FALSE(img.isNull()) << name.toStdString();
    const QString stored = QStringLiteral(PRINT_PIXELS_DIR "/") + name + QStringLiteral(".png");
    if (qEnvironmentVariableIntValue("PLAVIK_WRITE_PRINT_PIXELS") == 1) {
      ASSERT_TRUE(img.save(stored));
      return;
    }
    const QImage want = QImage(stored).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(img.size(), want.size()) << name.toStdString();
    int large = 0, small = 0;
    for (int y = 0; y < img.height(); ++y) {
      const uchar* a = img.constScanLine(y);
      const uchar* b = want.constScanLine(y);
      for (int x = 0; x < img.width(); ++x) {
        const int d = std::abs(int(a[x]) - int(b[x]));
        large += d > 85 ? 1 : 0;
        small += d > 0 ? 1 : 0;
      }
    }
    if (qEnvironmentVariableIsSet("PLAVIK_DIFF_DIR")) {
      img.save(qEnvironmentVariable("PLAVIK_DIFF_DIR") + "/" + name + ".png");
    }
    EXPECT_EQ(large, 0) << name.toStdString();
    EXPECT_LE(small, img.width() * img.height() / 1000) << name.toStdString();
  }

  SheetValues values;
};

TEST_F(PrintPixels, TypicalMergedLabelOnAPicture) {
  TypicalLabel();
  Expect(OnPicture(), QStringLiteral("typical-picture"));
}

TEST_F(PrintPixels, TypicalMergedLabelThroughPdf) {
  TypicalLabel();
  Expect(ThroughPdf(), QStringLiteral("typical-pdf"));
}

TEST_F(PrintPixels, VariedLabelOnAPicture) {
  VariedLabel();
  Expect(OnPicture(), QStringLiteral("varied-picture"));
}

TEST_F(PrintPixels, VariedLabelThroughPdf) {
  VariedLabel();
  Expect(ThroughPdf(), QStringLiteral("varied-pdf"));
}

}  // namespace
