// Where lines stop: the searching fitter must stop every line exactly where
// the scan one character at a time stops it, with far fewer measurements;
// and the clip and background region of an upright rectangle must be the
// very pixels of the polygon.

#include "libs/scriva2/linefit.h"
#include "libs/scriva2/textrenderer.h"
#include "platform/dc.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using pv::LineEnd;
using pv::LineFitter;
using pv::LineStop;

const char* Name(LineEnd e) {
  switch (e) {
    case LineEnd::None: return "none";
    case LineEnd::Full: return "full";
    case LineEnd::LineBreak: return "line break";
    case LineEnd::EndOfText: return "end of text";
  }
  return "?";
}

struct FontCase {
  int dpi;
  int height;
  int weight;
  bool italic;
  std::int32_t justified = 0;  // extra width over 3 spaces: extents that are not sums
};

// A surface with the font selected, as the renderer measures.
struct Measuring {
  explicit Measuring(const FontCase& f) : surface(16, 16, f.dpi, f.dpi) {
    pv::Font font = scriva2_test::PlainFont(f.height, f.weight);
    font.italic = f.italic;
    pv::SelectFont(surface.dc(), font);
    pv::SetTextJustification(surface.dc(), f.justified, 3);
  }
  pv::ImageSurface surface;
};

class LineFit : public ::testing::Test {
 protected:
  void SetUp() override { scriva2_test::EnsureApp(); }
};

// Every start position and a sweep of widths, on texts with kerning pairs,
// accents, tabs, line breaks of all three kinds, runs of spaces and words
// wider than the rectangle: the search and the scan agree on the position,
// the reason and the width of the line that follows from them.
TEST_F(LineFit, SearchStopsWhereTheScanStops) {
  const QString texts[] = {
      QStringLiteral("AVATAR To Wave, LT Yo. \"Tyre\" f.f. ij"),
      QStringLiteral("Etichetta di prova con testo lungo che va a capo"),
      QString::fromUtf8("perch\xc3\xa9 pi\xc3\xb9 citt\xc3\xa0 \xe2\x82\xac 12,50 \xe2\x80\x94 \xc2\xab"
                        "cos\xc3\xac\xc2\xbb"),
      QStringLiteral("uno\r\ndue  tre\nquattro\rcinque\r\n\r\nsei"),
      QStringLiteral("   spazi    in    mezzo   "),
      QStringLiteral("Lunghissimaparolasenzaspazi e poi corte"),
      QStringLiteral("colonna\tdue\tTre"),
      QStringLiteral("iiiiiiiiiiWWWWWWWWWW iiii WWWW"),
  };
  const FontCase fonts[] = {{96, 40, 400, false}, {96, 13, 700, true}, {600, 67, 400, false}, {96, 40, 400, false, 90}};
  int lines = 0;
  for (const FontCase& f : fonts) {
    Measuring m(f);
    for (const QString& text : texts) {
      ASSERT_TRUE(LineFitter(m.surface.dc(), text, 1.0).searchable()) << text.toStdString();
      const std::int32_t whole = pv::GetTextExtent(m.surface.dc(), text).cx;
      std::vector<std::int64_t> widths = {-5, 0, 1, 2};
      for (int step = 1; step <= 24; ++step) widths.push_back(whole * step / 20);
      for (std::int64_t width : widths) {
        // One fitter per width, used for every start as the renderer uses
        // it for every line (its memory and its guesses carry over).
        LineFitter searching(m.surface.dc(), text, 0.4 * f.height);
        for (qsizetype start = 0; start <= text.size(); ++start) {
          LineFitter scanning(m.surface.dc(), text, 1.0);
          const LineStop want = scanning.FitByCharacter(start, width);
          const LineStop got = searching.Fit(start, width);
          ASSERT_EQ(got.scan, want.scan) << text.toStdString() << " from " << start << " in " << width << " at "
                                         << f.dpi << " dpi";
          ASSERT_EQ(got.reason, want.reason) << Name(got.reason) << " / " << Name(want.reason) << " for "
                                             << text.toStdString() << " from " << start << " in " << width;
          const std::int32_t real = pv::GetTextExtent(m.surface.dc(), text.mid(start, got.scan - start)).cx;
          ASSERT_EQ(searching.Extent(start, got.scan), real);
          ++lines;
        }
      }
    }
  }
  EXPECT_GT(lines, 1000);
}

TEST_F(LineFit, OnlySimpleTextIsSearched) {
  const struct {
    const char* utf8;
    bool searchable;
  } cases[] = {
      {"Testo 12", true},
      {"perch\xc3\xa9 \xe2\x82\xac 5 \xe2\x80\x93 \xe2\x80\x9cs\xc3\xac\xe2\x80\x9d \xe2\x84\xa2", true},
      {"uno\r\ndue\tcol", true},
      {"", true},
      {"co\xc2\xad"
       "dice",
       false},               // soft hyphen: drawn only at a line's end
      {"e\xcc\x81", false},  // a combining accent
      {"1\xe2\x81\x84"
       "2",
       false},                                              // the fraction slash reshapes the digits
      {"\xd9\x85\xd8\xb1\xd8\xad\xd8\xa8\xd8\xa7", false},  // Arabic letters join
      {"ok \xf0\x9f\x98\x80", false},                       // a surrogate pair
      {"a\xe2\x80\x8b"
       "b",
       false},  // zero-width space
  };
  Measuring m({96, 40, 400, false});
  for (const auto& c : cases) {
    const QString text = QString::fromUtf8(c.utf8);
    EXPECT_EQ(LineFitter(m.surface.dc(), text, 1.0).searchable(), c.searchable) << c.utf8;
  }
}

