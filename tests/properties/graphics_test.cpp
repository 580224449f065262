// The program's own graphics as the build wrote them into the program
// folder: every category has drawings, each metafile paints in a picker
// cell, each background bitmap has its .jpg twin and is light.
#include "render/libraries.h"
#include "render/pictures.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

namespace {

QDir ProgramDir() { return QDir(QStringLiteral(PLAVIK_PROGRAM_DIR)); }

QStringList Files(const QString& relative, const char* pattern) {
  const QDir dir(ProgramDir().filePath(relative));
  QStringList out;
  for (const QString& name : dir.entryList({QString::fromLatin1(pattern)}, QDir::Files, QDir::Name))
    out << dir.filePath(name);
  return out;
}

// The metafile played into a white cell of w x h.
QImage Play(const QString& file, int w, int h) {
  pv::ImageSurface surface(w, h);
  const pv::Rect rect{0, 0, w, h};
  const QByteArray name = file.toUtf8();
  pv::Libraries().PictorRenderMetaFile(surface.dc(), &rect, name.constData());
  return surface.finish();
}

// The share of the cell's pixels the drawing changed from white.
double InkedShare(const QString& file, int w, int h) {
  const QImage img = Play(file, w, h);
  return static_cast<double>(pv::test::CountPixels(img, QRect(0, 0, w, h), pv::test::Except(qRgb(255, 255, 255)))) /
         (w * h);
}

TEST(ProgramGraphicsTest, EveryClipArtCategoryHasDrawingsThatFillTheirCell) {
  int total = 0;
  for (int n = 1; n <= 10; ++n) {
    const QStringList files = Files(QStringLiteral("clipart/clip%1").arg(n), "*.emf");
    EXPECT_GE(files.size(), 4) << "clip" << n;
    total += static_cast<int>(files.size());
    for (const QString& f : files) {
      EXPECT_EQ(QFileInfo(f).fileName(), QFileInfo(f).fileName().toLower());
      const double share = InkedShare(f, 80, 80);
      EXPECT_GT(share, 0.10) << f.toStdString();
    }
  }
  EXPECT_GE(total, 40);
}

TEST(ProgramGraphicsTest, BordersAreFramesThatLeaveTheMiddleFree) {
  const QStringList files = Files(QStringLiteral("graphics/border"), "*.emf");
  EXPECT_GE(files.size(), 10);
  for (const QString& f : files) {
    SCOPED_TRACE(f.toStdString());
    const QImage img = Play(f, 200, 140);
    int edge = 0, middle = 0;
    for (int y = 0; y < 140; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool inked = img.pixel(x, y) != qRgb(255, 255, 255);
        const bool nearEdge = x < 20 || x >= 180 || y < 20 || y >= 120;
        (nearEdge ? edge : middle) += inked ? 1 : 0;
      }
    }
    EXPECT_GT(edge, 200);
    EXPECT_EQ(middle, 0);
  }
}

TEST(ProgramGraphicsTest, BackgroundsComeAsBitmapAndJpgAndAreLight) {
  const QStringList bitmaps = Files(QStringLiteral("graphics/background"), "*.bmp");
  EXPECT_GE(bitmaps.size(), 12);
  for (const QString& bmp : bitmaps) {
    SCOPED_TRACE(bmp.toStdString());
    const QString jpg = bmp.left(bmp.size() - 4) + QStringLiteral(".jpg");
    const QImage a(bmp), b(jpg);
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(a.size(), b.size());
    double sum = 0, diff = 0;
    for (int y = 0; y < a.height(); y += 7) {
      for (int x = 0; x < a.width(); x += 7) {
        sum += qGray(a.pixel(x, y));
        diff += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
      }
    }
    const double samples = ((a.height() + 6) / 7) * ((a.width() + 6) / 7);
    EXPECT_GT(sum / samples, 215);  // text prints over it
    EXPECT_LT(diff / samples, 6);   // one picture in both forms
  }
}

}  // namespace
