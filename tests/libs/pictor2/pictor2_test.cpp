// The exported functions of libpictor2.so.2.

#include "fixtures.h"
#include "libs/pictor2/pictor2.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <unistd.h>

namespace fx = pictor2_fixtures;

namespace {

void App() { pv::test::EnsureGuiApplication(); }

class PictorExports : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(m_dir.isValid());
  }
  QByteArray Write(const QString& name, const QByteArray& bytes) {
    QFile f(m_dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return m_dir.filePath(name).toUtf8();
  }
  // Plays the file into the target (10,10)-(210,110) of a white 220 x 120 surface.
  std::int32_t Render(const QByteArray& path, QImage* out) {
    pv::ImageSurface surface(220, 120);
    const pv::Rect rect{10, 10, 210, 110};
    const std::int32_t r = PictorRenderMetaFile(surface.dc(), &rect, path.constData());
    *out = surface.finish();
    return r;
  }
  QTemporaryDir m_dir;
};

bool Dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 64; }
bool Blank(const QImage& img) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

TEST_F(PictorExports, RenderMetaFilePlaysEmfAndBothWmfKinds) {
  for (const auto& [name, bytes] : {std::pair{"a.emf", fx::FilledFrameEmf()}, std::pair{"b.wmf", fx::PlaceableWmf()},
                                    std::pair{"c.wmf", fx::StandardWmf()}}) {
    SCOPED_TRACE(name);
    QImage img;
    EXPECT_EQ(Render(Write(name, bytes), &img), 1);
    EXPECT_TRUE(Dark(img, 15, 15));
    EXPECT_TRUE(Dark(img, 205, 105));
    EXPECT_FALSE(Dark(img, 5, 5));
  }
}

TEST_F(PictorExports, FailuresReturnFalseAndDrawNothing) {
  QImage img;
  EXPECT_EQ(Render(m_dir.filePath("missing.emf").toUtf8(), &img), 0);
  EXPECT_TRUE(Blank(img));
  EXPECT_EQ(Render(Write("picture.bmp", QByteArray("BM") + QByteArray(100, '\0')), &img), 0);
  EXPECT_TRUE(Blank(img));
  EXPECT_EQ(Render(Write("cut.emf", fx::FilledFrameEmf().left(120)), &img), 0);
  pv::ImageSurface surface(10, 10);
  EXPECT_EQ(PictorRenderMetaFile(surface.dc(), nullptr, "x"), 0);
  EXPECT_EQ(PictorRenderMetaFile(nullptr, nullptr, nullptr), 0);
}

TEST_F(PictorExports, PlacesNoScratchFileAndLeavesTheUsersOwnAlone) {
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(m_dir.path().toLocal8Bit().constData()), 0);
  const QByteArray mine("the user's own file");
  Write("META.WMF", mine);
  QImage img;
  EXPECT_EQ(Render(Write("b.wmf", fx::PlaceableWmf()), &img), 1);
  QFile f(m_dir.filePath("META.WMF"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), mine);
  f.close();
  QFile::remove(m_dir.filePath("META.WMF"));
  EXPECT_EQ(Render(Write("c.wmf", fx::StandardWmf()), &img), 1);
  EXPECT_FALSE(QFile::exists(m_dir.filePath("META.WMF")));
  ASSERT_EQ(chdir(previous), 0);
}

TEST_F(PictorExports, ImageAspect) {
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("wide.emf", fx::FrameOnlyEmf(600, 300))), 0.5);
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("tall.emf", fx::FrameOnlyEmf(300, 900))), 3.0);
  // Never zero or negative: the editor divides by it.
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("flat.emf", fx::FrameOnlyEmf(600, 0))), 1.0);
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("thin.emf", fx::FrameOnlyEmf(0, 600))), 1.0);
  QByteArray inverted = fx::FrameOnlyEmf(600, 300);
  const std::int32_t top = 900;  // frame top below its bottom
  std::memcpy(inverted.data() + 28, &top, 4);
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("inverted.emf", inverted)), 1.0);
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("b.wmf", fx::PlaceableWmf())), 1.0);
  EXPECT_DOUBLE_EQ(PictorImageAspect(Write("x.bmp", QByteArray("BM") + QByteArray(60, '\0'))), 1.0);
  EXPECT_DOUBLE_EQ(PictorImageAspect(m_dir.filePath("missing.emf").toUtf8()), 1.0);
  EXPECT_DOUBLE_EQ(PictorImageAspect(nullptr), 1.0);
}

TEST_F(PictorExports, StubsAndMaskColour) {
  EXPECT_EQ(PictorRenderEx(1, 2, 3, 4, 5, 6), 0);
  EXPECT_EQ(PictorRenderAlphaEx(1, 2, 3, 4, 5), 0);
  EXPECT_EQ(PictorRenderWMF(1, 2), 1);
  EXPECT_EQ(PictorRenderFile(1, 2, 3), 0);
  EXPECT_EQ(PictorRenderFileEx(1, 2, 3, 4, 5, 6), 0);
  EXPECT_EQ(PictorProcessingBitmap(1, 2, 3, 4, 5, 6), 0);
  EXPECT_EQ(PictorRenderMetaFileEx(1, 2, 3, 4, 5, 6), 0);
  EXPECT_EQ(PictorRenderFileFast(1, 2, 3), 0);
  EXPECT_EQ(PictorSetMaskColor(255), 255u);
  // The mask colour changes nothing that is drawn.
  QImage before, after;
  const QByteArray path = Write("a.emf", fx::BitmapEmf());
  Render(path, &before);
  PictorSetMaskColor(0x0000FF);
  Render(path, &after);
  EXPECT_EQ(before, after);
}

TEST_F(PictorExports, RenderHandsTheBitmapToTheBitmapPainter) {
  QImage bitmap(4, 2, QImage::Format_RGB32);
  bitmap.fill(qRgb(0, 0, 255));
  pv::ImageSurface surface(40, 40);
  const pv::Rect placement{10, 10, 30, 20};
  EXPECT_EQ(PictorRender(surface.dc(), &bitmap, &placement), 1);
  const QImage img = surface.finish();
  EXPECT_EQ(img.pixel(20, 15), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(20, 25), qRgb(255, 255, 255));
}

TEST(PictorLibrary, ExportsExactlyTheTwelveFunctions) {
  QProcess nm;
  nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                  QStringLiteral(PLAVIK_PROGRAM_DIR "/libpictor2.so.2")});
  ASSERT_TRUE(nm.waitForFinished(30000));
  ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
  QSet<QString> names;
  for (const QString& line : QString::fromUtf8(nm.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
    const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts[1] == QStringLiteral("A")) continue;  // the version node
    names.insert(parts[2].section('@', 0, 0));
  }
  const QSet<QString> expected = {"PictorRender",           "PictorRenderEx",       "PictorRenderAlphaEx",
                                  "PictorRenderWMF",        "PictorRenderFile",     "PictorRenderFileEx",
                                  "PictorProcessingBitmap", "PictorRenderMetaFile", "PictorRenderMetaFileEx",
                                  "PictorSetMaskColor",     "PictorRenderFileFast", "PictorImageAspect"};
  EXPECT_EQ(names, expected);
}

}  // namespace
