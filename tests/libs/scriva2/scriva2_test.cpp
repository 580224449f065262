// Scriva2's exported interface: what the library exports, what the setters
// return, and the caller's rectangle coming back shrunk by the margin.

#include "test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <functional>
#include <set>
#include <string>

using namespace scriva2_test;

namespace {

class Scriva2Api : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    PlainStyle();
  }
};

TEST(Scriva2Exports, ExactlyTheSixteenFunctions) {
  QProcess nm;
  nm.start(QStringLiteral("nm"),
           {QStringLiteral("-D"), QStringLiteral("--defined-only"), QString::fromUtf8(SCRIVA2_LIBRARY_FILE)});
  ASSERT_TRUE(nm.waitForFinished(30000));
  ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
  std::set<std::string> names;
  const QStringList lines = QString::fromUtf8(nm.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
  for (const QString& line : lines) {
    const QStringList parts = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    ASSERT_FALSE(parts.isEmpty());
    names.insert(parts.last().section(u'@', 0, 0).toStdString());
  }
  const std::set<std::string> expected = {
      "ScrivaDraw",         "ScrivaDrawEx",       "ScrivaFontName",       "ScrivaFontSize",
      "ScrivaSetBold",      "ScrivaSetItalic",    "ScrivaSetUnderline",   "ScrivaSetStrike",
      "ScrivaSetForeColor", "ScrivaSetBackColor", "ScrivaSetTransparent", "ScrivaSetAntialiased",
      "ScrivaSetInterline", "ScrivaSetMargin",    "ScrivaSafeDC",         "ScrivaSetFillParameter"};
  EXPECT_EQ(names, expected);
}

TEST(Scriva2Exports, SharedObjectNameCarriesTheMajorVersion) {
  QProcess objdump;
  objdump.start(QStringLiteral("objdump"), {QStringLiteral("-p"), QString::fromUtf8(SCRIVA2_LIBRARY_FILE)});
  ASSERT_TRUE(objdump.waitForFinished(30000));
  const QString out = QString::fromUtf8(objdump.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("SONAME\\s+libscriva2\\.so\\.2\\b"))))
      << out.toStdString();
}

struct SetterCase {
  const char* name;
  std::function<std::int32_t(std::int32_t)> call;
  std::int32_t argument;
  std::int32_t result;
};

TEST_F(Scriva2Api, SettersReturnWhatTheyKeep) {
  const SetterCase cases[] = {
      {"FontSize 1023", ScrivaFontSize, 1023, 1023},
      {"FontSize 1024", ScrivaFontSize, 1024, 1024},
      {"FontSize -12", ScrivaFontSize, -12, -12},
      {"FontSize 40000", ScrivaFontSize, 40000, 40000},
      {"Bold -1", ScrivaSetBold, -1, 255},
      {"Bold 1", ScrivaSetBold, 1, 1},
      {"Bold 0", ScrivaSetBold, 0, 0},
      {"Bold 256", ScrivaSetBold, 256, 0},
      {"Italic -1", ScrivaSetItalic, -1, 255},
      {"Italic 0x1234", ScrivaSetItalic, 0x1234, 0x34},
      {"Underline -1", ScrivaSetUnderline, -1, 255},
      {"Strike 2", ScrivaSetStrike, 2, 2},
      {"Transparent 0", ScrivaSetTransparent, 0, 0},
      {"Antialiased -1", ScrivaSetAntialiased, -1, 255},
      {"SafeDC 512", ScrivaSafeDC, 512, 0},
      {"ForeColor", ScrivaSetForeColor, 0x00123456, 0x00123456},
      {"BackColor", ScrivaSetBackColor, 0x00FFFFFF, 0x00FFFFFF},
      {"Margin 0", ScrivaSetMargin, 0, 0},
      {"Margin -3", ScrivaSetMargin, -3, -3},
      {"Margin 7", ScrivaSetMargin, 7, 7},
  };
  for (const SetterCase& c : cases) EXPECT_EQ(c.call(c.argument), c.result) << c.name;
}

struct MarginCase {
  std::int32_t setMargin;  // 0 = leave at the initial 1
  pv::Rect in;
  pv::Rect out;
};

TEST_F(Scriva2Api, BothDrawCallsShrinkTheRectangleByTheMargin) {
  const MarginCase cases[] = {
      {0, {10, 10, 110, 60}, {11, 11, 109, 59}},
      {5, {10, 10, 110, 60}, {15, 15, 105, 55}},
      {-3, {10, 10, 110, 60}, {11, 11, 109, 59}},  // refused: the margin stays 1
      {3, {0, 0, 4, 4}, {3, 3, 1, 1}},             // no area left: still shrunk, nothing drawn
  };
  for (const MarginCase& c : cases) {
    PlainStyle();
    if (c.setMargin != 0) ScrivaSetMargin(c.setMargin);
    for (int ex = 0; ex < 2; ++ex) {
      pv::ImageSurface s(200, 100);
      pv::Rect r = c.in;
      if (ex)
        ScrivaDrawEx(s.dc(), "Ab", &r, 0.0, 20, 100, 0, 100);
      else
        ScrivaDraw(s.dc(), "Ab", &r, 0.0, 20);
      EXPECT_EQ(r.left, c.out.left) << "margin " << c.setMargin << " ex " << ex;
      EXPECT_EQ(r.top, c.out.top);
      EXPECT_EQ(r.right, c.out.right);
      EXPECT_EQ(r.bottom, c.out.bottom);
    }
  }
}

TEST_F(Scriva2Api, NullArgumentsDrawNothingAndReturn) {
  pv::Rect r{10, 10, 110, 60};
  ScrivaDraw(nullptr, "Ab", &r, 0.0, 20);
  EXPECT_EQ(r.left, 11);  // the rectangle is still the caller's to shrink
  pv::ImageSurface s(120, 80);
  ScrivaDraw(s.dc(), "Ab", nullptr, 0.0, 20);
  ScrivaDrawEx(s.dc(), "Ab", nullptr, 0.0, 20, 100, 0, 100);
  pv::Rect r2{10, 10, 110, 60};
  ScrivaDraw(s.dc(), nullptr, &r2, 0.0, 20);
  ScrivaFontName(nullptr);
  const QImage image = s.finish();
  EXPECT_TRUE(InkBox(image).isNull());
}

TEST_F(Scriva2Api, SafeDcLeavesTheCallersContextAsItWas) {
  pv::ImageSurface s(200, 100);
  pv::SetTextColour(s.dc(), pv::Rgb(1, 2, 3));
  pv::SetBkMode(s.dc(), pv::BkMode::Opaque);
  ScrivaSetForeColor(static_cast<std::int32_t>(pv::Rgb(200, 0, 0)));

  ScrivaSafeDC(1);
  pv::Rect r{0, 0, 200, 100};
  ScrivaDraw(s.dc(), "Ab", &r, 0.0, 20);
  EXPECT_EQ(pv::GetTextColour(s.dc()), pv::Rgb(1, 2, 3));
  EXPECT_EQ(pv::GetBkMode(s.dc()), pv::BkMode::Opaque);

  // Without it the context keeps the text colour and the transparent mode.
  ScrivaSafeDC(0);
  r = {0, 0, 200, 100};
  ScrivaDraw(s.dc(), "Ab", &r, 0.0, 20);
  EXPECT_EQ(pv::GetTextColour(s.dc()), pv::Rgb(200, 0, 0));
  EXPECT_EQ(pv::GetBkMode(s.dc()), pv::BkMode::Transparent);
}

}  // namespace