// Text that is not searched is scanned a character at a time, with the same
// stops as ever, surrogate pairs kept whole.
TEST_F(LineFit, OtherTextIsScannedACharacterAtATime) {
  Measuring m({96, 40, 400, false});
  const QString text = QString::fromUtf8(
      "caf\xc3\xa9\xcc\x81 \xf0\x9f\x98\x80\xf0\x9f\x98\x80 co\xc2\xad"
      "dice fine");
  const std::int32_t whole = pv::GetTextExtent(m.surface.dc(), text).cx;
  for (std::int64_t width :
       {std::int64_t{0}, std::int64_t{whole / 4}, std::int64_t{whole / 2}, std::int64_t{whole * 2}}) {
    LineFitter fitter(m.surface.dc(), text, 16.0);
    ASSERT_FALSE(fitter.searchable());
    LineFitter scanning(m.surface.dc(), text, 1.0);
    const LineStop got = fitter.Fit(0, width);
    const LineStop want = scanning.FitByCharacter(0, width);
    EXPECT_EQ(got.scan, want.scan) << width;
    EXPECT_EQ(got.reason, want.reason) << width;
    if (got.scan < text.size()) {
      EXPECT_FALSE(text.at(got.scan).isLowSurrogate()) << "a surrogate pair split at " << got.scan;
    }
  }
}

// The point of the search: a line costs a few measurements, not one per
// character, and a text that fits costs exactly one (its line's width comes
// from the same measurement).
TEST_F(LineFit, LinesCostAFewMeasurements) {
  Measuring m({600, 67, 400, false});
  {
    const QString text = QStringLiteral("Testo 123");
    LineFitter fitter(m.surface.dc(), text, 0.4 * 67);
    const LineStop stop = fitter.Fit(0, 100000);
    EXPECT_EQ(stop.reason, LineEnd::EndOfText);
    EXPECT_EQ(fitter.Extent(0, stop.scan), pv::GetTextExtent(m.surface.dc(), text).cx);
    EXPECT_EQ(fitter.measurements(), 1);
  }
  QString paragraph;
  while (paragraph.size() < 1024)
    paragraph += QStringLiteral("Etichetta di prova con testo lungo che va a capo parola per parola nel rettangolo, ");
  paragraph.truncate(1024);
  const std::int64_t width = 2362;  // 100 mm at 600 dpi
  LineFitter fitter(m.surface.dc(), paragraph, 0.4 * 67);
  LineFitter scanning(m.surface.dc(), paragraph, 1.0);
  int lines = 0;
  qsizetype start = 0;
  for (;;) {
    while (start < paragraph.size() && paragraph.at(start) == u' ') ++start;
    const LineStop stop = fitter.Fit(start, width);
    ASSERT_EQ(stop.scan, scanning.FitByCharacter(start, width).scan);
    qsizetype end = stop.scan;
    if (stop.reason == LineEnd::Full)
      while (end > start && paragraph.at(end) != u' ') --end;
    fitter.Extent(start, end);
    ++lines;
    if (stop.reason != LineEnd::Full || end == start) break;
    start = end;
  }
  EXPECT_GT(lines, 10);
  EXPECT_LE(fitter.measurements(), 4 * lines) << lines << " lines";
  EXPECT_GT(scanning.measurements(), 40 * lines);
}

TEST(PolygonRegion, UprightRectangleIsThePolygonsPixels) {
  using P = pv::Point;
  const std::vector<std::vector<P>> cases = {
      {{10, 20}, {110, 20}, {110, 70}, {10, 70}},            // unturned
      {{110, 70}, {10, 70}, {10, 20}, {110, 20}},            // turned by 180
      {{10, 70}, {10, 20}, {110, 20}, {110, 70}},            // turned by 90
      {{110, 20}, {10, 20}, {10, 70}, {110, 70}},            // mirrored order
      {{-50, -40}, {30, -40}, {30, 5}, {-50, 5}},            // across the origin
      {{10, 20}, {10, 20}, {10, 70}, {10, 70}},              // no width
      {{10, 20}, {110, 20}, {110, 20}, {10, 20}},            // no height
      {{40000, 20}, {40100, 20}, {40100, 70}, {40000, 70}},  // beyond the device
      {{10, 20}, {110, 25}, {105, 75}, {5, 70}},             // turned a little: a polygon
  };
  for (const auto& c : cases) {
    const pv::Region fast = pv::TextRenderer::PolygonRegion(c.data());
    const pv::Region polygon = pv::Region::FromPolygon(c.data(), 4, pv::FillMode::Winding);
    EXPECT_EQ(fast.qregion(), polygon.qregion()) << c[0].x << "," << c[0].y << " " << c[2].x << "," << c[2].y;
  }
}

}  // namespace
