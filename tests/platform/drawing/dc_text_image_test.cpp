// Device context: text output and measuring, images, pixel read-back.

#include "dc_support.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QLinearGradient>

#include <cstdlib>

using namespace pv;
using namespace dctest;

namespace {

class DcText : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
};

// Bounding box of the pixels that are not white.
QRect InkBox(const QImage& img) {
  QRect box;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (At(img, x, y) != kWhite) box = box.united(QRect(x, y, 1, 1));
  return box;
}

Font Sized(int height) {
  Font f;
  f.face = QStringLiteral("Arial");
  f.height = height;
  return f;
}

TEST_F(DcText, ExtentGrowsWithTheTextAndFollowsTheFont) {
  ImageSurface s(10, 10);
  SelectFont(s.dc(), Sized(-20));
  const Size a = GetTextExtent(s.dc(), QStringLiteral("a"));
  const Size ab = GetTextExtent(s.dc(), QStringLiteral("abcabc"));
  EXPECT_GT(a.cx, 0);
  EXPECT_GT(ab.cx, 4 * a.cx);
  EXPECT_EQ(GetTextExtent(s.dc(), QString()).cx, 0);
  SelectFont(s.dc(), Sized(-40));
  const Size big = GetTextExtent(s.dc(), QStringLiteral("abcabc"));
  EXPECT_NEAR(big.cx, 2 * ab.cx, 3);
  // Justification and character extra widen the measure.
  const int plain = GetTextExtent(s.dc(), QStringLiteral("a b c")).cx;
  SetTextJustification(s.dc(), 12, 2);
  EXPECT_EQ(GetTextExtent(s.dc(), QStringLiteral("a b c")).cx, plain + 12);
  SetTextJustification(s.dc(), 0, 0);
  SetTextCharacterExtra(s.dc(), 3);
  EXPECT_EQ(GetTextExtent(s.dc(), QStringLiteral("abcabc")).cx, big.cx + 18);
}

TEST_F(DcText, PositiveHeightIsTheCellNegativeTheCharacter) {
  ImageSurface s(10, 10);
  SelectFont(s.dc(), Sized(40));
  const TextMetrics cell = GetTextMetrics(s.dc());
  EXPECT_NEAR(cell.height, 40, 1);
  EXPECT_EQ(cell.height, cell.ascent + cell.descent);
  SelectFont(s.dc(), Sized(-40));
  const TextMetrics chr = GetTextMetrics(s.dc());
  EXPECT_GT(chr.height, 40);
  EXPECT_NEAR(chr.height - chr.internalLeading, 40, 2);
  // Mapping scales fonts: 20 logical units at two device pixels a unit.
  SetMapMode(s.dc(), MapMode::Anisotropic);
  SetWindowExt(s.dc(), 1, 1);
  SetViewportExt(s.dc(), 2, 2);
  SelectFont(s.dc(), Sized(20));
  EXPECT_NEAR(GetTextMetrics(s.dc()).height, 20, 1);
}

TEST_F(DcText, TextOutUsesTheTextColourAndAlignment) {
  struct Case {
    std::uint32_t align;
    bool inkRightOfX, inkBelowY;
  } cases[] = {
      {TaLeft | TaTop, true, true},
      {TaRight | TaTop, false, true},
      {TaLeft | TaBottom, true, false},
  };
  for (const Case& c : cases) {
    ImageSurface s(200, 100);
    SelectPen(s.dc(), SolidPen(kRed));
    SetTextColour(s.dc(), kBlue);
    SetBkMode(s.dc(), BkMode::Transparent);
    SelectFont(s.dc(), Sized(-30));
    SetTextAlign(s.dc(), c.align);
    TextOut(s.dc(), 100, 50, QStringLiteral("HHH"));
    const QImage img = s.finish();
    const QRect ink = InkBox(img);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(Count(img, kRed), 0);
    EXPECT_GT(Count(img, kBlue), 50);
    EXPECT_EQ(ink.left() >= 100, c.inkRightOfX);
    EXPECT_EQ(ink.right() < 100, !c.inkRightOfX);
    EXPECT_EQ(ink.top() >= 50, c.inkBelowY);
    EXPECT_EQ(ink.bottom() < 50, !c.inkBelowY);
  }
}

