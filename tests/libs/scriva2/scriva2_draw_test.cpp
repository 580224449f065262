// ScrivaDraw: line breaking, alignment, justification, line spacing, font
// height, rotation, background and clipping, measured on offscreen images
// in Liberation Sans.

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace scriva2_test;

namespace {

class Scriva2Draw : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    PlainStyle(40);
  }
  // Lines advance by the cell height asked for.
  const int m_cell = 40;
};

// --- alignment ----------------------------------------------------------

TEST_F(Scriva2Draw, AlignmentPlacesTheLineInTheShrunkRectangle) {
  const pv::Rect rect{10, 10, 390, 200};  // shrunk: 11 .. 389
  const char* text = "Hello world";
  const int w = TextWidth(QString::fromUtf8(text));
  const QRect left = InkBox(DrawText(text, rect, 0, 20));
  const QRect right = InkBox(DrawText(text, rect, 0, 21));
  const QRect centre = InkBox(DrawText(text, rect, 0, 22));
  ASSERT_FALSE(left.isNull());

  // One line, starting at the left edge plus the margin (and the glyph's bearing).
  EXPECT_LT(left.height(), m_cell);
  EXPECT_GE(left.left(), 11);
  EXPECT_LE(left.left(), 11 + 5);
  // The same line moved so that its extent ends at the right edge, or is centred.
  EXPECT_EQ(right.left() - left.left(), (389 - w) - 11);
  EXPECT_EQ(centre.left() - left.left(), (11 + 389 - w) / 2 - 11);
  EXPECT_EQ(right.top(), left.top());
  EXPECT_EQ(centre.top(), left.top());
}

TEST_F(Scriva2Draw, JustifiedLinesFillTheWidthExceptTheLast) {
  const QString unit = QStringLiteral("aaa bbb ccc");
  const int width = static_cast<int>(std::ceil(TextWidth(unit) * 1.02)) + 1;
  const pv::Rect rect{9, 9, 9 + width + 2, 290};  // shrunk: 10 .. 10 + width
  const char* text = "aaa bbb ccc aaa bbb ccc aaa";
  const QImage justified = DrawText(text, rect, 0, 23);
  const QImage left = DrawText(text, rect, 0, 20);
  const QImage right = DrawText(text, rect, 0, 21);

  const int top = 10;
  for (int line = 0; line < 2; ++line) {
    const QRect area(0, top + line * m_cell, justified.width(), m_cell);
    const QRect j = InkBox(justified, qRgb(255, 255, 255), area);
    const QRect l = InkBox(left, qRgb(255, 255, 255), area);
    const QRect r = InkBox(right, qRgb(255, 255, 255), area);
    ASSERT_FALSE(j.isNull()) << "line " << line;
    EXPECT_EQ(j.left(), l.left()) << "line " << line;
    EXPECT_EQ(j.right(), r.right()) << "line " << line;
    EXPECT_GT(j.right(), l.right() + 4) << "line " << line;  // stretched
  }
  // The last line is left-aligned, pixel for pixel.
  EXPECT_EQ(Band(justified, top + 2 * m_cell, m_cell), Band(left, top + 2 * m_cell, m_cell));
  EXPECT_FALSE(HasInk(justified, QRect(0, top + 3 * m_cell, justified.width(), m_cell)));
}

TEST_F(Scriva2Draw, JustifiedLineOfOneWordIsLeftAligned) {
  const QString word = QStringLiteral("abcdefghij");
  const int width = static_cast<int>(std::ceil(TextWidth(word) * 1.02)) + 4;
  const pv::Rect rect{9, 9, 9 + width + 2, 290};
  const char* text = "abcdefghij abcdefghij";
  EXPECT_EQ(DrawText(text, rect, 0, 23), DrawText(text, rect, 0, 20));
  EXPECT_TRUE(HasInk(DrawText(text, rect, 0, 23), QRect(0, 10 + m_cell, 400, m_cell)));
}

// --- line breaking -------------------------------------------------------

struct BreakCase {
  const char* name;
  const char* text;
};

// The lines drawn one by one, each in the rectangle moved down by its line.
QImage LinesOneByOne(std::initializer_list<const char*> lines, pv::Rect rect, int advance) {
  pv::ImageSurface s(400, 300);
  int i = 0;
  for (const char* line : lines) {
    pv::Rect r{rect.left, rect.top + i * advance, rect.right, rect.bottom + i * advance};
    ScrivaDraw(s.dc(), line, &r, 0.0, 20);
    ++i;
  }
  return s.finish().convertToFormat(QImage::Format_RGB32);
}

