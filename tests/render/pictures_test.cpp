// Pictures of image objects, picture files, the label's background and
// border, and the editor's page.
#include "fakes.h"

#include "platform/runtime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace pvtest;

namespace {

class Pictures : public RenderTest {
 protected:
  // A picture file of one colour.
  static void WriteImage(const QString& path, QRgb colour, int w = 4, int h = 4, const char* format = nullptr) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    ASSERT_TRUE(img.save(path, format));
  }
  QTemporaryDir dir;
};

TEST_F(Pictures, ImageObjectsGoToTheMetafilePlayerOrAreStretched) {
  struct Case {
    const char* ext;
    bool metafile;
  };
  for (const Case& c :
       {Case{"emf", true}, Case{" WMF ", true}, Case{"wmf", true}, Case{"bmp", false}, Case{"jpg", false}}) {
    SCOPED_TRACE(c.ext);
    pv::ResetDocumentState();
    libs.calls.clear();
    pv::ObjectRecord& r = AddBox(pv::UserTypeImage, 0, 0, 10, 10);
    r.Variant = 3;
    r.Content = c.ext;
    const QString file = pv::TempImageFile("3." + pv::Trim(r.Content));
    if (!c.metafile) WriteImage(file, qRgb(0, 0, 255));
    pv::ImageSurface surface(100, 100);
    DrawOnScreen(surface.dc(), r, {10, 20, 50, 60});
    const QImage img = surface.finish();
    if (c.metafile) {
      EXPECT_EQ(libs.calls, QStringList{"PictorRenderMetaFile(10,20,50,60|" + file + ")"});
    } else {
      EXPECT_TRUE(libs.calls.isEmpty());
      EXPECT_GT(qBlue(img.pixel(30, 40)), 240);
      EXPECT_LT(qRed(img.pixel(30, 40)), 16);
      EXPECT_EQ(img.pixel(5, 40), qRgb(255, 255, 255));
      QFile::remove(file);
    }
  }
}

TEST_F(Pictures, ImageObjectIgnoresAngleAndOpacityOnThePrintPath) {
  pv::ObjectRecord& r = AddBox(pv::UserTypeImage, 0, 0, 10, 10);
  r.Variant = 4;
  r.Content = "png";
  r.Opacity = 10;
  r.Angle = 45;
  WriteImage(pv::TempImageFile("4.png"), qRgb(255, 0, 0));
  pv::ImageSurface surface(100, 100);
  DrawForPrint(surface.dc(), r, 0, 0, 50, 50, 45.0f, true);
  const QImage img = surface.finish();
  EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(48, 48), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(52, 25), qRgb(255, 255, 255));
}

TEST_F(Pictures, PictureFileIsStretchedIntoTheRectangle) {
  const QString file = dir.filePath("two.bmp");
  QImage two(2, 1, QImage::Format_RGB32);
  two.setPixel(0, 0, qRgb(255, 0, 0));
  two.setPixel(1, 0, qRgb(0, 255, 0));
  ASSERT_TRUE(two.save(file));
  pv::ImageSurface surface(100, 50);
  EXPECT_EQ(pv::DrawPictureFile(surface.dc(), file, {10, 10, 90, 40}), 0);
  const QImage img = surface.finish();
  EXPECT_EQ(img.pixel(15, 25), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(85, 25), qRgb(0, 255, 0));
  EXPECT_EQ(img.pixel(5, 25), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(50, 45), qRgb(255, 255, 255));
}

TEST_F(Pictures, MissingOrUnreadablePictureDrawsNothing) {
  const QString junk = dir.filePath("junk.jpg");
  QFile f(junk);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a picture");
  f.close();
  pv::ImageSurface surface(40, 40);
  EXPECT_EQ(pv::DrawPictureFile(surface.dc(), dir.filePath("none.bmp"), {0, 0, 40, 40}), 0);
  EXPECT_EQ(pv::DrawPictureFile(surface.dc(), junk, {0, 0, 40, 40}), 0);
  EXPECT_EQ(pv::DrawPictureFile(nullptr, junk, {0, 0, 40, 40}), 0);
  EXPECT_EQ(CountPixels(surface.finish(), Area({0, 0, 40, 40}), Except(kWhite)), 0);
  EXPECT_TRUE(libs.calls.isEmpty());
}