TEST_F(DcText, TextBrushFillsTheGlyphsAndStaysOnTheDevice) {
  // A brush that runs from red at the top of the device to blue at its
  // bottom: every full glyph pixel takes the brush's colour of its device
  // row, however the text is placed, turned or mapped.
  constexpr int kSide = 300;
  QLinearGradient down(0, 0, 0, kSide);
  down.setColorAt(0, Qt::red);
  down.setColorAt(1, Qt::blue);
  const struct {
    const char* name;
    int x, y, escapement, scale;
  } cases[] = {
      {"upright", 20, 20, 0, 1},
      {"turned", 60, 280, 900, 1},
      {"slanted", 40, 200, 300, 1},
      {"mapped", 10, 10, 0, 2},
  };
  for (const auto& c : cases) {
    const auto draw = [&](bool brush) {
      ImageSurface s(kSide, kSide);
      SetMapMode(s.dc(), MapMode::Anisotropic);
      SetWindowExt(s.dc(), 1, 1);
      SetViewportExt(s.dc(), c.scale, c.scale);
      Font f = Sized(-60 / c.scale);
      f.weight = 700;
      f.escapement = f.orientation = c.escapement;
      SelectFont(s.dc(), f);
      SetBkMode(s.dc(), BkMode::Transparent);
      SetTextColour(s.dc(), kBlack);
      if (brush) SetTextBrush(s.dc(), QBrush(down));
      TextOut(s.dc(), c.x, c.y, QStringLiteral("HHH"));
      return s.finish();
    };
    const QImage plain = draw(false), brushed = draw(true);
    int full = 0;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        if (At(plain, x, y) != kBlack) {
          if (At(plain, x, y) == kWhite) {
            ASSERT_EQ(At(brushed, x, y), kWhite) << c.name << " " << x << "," << y;
          }
          continue;
        }
        ++full;
        const double t = (y + 0.5) / kSide;
        const Colour p = At(brushed, x, y);
        ASSERT_NEAR(ColourRed(p), 255 * (1 - t), 3) << c.name << " " << x << "," << y;
        ASSERT_NEAR(ColourBlue(p), 255 * t, 3) << c.name << " " << x << "," << y;
      }
    EXPECT_GT(full, 800) << c.name;
  }
}

TEST_F(DcText, NoTextBrushAndRestoreDcWriteWithTheTextColourAgain) {
  const auto draw = [](int how) {
    ImageSurface s(200, 80);
    SelectFont(s.dc(), Sized(-50));
    SetBkMode(s.dc(), BkMode::Transparent);
    SetTextColour(s.dc(), kGreen);
    const int level = SaveDC(s.dc());
    SetTextBrush(s.dc(), QBrush(Qt::red));
    if (how == 1) SetTextBrush(s.dc(), QBrush());
    if (how == 2) RestoreDC(s.dc(), level);
    TextOut(s.dc(), 10, 10, QStringLiteral("Hm"));
    return s.finish();
  };
  EXPECT_GT(Count(draw(0), kRed), 200);
  for (int how : {1, 2}) {
    const QImage image = draw(how);
    EXPECT_EQ(Count(image, kRed), 0) << how;
    EXPECT_GT(Count(image, kGreen), 200) << how;
  }
}

TEST_F(DcText, OpaqueBackgroundFillsTheCell) {
  ImageSurface s(200, 60);
  SetBkColour(s.dc(), kGreen);
  SelectFont(s.dc(), Sized(30));
  TextOut(s.dc(), 10, 10, QStringLiteral("ab"));
  const Size e = GetTextExtent(s.dc(), QStringLiteral("ab"));
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 11, 11), kGreen);
  EXPECT_EQ(At(img, 10 + e.cx + 2, 12), kWhite);
  EXPECT_EQ(At(img, 12, 10 + e.cy + 2), kWhite);
}