TEST_F(Scriva2Draw, LineBreaksEndALineAndAreNotDrawn) {
  const BreakCase cases[] = {{"CR LF", "alpha\r\nbeta"}, {"LF", "alpha\nbeta"}, {"CR", "alpha\rbeta"}};
  const pv::Rect rect{9, 9, 391, 290};
  const QImage expected = LinesOneByOne({"alpha", "beta"}, rect, m_cell);
  for (const BreakCase& c : cases) EXPECT_EQ(DrawText(c.text, rect), expected) << c.name;
}

TEST_F(Scriva2Draw, BlankLineKeepsItsHeight) {
  const pv::Rect rect{9, 9, 391, 290};
  EXPECT_EQ(DrawText("alpha\r\n\r\nbeta", rect), LinesOneByOne({"alpha", "", "beta"}, rect, m_cell));
}

TEST_F(Scriva2Draw, WordPassingTheLimitAtItsLastLetterStaysOnTheLine) {
  // Limit passed by the last "b": the word stays and is cut by the clip.
  const int stays = static_cast<int>(std::ceil(TextWidth(QStringLiteral("aaa bb")) * 1.02));
  ASSERT_LT(stays, TextWidth(QStringLiteral("aaa bbb")) * 1.02);
  const pv::Rect rect{9, 9, 9 + stays + 2, 290};
  const QImage image = DrawText("aaa bbb ccc", rect);
  const QRect first = InkBox(image, qRgb(255, 255, 255), QRect(0, 10, 400, m_cell));
  EXPECT_GT(first.right(), 10 + TextWidth(QStringLiteral("aaa b")));
  EXPECT_LT(first.right(), rect.right);  // the clip region is the rectangle
  const QImage ccc = DrawText("ccc", rect);
  EXPECT_EQ(Band(image, 10 + m_cell, m_cell), Band(ccc, 10, m_cell));
}

TEST_F(Scriva2Draw, WordPassingTheLimitEarlierStartsTheNextLine) {
  const int moves = static_cast<int>(std::ceil(TextWidth(QStringLiteral("aaa b")) * 1.02));
  const pv::Rect rect{9, 9, 9 + moves + 2, 290};
  const QImage image = DrawText("aaa bbb", rect);
  const QImage aaa = DrawText("aaa", rect);
  const QImage bbb = DrawText("bbb", rect);
  EXPECT_EQ(Band(image, 10, m_cell), Band(aaa, 10, m_cell));
  EXPECT_EQ(Band(image, 10 + m_cell, m_cell), Band(bbb, 10, m_cell));
}

TEST_F(Scriva2Draw, WordFarWiderThanTheRectangleStopsTheDrawing) {
  const pv::Rect rect{9, 9, 71, 290};
  EXPECT_TRUE(InkBox(DrawText("abcdefghijklmnopqrstuvwxyz ab", rect)).isNull());
  // The lines before it stay, nothing after it is drawn.
  const QImage image = DrawText("ab abcdefghijklmnopqrstuvwxyz ab", rect);
  EXPECT_TRUE(HasInk(image, QRect(0, 10, 400, m_cell)));
  EXPECT_FALSE(HasInk(image, QRect(0, 10 + m_cell, 400, 290 - 10 - m_cell)));
}

TEST_F(Scriva2Draw, EmptyOrBlankTextDrawsNothing) {
  const pv::Rect rect{9, 9, 391, 290};
  EXPECT_TRUE(InkBox(DrawText("", rect)).isNull());
  EXPECT_TRUE(InkBox(DrawText("     ", rect)).isNull());
}

TEST_F(Scriva2Draw, FirstLineIsDrawnHoweverLittleRoomThereIs) {
  const pv::Rect rect{9, 9, 391, 9 + m_cell / 2};
  EXPECT_TRUE(HasInk(DrawText("Hello", rect), QRect(0, 0, 400, 300)));
}