TEST_F(Pictures, OnlyTheExtensionMakesAMetafile) {
  // A folder whose name holds ".WMF" does not make its bitmaps metafiles.
  const QString file = dir.filePath("old.WMF.d/pic.bmp");
  WriteImage(file, qRgb(0, 128, 0));
  pv::ImageSurface surface(20, 20);
  pv::DrawPictureFile(surface.dc(), file, {0, 0, 20, 20});
  EXPECT_TRUE(libs.calls.isEmpty());
  EXPECT_EQ(surface.finish().pixel(10, 10), qRgb(0, 128, 0));
  pv::ImageSurface other(20, 20);
  pv::DrawPictureFile(other.dc(), dir.filePath("art.emf"), {0, 0, 20, 20});
  EXPECT_EQ(libs.calls, QStringList{"PictorRenderMetaFile(0,0,20,20|" + dir.filePath("art.emf") + ")"});
}

TEST_F(Pictures, PictureIsDecodedOnceWhileItsFileIsUnchanged) {
  const QString file = dir.filePath("bg.png");
  WriteImage(file, qRgb(255, 0, 0), 8, 8, "PNG");
  const int before = pv::PictureDecodeCount();
  for (int i = 0; i < 5; ++i) {
    pv::ImageSurface surface(20, 20);
    pv::DrawPictureFile(surface.dc(), file, {0, 0, 20, 20});
  }
  EXPECT_EQ(pv::PictureDecodeCount() - before, 1);

  WriteImage(file, qRgb(0, 0, 255), 16, 16, "PNG");  // another size: a changed file
  pv::ImageSurface surface(20, 20);
  pv::DrawPictureFile(surface.dc(), file, {0, 0, 20, 20});
  EXPECT_EQ(pv::PictureDecodeCount() - before, 2);
  EXPECT_EQ(surface.finish().pixel(10, 10), qRgb(0, 0, 255));
}

// ---- Background and border ----------------------------------------------------

TEST_F(Pictures, BackgroundCoversTheLabelFromOnePixelInAndBorderGoesToThePlayer) {
  const QString bg = dir.filePath("sky.jpg");
  WriteImage(bg, qRgb(0, 0, 0), 10, 10, "JPG");
  pv::BackgroundName = pv::FixedName(bg);
  pv::BorderName = pv::FixedName("  " + dir.filePath("frame.emf"));
  pv::ImageSurface surface(60, 40);
  pv::Rect label{10, 10, 50, 30};
  pv::DrawLabelBackground(surface.dc(), label, false);
  const QImage img = surface.finish();
  EXPECT_LT(qGray(img.pixel(11, 11)), 40);
  EXPECT_LT(qGray(img.pixel(50, 30)), 40);
  EXPECT_EQ(img.pixel(10, 10), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(10, 20), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(51, 20), qRgb(255, 255, 255));
  EXPECT_EQ(libs.calls, QStringList{"PictorRenderMetaFile(11,11,51,31|" + dir.filePath("frame.emf") + ")"});
}

TEST_F(Pictures, BlankNamesDrawNeitherBackgroundNorBorder) {
  pv::BackgroundName = pv::FixedName("");
  pv::BorderName = pv::FixedName("");
  pv::ImageSurface surface(20, 20);
  pv::Rect label{0, 0, 20, 20};
  pv::DrawLabelBackground(surface.dc(), label, true);
  EXPECT_TRUE(libs.calls.isEmpty());
  EXPECT_EQ(CountPixels(surface.finish(), Area(label), Except(kWhite)), 0);
}

TEST_F(Pictures, PrintLowDrawsTheBmpTwin) {
  WriteImage(dir.filePath("sky.jpg"), qRgb(0, 0, 0), 4, 4, "JPG");
  WriteImage(dir.filePath("sky.bmp"), qRgb(255, 0, 0), 4, 4, "BMP");
  pv::BackgroundName = pv::FixedName(dir.filePath("sky.jpg"));
  hosts.printLow = true;
  pv::ImageSurface surface(20, 20);
  pv::Rect label{0, 0, 20, 20};
  pv::DrawLabelBackground(surface.dc(), label, false);
  EXPECT_EQ(surface.finish().pixel(10, 10), qRgb(255, 0, 0));
}