TEST_F(DcText, EscapementTurnsTextCounterClockwise) {
  ImageSurface s(200, 200);
  SetBkMode(s.dc(), BkMode::Transparent);
  Font f = Sized(-24);
  f.escapement = 900;
  SelectFont(s.dc(), f);
  TextOut(s.dc(), 100, 150, QStringLiteral("HHHHHH"));
  const QRect ink = InkBox(s.finish());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.height(), 2 * ink.width());  // runs upward
  EXPECT_LE(ink.bottom(), 151);
  EXPECT_GE(ink.left(), 99);  // the cell's top lies to the left
  EXPECT_LT(ink.top(), 100);
}

TEST_F(DcText, UpdateCpAdvancesThePosition) {
  ImageSurface s(200, 50);
  SelectFont(s.dc(), Sized(-20));
  SetTextAlign(s.dc(), TaUpdateCp);
  MoveTo(s.dc(), 10, 5);
  const Size e = GetTextExtent(s.dc(), QStringLiteral("abc"));
  TextOut(s.dc(), 0, 0, QStringLiteral("abc"));
  EXPECT_EQ(GetCurrentPosition(s.dc()).x, 10 + e.cx);
  EXPECT_EQ(GetCurrentPosition(s.dc()).y, 5);
}

TEST_F(DcText, DrawTextWrapsAndMeasures) {
  ImageSurface s(300, 200);
  SelectFont(s.dc(), Sized(20));
  SetBkMode(s.dc(), BkMode::Transparent);
  Rect r{10, 10, 90, 190};
  Rect calc = r;
  const int h = DrawText(s.dc(), QStringLiteral("uno due tre quattro"), &calc, DtWordBreak | DtCalcRect);
  EXPECT_GE(h, 2 * 20 - 2);
  EXPECT_LE(calc.right, 90);
  EXPECT_EQ(calc.bottom, 10 + h);
  EXPECT_EQ(Count(s.image(), kWhite), 300 * 200);  // measuring draws nothing
  DrawText(s.dc(), QStringLiteral("uno due tre quattro"), &r, DtWordBreak);
  const QRect ink = InkBox(s.finish());
  EXPECT_GE(ink.left(), 10);
  EXPECT_LT(ink.right(), 90);
  EXPECT_GT(ink.height(), 30);
}

TEST_F(DcText, UnknownFaceFallsBackAndEmptyTextDrawsNothing) {
  ImageSurface s(100, 50);
  Font f = Sized(-20);
  f.face = QStringLiteral("No Such Face 123");
  SelectFont(s.dc(), f);
  SetBkMode(s.dc(), BkMode::Transparent);
  TextOut(s.dc(), 5, 5, QString());
  EXPECT_EQ(Count(s.image(), kWhite), 5000);
  TextOut(s.dc(), 5, 5, QStringLiteral("Ab"));
  EXPECT_GT(GetTextExtent(s.dc(), QStringLiteral("Ab")).cx, 0);
  EXPECT_LT(Count(s.finish(), kWhite), 5000);
}

// No kerning: a text is as wide as its characters one by one, so the text
// library's line measuring (a piece at a time) agrees with what is drawn.
// At 1024 pixels (half the em of the Arial metrics) these letters have whole
// advances and the sums are exact; at an everyday size each extent is
// rounded on its own, so the sum may be one unit off, never a kerning step.
TEST_F(DcText, TextIsAsWideAsItsCharactersApart) {
  struct Case {
    int height;
    const char* pair;
    int slack;
  } cases[] = {
      {-1024, "AV", 0}, {-1024, "VA", 0}, {-1024, "PA", 0}, {-1024, "Ay", 0},
      {-20, "AV", 1},   {-20, "To", 1},   {-20, "Wa", 1},   {-20, "LT", 1},
  };
  for (const Case& c : cases) {
    ImageSurface s(10, 10);
    SelectFont(s.dc(), Sized(c.height));
    const QString pair = QString::fromLatin1(c.pair);
    const int whole = GetTextExtent(s.dc(), pair).cx;
    const int apart = GetTextExtent(s.dc(), pair.left(1)).cx + GetTextExtent(s.dc(), pair.mid(1)).cx;
    EXPECT_LE(std::abs(whole - apart), c.slack) << c.pair << " at " << c.height << ": " << whole << " vs " << apart;
  }
}