TEST_F(Scriva2Draw, ThousandAndTwentyFourCharactersAreAllDrawn) {
  PlainStyle(12);
  std::string text;
  while (text.size() < 1020) text += "abcd ";
  text.resize(1020);
  text += "QRSW";
  ASSERT_EQ(text.size(), 1024u);
  const pv::Rect rect{0, 0, 800, 600};
  const QImage whole = DrawText(text.c_str(), rect, 0, 20, 800, 600);
  const QImage cut = DrawText(text.substr(0, 1023).c_str(), rect, 0, 20, 800, 600);
  EXPECT_NE(whole, cut);
}

TEST_F(Scriva2Draw, TextIsCountedInCharacters) {
  // Two-byte UTF-8 characters measure and break as characters.
  const pv::Rect rect{9, 9, 391, 290};
  const QImage image = DrawText("\xc3\xa0\xc3\xa8\xc3\xac \xc3\xb2\xc3\xb9", rect);
  const QRect ink = InkBox(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_LT(ink.height(), m_cell);
  EXPECT_NEAR(ink.width(), TextWidth(QString::fromUtf8("\xc3\xa0\xc3\xa8\xc3\xac \xc3\xb2\xc3\xb9")), 6);
}

// --- line spacing and font height ----------------------------------------

TEST_F(Scriva2Draw, LinesAdvanceByTheCellHeightTheCallerAsked) {
  for (int height : {20, 40, 75}) {
    PlainStyle(height);
    const QImage image = DrawText("I\r\nI", pv::Rect{9, 9, 391, 299}, 0, 20, 400, 300);
    const QRect first = InkBox(image, qRgb(255, 255, 255), QRect(0, 0, 400, 10 + height));
    const QRect both = InkBox(image);
    EXPECT_EQ(both.bottom() - first.bottom(), height) << "height " << height;
  }
}

TEST_F(Scriva2Draw, NegativeHeightAsksForTheCharacterHeight) {
  PlainStyle(-40);
  const QImage image = DrawText("I\r\nI", pv::Rect{9, 9, 391, 299});
  const QRect first = InkBox(image, qRgb(255, 255, 255), QRect(0, 0, 400, 10 + CellHeight(-40)));
  EXPECT_EQ(InkBox(image).bottom() - first.bottom(), CellHeight(-40));
  EXPECT_GT(CellHeight(-40), 40);
}

TEST_F(Scriva2Draw, InterlineUsesItsWholePart) {
  const struct {
    double factor;
    int lines;
  } cases[] = {{1.9, 1}, {2.0, 2}, {3.5, 3}};
  for (const auto& c : cases) {
    PlainStyle(40);
    ScrivaSetInterline(c.factor);
    const QImage image = DrawText("I\r\nI", pv::Rect{9, 9, 391, 299});
    const QRect first = InkBox(image, qRgb(255, 255, 255), QRect(0, 0, 400, 10 + m_cell));
    EXPECT_EQ(InkBox(image).bottom() - first.bottom(), c.lines * m_cell) << c.factor;
  }
}

TEST_F(Scriva2Draw, LargeHeightsAreNotIgnored) {
  // 100 pt at 1200 dpi is a height of about 1667 dots.
  PlainStyle(40);
  ScrivaFontSize(1667);
  const QImage image = DrawText("I", pv::Rect{0, 0, 1200, 2000}, 0, 20, 1200, 2000);
  EXPECT_GT(InkBox(image).height(), 1000);
}

// --- rotation, background and clipping -----------------------------------

TEST_F(Scriva2Draw, NinetyDegreesRunsTheTextUpFromTheBottomLeft) {
  const char* text = "Hello";
  const int w = TextWidth(QString::fromUtf8(text));
  // Shrunk (51, 51, 349, 349), centre (200, 200): the line's origin (51, 51)
  // turns to (51, 349) and the text runs upward, its cell to the right.
  const QRect ink = InkBox(DrawText(text, pv::Rect{50, 50, 350, 350}, 90.0, 20, 400, 400));
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.left(), 51 - 1);
  EXPECT_LE(ink.right(), 51 + m_cell + 1);
  EXPECT_LE(ink.bottom(), 349 + 1);
  EXPECT_GE(ink.bottom(), 349 - 6);
  EXPECT_NEAR(ink.top(), 349 - w, 6);
  EXPECT_GT(ink.height(), ink.width());
}