TEST(BackgroundFile, TwinRuleReplacesOnlyAnExistingExtension) {
  struct Case {
    const char* stored;
    bool printLow;
    const char* file;
  };
  const std::vector<Case> cases{
      {"/g/sky.jpg", false, "/g/sky.jpg"},
      {"  /g/sky.jpg   ", true, "/g/sky.bmp"},
      {"/g/sky.jpeg", true, "/g/sky.bmp"},
      {"ab", true, "ab"},
      {"/g.d/name", true, "/g.d/name"},
      {"", true, ""},
      {"     ", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(pv::BackgroundFile(QString::fromUtf8(c.stored), c.printLow), QString::fromUtf8(c.file));
  }
}

TEST(BackgroundFile, WindowsPathFromElsewhereIsFoundInTheGraphicsFolder) {
  const QString local = pv::ProgramPath("graphics/background/Meadow.jpg");
  QDir().mkpath(QFileInfo(local).absolutePath());
  QImage(2, 2, QImage::Format_RGB32).save(local, "JPG");
  const QString border = pv::ProgramPath("graphics/border/Cornice.emf");
  QDir().mkpath(QFileInfo(border).absolutePath());
  QFile b(border);
  ASSERT_TRUE(b.open(QIODevice::WriteOnly));
  b.close();
  EXPECT_EQ(QFileInfo(pv::BackgroundFile("C:\\Programmi\\Etichette\\graphics\\background\\meadow.JPG", false))
                .canonicalFilePath(),
            QFileInfo(local).canonicalFilePath());
  EXPECT_EQ(QFileInfo(pv::BorderFile("D:\\altro\\CORNICE.EMF")).canonicalFilePath(),
            QFileInfo(border).canonicalFilePath());
  // Not there either: kept as stored (and so drawn as nothing).
  EXPECT_EQ(pv::BorderFile("D:\\altro\\missing.emf"), "D:\\altro\\missing.emf");
}

// ---- The editor's page ------------------------------------------------------------

TEST_F(Pictures, PageFrameAndShadowEdge) {
  pv::ImageSurface surface(140, 90);
  pv::DragEditor_DrawPage(surface.dc(), 10, 10, 110, 60);
  const QImage img = surface.finish();
  EXPECT_EQ(libs.calls, QStringList{"LineoPen(2|0)"});
  auto dark = [&](int x, int y) { return qGray(img.pixel(x, y)) < 128; };
  EXPECT_TRUE(dark(10, 10));
  EXPECT_TRUE(dark(60, 10));
  EXPECT_TRUE(dark(10, 35));
  EXPECT_TRUE(dark(111, 12));
  EXPECT_TRUE(dark(111, 59));
  EXPECT_FALSE(dark(111, 11));
  EXPECT_FALSE(dark(111, 60));
  EXPECT_TRUE(dark(12, 61));
  EXPECT_TRUE(dark(110, 61));
  EXPECT_FALSE(dark(11, 61));
  EXPECT_FALSE(dark(111, 61));
  EXPECT_FALSE(dark(60, 35));
}

TEST_F(Pictures, RoundLabelGuideEllipse) {
  hosts.printCircle = false;
  pv::ImageSurface plain(140, 90);
  pv::DragEditor_DrawPage(plain.dc(), 10, 10, 110, 60);
  const QImage without = plain.finish();
  hosts.printCircle = true;
  libs.calls.clear();
  pv::ImageSurface round(140, 90);
  pv::DragEditor_DrawPage(round.dc(), 10, 10, 110, 60);
  const QImage with = round.finish();
  EXPECT_EQ(libs.calls, (QStringList{"LineoPen(2|0)", "LineoPen(2|6579455)"}));
  // On the ellipse near 45 degrees, and nothing filled in its middle.
  const pv::Rect nearDiagonal{90, 13, 100, 22};
  EXPECT_EQ(CountPixels(without, Area(nearDiagonal), Except(kWhite)), 0);
  EXPECT_GT(CountPixels(with, Area(nearDiagonal), Except(kWhite)), 0);
  EXPECT_EQ(with.pixel(60, 35), qRgb(255, 255, 255));
}

}  // namespace