TEST_F(DcText, PairDrawnAtOnceMatchesItsLettersDrawnAtTheirExtents) {
  auto draw = [](bool apart) {
    ImageSurface s(1450, 1250);
    DeviceContext* dc = s.dc();
    SelectFont(dc, Sized(-1024));
    SetBkMode(dc, BkMode::Transparent);
    if (apart) {
      TextOut(dc, 20, 10, QStringLiteral("A"));
      TextOut(dc, 20 + GetTextExtent(dc, QStringLiteral("A")).cx, 10, QStringLiteral("V"));
    } else {
      TextOut(dc, 20, 10, QStringLiteral("AV"));
    }
    return s.finish();
  };
  const QImage once = draw(false);
  const QImage apart = draw(true);
  EXPECT_LT(Count(once, kWhite), 1450 * 1250 - 10000);
  EXPECT_TRUE(once == apart);
}

// The ink box holds every pixel TextOut paints, and not much more: accents
// and descenders, by the text alignment, with justification and character
// extra, italic, turned, mapped.
TEST_F(DcText, InkBoxHoldsEveryPixelTextOutPaints) {
  struct Case {
    const char* text;
    int height, weight;
    bool italic;
    std::uint32_t align;
    int justify, charExtra, escapement, scale;
  } cases[] = {
      {"Agjpqy", 60, 400, false, TaLeft | TaTop, 0, 0, 0, 1},
      {"\u00c9\u00c5 fly", -48, 700, false, TaRight | TaBaseline, 0, 0, 0, 1},
      {"Wide word gap", 40, 400, false, TaCenter | TaBottom, 60, 0, 0, 1},
      {"spaced", 40, 400, true, TaLeft | TaTop, 0, 7, 0, 1},
      {"Turned", 40, 400, false, TaLeft | TaTop, 0, 0, 900, 1},
      {"Mapped", 20, 400, false, TaLeft | TaTop, 0, 0, 0, 3},
  };
  for (const Case& c : cases) {
    ImageSurface s(600, 400);
    DeviceContext* dc = s.dc();
    Font f = Sized(c.height);
    f.weight = c.weight;
    f.italic = c.italic;
    f.escapement = c.escapement;
    SelectFont(dc, f);
    SetBkMode(dc, BkMode::Transparent);
    SetTextAlign(dc, c.align);
    SetTextCharacterExtra(dc, c.charExtra);
    if (c.scale != 1) {
      SetMapMode(dc, MapMode::Anisotropic);
      SetWindowExt(dc, 1, 1);
      SetViewportExt(dc, c.scale, c.scale);
    }
    const QString text = QString::fromUtf8(c.text);
    const int x = 300 / c.scale, y = 200 / c.scale;
    if (c.justify) SetTextJustification(dc, c.justify, 2);
    const QRectF box = GetTextInkBox(dc, x, y, text);
    TextOut(dc, x, y, text);
    const QRect ink = InkBox(s.finish());
    ASSERT_FALSE(ink.isNull()) << c.text;
    // Smoothing touches the pixels the box reaches into.
    EXPECT_TRUE(box.toAlignedRect().contains(ink)) << c.text;
    EXPECT_LT(box.width() * box.height(), 1.5 * ink.width() * ink.height() + 200) << c.text;
  }
  ImageSurface s(10, 10);
  EXPECT_TRUE(GetTextInkBox(s.dc(), 0, 0, QString()).isEmpty());
}

