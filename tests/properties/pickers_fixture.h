#pragma once
// A program folder of its own (PLAVIK_HOME) with clip-art, background and
// border folders holding metafiles in both letter cases and other files,
// a recording of the drawing libraries and of the message boxes.
#include "tests/support/answer_boxes.h"
#include "platform/msgbox.h"
#include "render/libraries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace proptest {

struct LibraryCall {
  QString what;  // "shape" or "metafile"
  int shape = 0;
  double aspect = 0;
  pv::Rect rect;
  QString file;
};

class RecordingLibraries : public pv::RenderLibraries {
 public:
  void LineoShape(pv::DeviceContext* dc, const pv::Rect* rect, double aspect, double angle, std::int32_t shape,
                  std::int32_t fillStyle, pv::Colour colour1, pv::Colour colour2, std::int32_t opacity) override {
    calls.push_back({QStringLiteral("shape"), shape, aspect, *rect, {}});
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(angle, 0.0);
    EXPECT_EQ(fillStyle, 0);
    EXPECT_EQ(colour1, 0u);
    EXPECT_EQ(colour2, 0u);
    EXPECT_EQ(opacity, 100);
  }
  void PictorRenderMetaFile(pv::DeviceContext* dc, const pv::Rect* rect, const char* fileName) override {
    EXPECT_NE(dc, nullptr);
    calls.push_back({QStringLiteral("metafile"), 0, 0, *rect, QString::fromUtf8(fileName)});
  }
  std::vector<LibraryCall> calls;
};

inline void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
}

class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    oldHome = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", home.path().toLocal8Bit());
    for (const char* f : {"clipart/clip1/b.emf", "clipart/clip1/A.EMF", "clipart/clip1/c.wmf",
                          "clipart/clip1/notes.txt", "clipart/clip1/emf", "clipart/clip1/sub.emf/inner.emf",
                          "clipart/clip20/cat.Emf", "graphics/background/sky.bmp", "graphics/background/sky.jpg",
                          "graphics/background/Grass.BMP", "graphics/border/single.emf", "graphics/border/Double.EMF",
                          "graphics/border/old.wmf", "graphics/border/x.bmp"}) {
      Touch(Path(QString::fromLatin1(f)));
    }
    previous = pv::SetRenderLibraries(&libraries);
    pv::test::AnswerMessageBoxesWith([this](const pv::MsgBoxRequest& r) {
      boxes.push_back(r);
      return pv::MsgAnswer::Ok;
    });
  }
  void TearDown() override {
    pv::SetRenderLibraries(previous);
    pv::test::AnswerMessageBoxesWith({});
    qputenv("PLAVIK_HOME", oldHome);
  }
  QString Path(const QString& relative) const { return QDir(home.path()).filePath(relative); }

  QTemporaryDir home;
  QByteArray oldHome;
  RecordingLibraries libraries;
  pv::RenderLibraries* previous = nullptr;
  std::vector<pv::MsgBoxRequest> boxes;
};

}  // namespace proptest
