// The lab-print tool: a label file printed through the real job on "PDF",
// checked with poppler-utils.
#include "pdftools.h"
#include "printfixture.h"

#include "document/labelfile.h"

#include <QFile>
#include <QFileInfo>

namespace {

using printtest::Ink;

class LabPrintTest : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    // The program database of the tool's program folder, with two formats:
    // 2 x 2 labels of 20 x 10 mm, and 72 labels (6 x 12) of 30 x 20 mm.
    AddFormats({QStringLiteral("'T-4', 20, 10, 2, 2, 5, 0, 5, 0, 5, 5, 210, 297"),
                QStringLiteral("'T-72', 30, 20, 6, 12, 20, 0, 15, 0, 2, 2, 210, 297")});
    pv::CloseDatabase();
    SolidBackground(QColor(40, 90, 160));
  }

  // A label of w x h mm on format `code`, its background the solid picture.
  QString WriteLabel(const QString& code, double w, double h) {
    pv::Header.LabelFormatCode = code;
    pv::Header.LabelWidth = w;
    pv::Header.LabelHeight = h;
    pv::LabFileContent content;
    EXPECT_TRUE(pv::CurrentLabContent(content));
    const QString file = Home(code + QStringLiteral(".lab"));
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_TRUE(pv::WriteLabFile(out, content));
    return file;
  }

  int LabPrint(const QStringList& args, QString* err = nullptr) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PLAVIK_HOME"), Home(QString()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    int code = -1;
    printtest::Run(QStringLiteral(LAB_PRINT_PATH), args, &code, env, err);
    return code;
  }

  void SetIni(const QByteArray& text) {
    QFile ini(Home(QStringLiteral("plavik.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(text);
  }
};

TEST_F(LabPrintTest, PagesAndPositionsComeOutWhereTheLayoutSays) {
  const QString lab = WriteLabel(QStringLiteral("T-4"), 20, 10);
  const QString pdf = Home(QStringLiteral("three.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, pdf, QStringLiteral("3")}, &err), 0) << err.toStdString();
  EXPECT_EQ(printtest::PdfPages(pdf), 3);

  // Positions 2 to 4 on page 1 only; page 2 whole. At 254 dpi: 10 pixels a mm.
  const QString ranged = Home(QStringLiteral("ranged.pdf"));
  ASSERT_EQ(
      LabPrint({lab, ranged, QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("1")}, &err),
      0)
      << err.toStdString();
  ASSERT_EQ(printtest::PdfPages(ranged), 2);
  const QImage first = printtest::PdfPage(ranged, 1, 254);
  const QImage second = printtest::PdfPage(ranged, 2, 254);
  ASSERT_FALSE(first.isNull());
  const QPoint centres[] = {{150, 100}, {400, 100}, {150, 250}, {400, 250}};
  const bool onFirst[] = {false, true, true, true};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Ink(first, centres[i].x(), centres[i].y()), onFirst[i]) << i + 1;
    EXPECT_TRUE(Ink(second, centres[i].x(), centres[i].y())) << i + 1;
  }
  EXPECT_FALSE(Ink(first, 275, 100));  // the gap between labels
  EXPECT_FALSE(Ink(first, 40, 40));    // the margin
}

TEST_F(LabPrintTest, OneBackgroundObjectForSeventyTwoLabelsAndRoundLabelsStaySmall) {
  // A background of some size, as real ones are.
  QImage picture(300, 200, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 200, 120));
  ASSERT_TRUE(picture.save(pv::BackgroundName));
  const QString lab = WriteLabel(QStringLiteral("T-72"), 30, 20);
  const QString square = Home(QStringLiteral("square.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, square}, &err), 0) << err.toStdString();
  EXPECT_EQ(printtest::PdfImageObjects(square), 1);

  SetIni("[PRINTER]\r\nPRINTCIRCLE=1\r\n");
  const QString round = Home(QStringLiteral("round.pdf"));
  ASSERT_EQ(LabPrint({lab, round}, &err), 0) << err.toStdString();
  EXPECT_EQ(printtest::PdfImageObjects(round), 1);
  const qint64 squareSize = QFileInfo(square).size();
  const qint64 roundSize = QFileInfo(round).size();
  EXPECT_LE(double(roundSize), 1.5 * double(squareSize)) << roundSize << " vs " << squareSize;
  // A clip as pixels would cost tens of kilobytes a label; as a path, bytes.
  EXPECT_LT(double(roundSize - squareSize) / 72, 1024.0);
  // Round: the corners of a label stay blank, its centre is printed.
  const QImage page = printtest::PdfPage(round, 1, 254);
  EXPECT_TRUE(Ink(page, 150 + 150, 200 + 100));
  EXPECT_FALSE(Ink(page, 150 + 5, 200 + 5));
}

TEST_F(LabPrintTest, FailuresExitOneWithTheMessage) {
  const QString lab = WriteLabel(QStringLiteral("T-4"), 20, 10);
  QString err;
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("no/such/dir/out.pdf"))}, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("Printing error: 1"))) << err.toStdString();

  const QString unknown = WriteLabel(QStringLiteral("NOPE"), 20, 10);
  EXPECT_EQ(LabPrint({unknown, Home(QStringLiteral("x.pdf"))}, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("NOPE"))) << err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Home(QStringLiteral("x.pdf"))));

  EXPECT_EQ(LabPrint({lab}, &err), 2);
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("y.pdf")), QStringLiteral("0")}, &err), 2);
}

}  // namespace