// Whether a text's ink stays inside a box is answered as its ink box
// answers it, for boxes that just hold it and boxes a hair short of it on
// any side, in any font, turned or spaced, with characters the glyph boxes
// cover and characters they leave to the layout.
TEST_F(DcText, InkInsideAgreesWithTheInkBox) {
  struct Case {
    const char* text;
    const char* face;
    int height, weight;
    bool italic;
    int escapement, justify;
  } cases[] = {
      {"Cliente 17", "DejaVu Sans", 40, 400, false, 0, 0},
      {"fjord_jiffy", "DejaVu Serif", 60, 700, true, 0, 0},  // overhanging glyphs
      {"ÀÉÎ Çà qÿ", "Liberation Sans", 50, 400, false, 0, 0},
      {"Wave AV .", "Liberation Serif", 36, 400, true, 0, 0},
      {"Cliente 17", "DejaVu Sans", 40, 400, false, 300, 0},  // turned
      {"a b c", "DejaVu Sans", 40, 400, false, 0, 40},        // justified
      {"a\tb", "DejaVu Sans", 40, 400, false, 0, 0},          // a tab
      {"Ωμέγα €", "DejaVu Sans", 40, 400, false, 0, 0},       // beyond Latin
      {"   ", "DejaVu Sans", 40, 400, false, 0, 0},
  };
  ImageSurface s(10, 10);
  DeviceContext* dc = s.dc();
  for (int round = 0; round < 2; ++round) {  // the glyph boxes asked, then known
    for (const Case& c : cases) {
      SCOPED_TRACE(c.text);
      Font f;
      f.face = QString::fromUtf8(c.face);
      f.height = c.height;
      f.weight = c.weight;
      f.italic = c.italic;
      f.escapement = c.escapement;
      SelectFont(dc, f);
      SetTextJustification(dc, c.justify, c.justify != 0 ? 2 : 0);
      const QString text = QString::fromUtf8(c.text);
      const QRectF ink = GetTextInkBox(dc, 100, 80, text);
      if (ink.isEmpty()) {
        EXPECT_TRUE(TextInkInside(dc, 100, 80, text, QRectF(0, 0, 1, 1)));
        continue;
      }
      EXPECT_TRUE(TextInkInside(dc, 100, 80, text, ink));
      EXPECT_TRUE(TextInkInside(dc, 100, 80, text, ink.adjusted(-500, -500, 500, 500)));
      // Wide of the ink on three sides, a hair short of it on the fourth.
      constexpr double kHair = 0.01, kWide = 500;
      const QRectF short_of[] = {ink.adjusted(kHair, -kWide, kWide, kWide), ink.adjusted(-kWide, kHair, kWide, kWide),
                                 ink.adjusted(-kWide, -kWide, -kHair, kWide),
                                 ink.adjusted(-kWide, -kWide, kWide, -kHair)};
      for (const QRectF& box : short_of) EXPECT_FALSE(TextInkInside(dc, 100, 80, text, box)) << box.x() << box.y();
    }
  }
  SetTextJustification(dc, 0, 0);
  EXPECT_TRUE(TextInkInside(dc, 0, 0, QString(), QRectF()));
}