TEST_F(Scriva2Draw, BackgroundIsTheTurnedRectangle) {
  ScrivaSetTransparent(0);
  ScrivaSetBackColor(static_cast<std::int32_t>(pv::Rgb(255, 0, 0)));
  const QImage flat = DrawText("", pv::Rect{100, 50, 300, 150});
  EXPECT_EQ(flat.pixel(100, 50), qRgb(255, 0, 0));
  EXPECT_EQ(flat.pixel(299, 149), qRgb(255, 0, 0));
  EXPECT_EQ(flat.pixel(99, 100), qRgb(255, 255, 255));
  EXPECT_EQ(flat.pixel(200, 151), qRgb(255, 255, 255));

  // Centre (200, 100): turned by 90 degrees it spans x 150..250, y 0..200.
  const QImage turned = DrawText("", pv::Rect{100, 50, 300, 150}, 90.0);
  EXPECT_EQ(turned.pixel(200, 10), qRgb(255, 0, 0));
  EXPECT_EQ(turned.pixel(200, 190), qRgb(255, 0, 0));
  EXPECT_EQ(turned.pixel(120, 100), qRgb(255, 255, 255));
  EXPECT_EQ(turned.pixel(280, 100), qRgb(255, 255, 255));
}

TEST_F(Scriva2Draw, TextIsClippedToTheTurnedRectangle) {
  // "WWW" passes the limit at its last letter, a space follows: it stays on
  // the line, wider than the rectangle, and is cut there on both sides.
  ASSERT_GT(TextWidth(QStringLiteral("WWW")), 100);
  ASSERT_LT(TextWidth(QStringLiteral("WW")) * 1.02, 98);
  for (double angle : {0.0, 90.0, 30.0}) {
    const pv::Rect rect{150, 150, 250, 250};
    const QImage image = DrawText("WWW W", rect, angle, 22, 400, 400);
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isNull()) << angle;
    if (angle == 0.0) {
      EXPECT_GE(ink.left(), 150);
      EXPECT_LE(ink.left(), 152);
      EXPECT_LE(ink.right(), 249);
      EXPECT_GE(ink.right(), 247);
    }
    // Nothing outside the rectangle turned about its centre.
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
          // Turned back by the angle, the pixel lies in the square.
          const double dx = x + 0.5 - 200, dy = y + 0.5 - 200;
          const double t = angle * M_PI / 180.0;
          const double ux = dx * std::cos(t) - dy * std::sin(t);
          const double uy = dx * std::sin(t) + dy * std::cos(t);
          ASSERT_LE(std::abs(ux), 51.5) << angle << " at " << x << "," << y;
          ASSERT_LE(std::abs(uy), 51.5) << angle << " at " << x << "," << y;
        }
  }
}

TEST_F(Scriva2Draw, GlyphsPassingTheRectangleAreCutWhereverTheyPass) {
  // Descenders below the bottom, a word kept on its line past the right side,
  // a second line half below the bottom: the clip holds unless every glyph
  // stays inside.
  const int stays = static_cast<int>(std::ceil(TextWidth(QStringLiteral("aaa bb")) * 1.02));
  struct Case {
    const char* text;
    pv::Rect rect;
  } cases[] = {
      {"gjpqy", {9, 9, 391, 9 + m_cell - 6}},
      {"aaa bbb ccc", {9, 9, 9 + stays + 2, 290}},
      {"Hello\nHello", {9, 9, 391, 11 + m_cell + m_cell / 2}},
  };
  for (const Case& c : cases) {
    pv::Rect rect = c.rect;
    const QImage image = DrawText(c.text, rect);
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isNull()) << c.text;
    EXPECT_TRUE(QRect(QPoint(c.rect.left, c.rect.top), QPoint(c.rect.right - 1, c.rect.bottom - 1)).contains(ink))
        << c.text;
  }
}

TEST_F(Scriva2Draw, BoldAndColourReachTheGlyphs) {
  const pv::Rect rect{9, 9, 391, 290};
  const QRect plain = InkBox(DrawText("Hello", rect));
  ScrivaSetBold(-1);
  ScrivaSetForeColor(static_cast<std::int32_t>(pv::Rgb(0, 0, 255)));
  const QImage bold = DrawText("Hello", rect);
  EXPECT_GT(InkBox(bold).width(), plain.width());
  bool blue = false;
  for (int y = 0; y < bold.height() && !blue; ++y)
    for (int x = 0; x < bold.width() && !blue; ++x) blue = bold.pixel(x, y) == qRgb(0, 0, 255);
  EXPECT_TRUE(blue);
}

}  // namespace
