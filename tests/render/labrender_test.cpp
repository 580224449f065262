// The lab-render tool from the shell's side: a label file in, a PNG out.
#include "fakes.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace pvtest;

namespace {

QByteArray LabBytes(const pv::LabFileContent& content) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(pv::WriteLabFile(buffer, content));
  return buffer.data();
}

int RunTool(const QStringList& args, QString* err = nullptr) {
  QProcess p;
  p.start(QStringLiteral(LAB_RENDER_PATH), args);
  if (!p.waitForFinished(60000)) return -1;
  if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A box with its geometry committed: the first point repeats the centre and
// the second the size.
pv::ObjectRecord Box(std::int16_t kind, float cx, float cy, float w, float h, std::int32_t key) {
  pv::ObjectRecord r = pv::test::BoxRecord(kind, cx, cy, w, h);
  r.X1 = cx;
  r.Y1 = cy;
  r.X2 = w;
  r.Y2 = h;
  r.Key = key;
  r.FontName = "Arial";
  r.FontSize = 14;
  r.Alignment = 20;
  r.LineStyle = 2;
  r.Opacity = 100;
  return r;
}

TEST(LabRender, DrawsTheLabelAtTheGivenResolution) {
  QTemporaryDir dir;
  pv::LabFileContent content;
  content.Header.LabelWidth = 50.8;  // 2 x 1 inch
  content.Header.LabelHeight = 25.4;
  content.BackgroundName = pv::FixedName("");
  content.BorderName = pv::FixedName("");
  // Object coordinates include the page origin: a 50.8 x 25.4 mm page
  // centred in the editor's 300 mm work area starts at (124.6, 137.3).
  const float orgX = 124.6f, orgY = 137.3f;
  pv::ObjectRecord rect = Box(pv::UserTypeRectangle, orgX + 12.7f, orgY + 12.7f, 20, 20, 1);
  rect.FillStyle = 1;
  rect.Color1 = pv::Rgb(255, 0, 0);
  rect.LineColor = 0;
  pv::ObjectRecord code = Box(pv::UserTypeBarcode, orgX + 38, orgY + 12.7f, 22, 20, 2);
  code.Aspect = pv::BarcodeCode128Index;
  code.Content = "12345";
  code.ShowText = 1;
  content.Block.Objects[1] = rect;
  content.Block.Objects[2] = code;
  content.Block.Count = 2;
  const QString lab = dir.filePath("in.lab");
  QFile f(lab);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(LabBytes(content));
  f.close();

  const QString png = dir.filePath("out.png");
  QString err;
  ASSERT_EQ(RunTool({lab, png, "100"}, &err), 0) << err.toStdString();
  const QImage img(png);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(200, 100));
  EXPECT_EQ(img.pixel(25, 50), qRgb(255, 0, 0));                                // inside the rectangle
  EXPECT_EQ(img.pixel(195, 3), qRgb(255, 255, 255));                            // nothing there
  EXPECT_GT(CountPixels(img, Area({110, 20, 190, 80}), DarkerThan(160)), 500);  // the barcode's bars
  EXPECT_EQ(img.dotsPerMeterX(), 3937);
}

TEST(LabRender, RefusedFileExitsWithOne) {
  QTemporaryDir dir;
  const QString bad = dir.filePath("bad.lab");
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("this is not a label file");
  f.close();
  EXPECT_EQ(RunTool({bad, dir.filePath("out.png"), "300"}), 1);
  EXPECT_FALSE(QFile::exists(dir.filePath("out.png")));
  EXPECT_EQ(RunTool({dir.filePath("missing.lab"), dir.filePath("out.png"), "300"}), 1);
  EXPECT_EQ(RunTool({bad, dir.filePath("out.png")}), 2);
}

}  // namespace