// A context that measures many texts in turn (it keeps fonts and the last
// layout) answers each exactly as a fresh context does: a change of the
// text, face, size, weight, spacing or mapping is never missed.
TEST_F(DcText, MeasuresInTurnAreThoseOfAFreshContext) {
  struct Step {
    const char* text;
    const char* face;
    int height, weight, width, charExtra, justify, scaleX, scaleY;
  } steps[] = {
      {"Cliente 1", "Arial", 40, 400, 0, 0, 0, 1, 1},
      {"Cliente 1", "Arial", 44, 400, 0, 0, 0, 1, 1},
      {"Cliente 1", "Arial", 44, 700, 0, 0, 0, 1, 1},
      {"Cliente 1", "DejaVu Serif", 44, 700, 0, 0, 0, 1, 1},
      {"Cliente 12", "DejaVu Serif", 44, 700, 0, 0, 0, 1, 1},
      {"Cliente 12", "DejaVu Serif", 44, 700, 0, 5, 0, 1, 1},
      {"Cliente 12", "DejaVu Serif", 44, 700, 0, 0, 30, 1, 1},
      {"Cliente 12", "DejaVu Serif", 44, 700, 0, 0, 0, 2, 2},
      // A set character width follows the horizontal scale alone.
      {"Cliente 12", "Arial", 44, 400, 20, 0, 0, 1, 1},
      {"Cliente 12", "Arial", 44, 400, 20, 0, 0, 2, 1},
      {"Cliente 1", "Arial", 40, 400, 0, 0, 0, 1, 1},
  };
  auto apply = [](DeviceContext* dc, const Step& st) {
    Font f = Sized(st.height);
    f.face = QString::fromLatin1(st.face);
    f.weight = st.weight;
    f.width = st.width;
    SelectFont(dc, f);
    SetTextCharacterExtra(dc, st.charExtra);
    SetTextJustification(dc, st.justify, st.justify ? 1 : 0);
    SetMapMode(dc, MapMode::Anisotropic);
    SetWindowExt(dc, 1, 1);
    SetViewportExt(dc, st.scaleX, st.scaleY);
  };
  ImageSurface kept(400, 200);
  for (int round = 0; round < 2; ++round) {
    for (const Step& st : steps) {
      ImageSurface fresh(400, 200);
      apply(kept.dc(), st);
      apply(fresh.dc(), st);
      const QString text = QString::fromLatin1(st.text);
      EXPECT_EQ(GetTextExtent(kept.dc(), text).cx, GetTextExtent(fresh.dc(), text).cx) << st.text << st.height;
      EXPECT_EQ(GetTextMetrics(kept.dc()).height, GetTextMetrics(fresh.dc()).height) << st.text << st.height;
      EXPECT_EQ(GetTextInkBox(kept.dc(), 10, 10, text), GetTextInkBox(fresh.dc(), 10, 10, text)) << st.text;
    }
  }
}

class DcImage : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
  static QImage Quad() {
    QImage q(2, 2, QImage::Format_RGB32);
    q.setPixel(0, 0, qRgb(255, 0, 0));
    q.setPixel(1, 0, qRgb(0, 255, 0));
    q.setPixel(0, 1, qRgb(0, 0, 255));
    q.setPixel(1, 1, qRgb(0, 0, 0));
    return q;
  }
};

TEST_F(DcImage, StretchFillsTheDestinationExactly) {
  ImageSurface s(40, 40);
  SetStretchMode(s.dc(), StretchMode::ColorOnColor);
  StretchImage(s.dc(), Rect{10, 10, 30, 30}, Quad());
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 10, 10), kRed);
  EXPECT_EQ(At(img, 29, 10), kGreen);
  EXPECT_EQ(At(img, 10, 29), kBlue);
  EXPECT_EQ(At(img, 29, 29), kBlack);
  EXPECT_EQ(ChangedOutside(img, kWhite, 10, 10, 30, 30), 0);
}

TEST_F(DcImage, SourceRectAndMirroring) {
  ImageSurface s(40, 40);
  SetStretchMode(s.dc(), StretchMode::ColorOnColor);
  const Rect src{1, 0, 2, 2};  // the right column
  StretchImage(s.dc(), Rect{0, 0, 10, 10}, Quad(), &src);
  StretchImage(s.dc(), Rect{30, 20, 20, 30}, Quad());  // mirrored left-right
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 0, 0), kGreen);
  EXPECT_EQ(At(img, 9, 9), kBlack);
  EXPECT_EQ(At(img, 29, 20), kRed);
  EXPECT_EQ(At(img, 20, 20), kGreen);
}

TEST_F(DcImage, RasterOpsCombineWithTheTarget) {
  ImageSurface s(20, 10);
  FillRect(s.dc(), Rect{0, 0, 20, 10}, Rgb(255, 255, 0));
  QImage blue(1, 1, QImage::Format_RGB32);
  blue.fill(qRgb(0, 0, 255));
  QImage yellow(1, 1, QImage::Format_RGB32);
  yellow.fill(qRgb(255, 255, 0));
  StretchImage(s.dc(), Rect{0, 0, 5, 10}, blue, nullptr, RopSrcPaint);       // OR: white
  StretchImage(s.dc(), Rect{5, 0, 10, 10}, blue, nullptr, RopSrcAnd);        // AND: black
  StretchImage(s.dc(), Rect{10, 0, 15, 10}, yellow, nullptr, RopSrcInvert);  // XOR: black
  StretchImage(s.dc(), Rect{15, 0, 20, 10}, yellow, nullptr, RopDstInvert);  // NOT dst: blue
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 2, 5), kWhite);
  EXPECT_EQ(At(img, 7, 5), kBlack);
  EXPECT_EQ(At(img, 12, 5), kBlack);
  EXPECT_EQ(At(img, 17, 5), kBlue);
}

TEST_F(DcImage, TransparentAndBlendedImages) {
  ImageSurface s(20, 10);
  TransparentImage(s.dc(), Rect{0, 0, 10, 10}, Quad(), nullptr, kRed);
  QImage black(1, 1, QImage::Format_RGB32);
  black.fill(qRgb(0, 0, 0));
  AlphaBlendImage(s.dc(), Rect{10, 0, 20, 10}, black, nullptr, 128, false);
  const QImage img = s.finish();
  EXPECT_EQ(At(img, 0, 0), kWhite);  // the key colour is left out
  EXPECT_EQ(At(img, 9, 0), kGreen);
  EXPECT_NEAR(ColourRed(At(img, 15, 5)), 127, 2);
}

TEST_F(DcImage, ReadPixelsAndGetPixelReadTheBacking) {
  ImageSurface s(20, 20);
  FillRect(s.dc(), Rect{5, 5, 10, 10}, kRed);
  EXPECT_EQ(GetPixel(s.dc(), 5, 5), kRed);
  EXPECT_EQ(GetPixel(s.dc(), 4, 5), kWhite);
  EXPECT_EQ(GetPixel(s.dc(), 50, 5), ClrInvalid);
  const QImage part = ReadPixels(s.dc(), Rect{-2, 4, 8, 8});
  ASSERT_EQ(part.size(), QSize(10, 4));
  EXPECT_EQ(At(part, 0, 0), kWhite);  // outside the backing
  EXPECT_EQ(At(part, 7, 1), kRed);    // device (5, 5)
  EXPECT_TRUE(ReadPixels(s.dc(), Rect{0, 0, 0, 5}).isNull());
  // Writing back is a plain copy.
  QImage g(3, 3, QImage::Format_ARGB32);
  g.fill(qRgb(0, 255, 0));
  WritePixels(s.dc(), 0, 0, g);
  EXPECT_EQ(GetPixel(s.dc(), 2, 2), kGreen);
  EXPECT_EQ(GetPixel(s.dc(), 3, 3), kWhite);
}

TEST_F(DcImage, GradientFillRunsBetweenTheVertexColours) {
  ImageSurface s(100, 20);
  TriVertex v[2];
  v[0].x = 0;
  v[0].y = 0;
  v[0].red = 0xFF00;
  v[1].x = 100;
  v[1].y = 20;
  v[1].blue = 0xFF00;
  const std::uint32_t idx[2] = {0, 1};
  GradientFill(s.dc(), v, 2, idx, 2, GradientMode::RectH);
  const QImage img = s.finish();
  EXPECT_GT(ColourRed(At(img, 1, 10)), 240);
  EXPECT_GT(ColourBlue(At(img, 98, 10)), 240);
  EXPECT_GT(ColourRed(At(img, 30, 10)), ColourRed(At(img, 70, 10)));
}

}  // namespace
