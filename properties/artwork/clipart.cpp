#include "properties/artwork/designs.h"

#include <cmath>

namespace pv::artwork {

namespace {

std::vector<Pt> Star(int cx, int cy, int outer, int inner, int points) {
  std::vector<Pt> out;
  for (int i = 0; i < points * 2; ++i) {
    const double a = -M_PI / 2 + i * M_PI / points;
    const int r = i % 2 ? inner : outer;
    out.emplace_back(cx + static_cast<int>(std::lround(r * std::cos(a))),
                     cy + static_cast<int>(std::lround(r * std::sin(a))));
  }
  return out;
}

void Face(EmfWriter& w, std::uint32_t skin, bool happy) {
  w.Pen(24, 0x3A2A1A);
  w.Brush(skin);
  w.Circle(500, 500, 400);
  w.Brush(0x3A2A1A);
  w.Circle(360, 400, 50);
  w.Circle(640, 400, 50);
  w.NoBrush();
  if (happy) {
    w.Bezier({{300, 620}, {400, 760}, {600, 760}, {700, 620}});
  } else {
    w.Bezier({{320, 730}, {420, 620}, {580, 620}, {680, 730}});
  }
}

std::vector<ClipDesign> Build() {
  std::vector<ClipDesign> d;
  // 1: animals
  d.push_back({1, "gatto", [](EmfWriter& w) {
                 w.Pen(24, 0x333333);
                 w.Brush(0xF2A541);
                 w.Polygon({{220, 380}, {260, 120}, {420, 280}});
                 w.Polygon({{780, 380}, {740, 120}, {580, 280}});
                 w.Ellipse(180, 230, 820, 850);
                 w.Brush(0x2E7D32);
                 w.Ellipse(330, 430, 430, 540);
                 w.Ellipse(570, 430, 670, 540);
                 w.Brush(0xE57373);
                 w.Polygon({{460, 620}, {540, 620}, {500, 670}});
                 w.Polyline({{80, 640}, {400, 660}});
                 w.Polyline({{80, 740}, {400, 690}});
                 w.Polyline({{920, 640}, {600, 660}});
                 w.Polyline({{920, 740}, {600, 690}});
               }});
  d.push_back({1, "pesce", [](EmfWriter& w) {
                 w.Pen(24, 0x1A3A5A);
                 w.Brush(0x4FC3F7);
                 w.Polygon({{700, 500}, {930, 300}, {930, 700}});
                 w.Ellipse(80, 280, 760, 720);
                 w.Brush(0x1A3A5A);
                 w.Circle(260, 450, 45);
                 w.NoBrush();
                 w.Bezier({{420, 320}, {480, 420}, {480, 580}, {420, 680}});
               }});
  d.push_back({1, "uccello", [](EmfWriter& w) {
                 w.Pen(24, 0x4A3000);
                 w.Brush(0xFFD54F);
                 w.Ellipse(200, 350, 760, 820);
                 w.Circle(700, 330, 170);
                 w.Brush(0xFF8F00);
                 w.Polygon({{850, 300}, {970, 350}, {850, 390}});
                 w.Brush(0xFFB300);
                 w.Polygon({{250, 520}, {560, 480}, {420, 720}});
                 w.Brush(0x4A3000);
                 w.Circle(730, 300, 30);
                 w.Polyline({{420, 820}, {400, 950}});
                 w.Polyline({{560, 820}, {580, 950}});
               }});
  d.push_back({1, "farfalla", [](EmfWriter& w) {
                 w.Pen(20, 0x4A148C);
                 w.Brush(0xBA68C8);
                 w.Ellipse(120, 150, 490, 520);
                 w.Ellipse(510, 150, 880, 520);
                 w.Brush(0xF48FB1);
                 w.Ellipse(180, 500, 480, 820);
                 w.Ellipse(520, 500, 820, 820);
                 w.Brush(0x4A148C);
                 w.Ellipse(460, 200, 540, 850);
                 w.NoBrush();
                 w.Bezier({{490, 220}, {450, 120}, {400, 90}, {350, 80}});
                 w.Bezier({{510, 220}, {550, 120}, {600, 90}, {650, 80}});
               }});
  // 2: home
  d.push_back({2, "casa", [](EmfWriter& w) {
                 w.Pen(24, 0x5D4037);
                 w.Brush(0xE53935);
                 w.Polygon({{100, 480}, {500, 120}, {900, 480}});
                 w.Brush(0xFFF3E0);
                 w.Rectangle(180, 470, 820, 900);
                 w.Brush(0x8D6E63);
                 w.Rectangle(430, 640, 570, 900);
                 w.Brush(0x81D4FA);
                 w.Rectangle(240, 560, 370, 690);
                 w.Rectangle(630, 560, 760, 690);
               }});
  d.push_back({2, "chiave", [](EmfWriter& w) {
                 w.Pen(28, 0x6D4C00);
                 w.Brush(0xFBC02D);
                 w.Circle(280, 500, 200);
                 w.Brush(0xFFFFFF);
                 w.Circle(280, 500, 80);
                 w.Brush(0xFBC02D);
                 w.Rectangle(460, 460, 900, 540);
                 w.Rectangle(760, 540, 820, 660);
                 w.Rectangle(860, 540, 900, 620);
               }});
  d.push_back({2, "lampada", [](EmfWriter& w) {
                 w.Pen(24, 0x37474F);
                 w.Brush(0xFFE082);
                 w.Polygon({{300, 150}, {700, 150}, {820, 480}, {180, 480}});
                 w.Brush(0x78909C);
                 w.Rectangle(470, 480, 530, 820);
                 w.Ellipse(300, 800, 700, 900);
               }});
  d.push_back({2, "sedia", [](EmfWriter& w) {
                 w.Pen(24, 0x4E342E);
                 w.Brush(0xA1887F);
                 w.Rectangle(260, 100, 340, 900);
                 w.Rectangle(660, 520, 740, 900);
                 w.Rectangle(260, 480, 760, 560);
                 w.Rectangle(260, 100, 700, 180);
                 w.Rectangle(260, 300, 700, 360);
               }});
  // 3: food and drink
  d.push_back({3, "mela", [](EmfWriter& w) {
                 w.Pen(24, 0x7F0000);
                 w.Brush(0xE53935);
                 w.Ellipse(140, 260, 540, 880);
                 w.Ellipse(460, 260, 860, 880);
                 w.Pen(30, 0x5D4037);
                 w.Polyline({{500, 300}, {520, 120}});
                 w.Pen(20, 0x1B5E20);
                 w.Brush(0x66BB6A);
                 w.Ellipse(540, 120, 760, 230);
               }});
  d.push_back({3, "tazza", [](EmfWriter& w) {
                 w.Pen(28, 0x3E2723);
                 w.NoBrush();
                 w.Ellipse(640, 420, 880, 680);
                 w.Brush(0xFFFFFF);
                 w.RoundRect(160, 320, 720, 860, 120);
                 w.Brush(0x6D4C41);
                 w.Ellipse(180, 300, 700, 380);
                 w.NoBrush();
                 w.Bezier({{350, 260}, {300, 200}, {400, 150}, {350, 80}});
                 w.Bezier({{500, 260}, {450, 200}, {550, 150}, {500, 80}});
               }});
  d.push_back(
      {3, "bottiglia", [](EmfWriter& w) {
         w.Pen(24, 0x1B5E20);
         w.Brush(0x81C784);
         w.Polygon({{420, 80}, {580, 80}, {580, 300}, {720, 420}, {720, 920}, {280, 920}, {280, 420}, {420, 300}});
         w.Brush(0xFFF8E1);
         w.Rectangle(300, 520, 700, 760);
       }});
  d.push_back({3, "formaggio", [](EmfWriter& w) {
                 w.Pen(24, 0x8D6E00);
                 w.Brush(0xFFD54F);
                 w.Polygon({{100, 720}, {900, 320}, {900, 720}});
                 w.Brush(0xFFB300);
                 w.Rectangle(100, 720, 900, 860);
                 w.Polygon({{100, 720}, {900, 320}, {900, 720}});
                 w.Brush(0xFFF59D);
                 w.Circle(600, 600, 50);
                 w.Circle(780, 500, 40);
                 w.Circle(450, 790, 35);
               }});
  // 4: holidays
  d.push_back({4, "palloncino", [](EmfWriter& w) {
                 w.Pen(24, 0x880E4F);
                 w.Brush(0xEC407A);
                 w.Ellipse(250, 80, 750, 680);
                 w.Polygon({{470, 680}, {530, 680}, {500, 730}});
                 w.NoBrush();
                 w.Bezier({{500, 730}, {420, 820}, {580, 880}, {500, 960}});
               }});
  d.push_back({4, "regalo", [](EmfWriter& w) {
                 w.Pen(24, 0x1A237E);
                 w.Brush(0x42A5F5);
                 w.Rectangle(150, 400, 850, 900);
                 w.Brush(0xFFCA28);
                 w.Rectangle(450, 400, 550, 900);
                 w.Rectangle(120, 300, 880, 420);
                 w.Ellipse(300, 150, 500, 310);
                 w.Ellipse(500, 150, 700, 310);
               }});
  d.push_back({4, "stella", [](EmfWriter& w) {
                 w.Pen(24, 0xE65100);
                 w.Brush(0xFFEB3B);
                 w.Polygon(Star(500, 530, 450, 190, 5));
               }});
  d.push_back({4, "torta", [](EmfWriter& w) {
                 w.Pen(24, 0x4E342E);
                 w.Brush(0xF8BBD0);
                 w.Rectangle(150, 480, 850, 900);
                 w.Brush(0xFFFFFF);
                 w.Rectangle(150, 480, 850, 580);
                 w.Brush(0x90CAF9);
                 w.Rectangle(300, 260, 340, 480);
                 w.Rectangle(480, 260, 520, 480);
                 w.Rectangle(660, 260, 700, 480);
                 w.Brush(0xFF9800);
                 w.Ellipse(290, 180, 350, 260);
                 w.Ellipse(470, 180, 530, 260);
                 w.Ellipse(650, 180, 710, 260);
               }});
  // 5: arrows and symbols
  d.push_back({5, "freccia_destra", [](EmfWriter& w) {
                 w.Pen(24, 0x0D47A1);
                 w.Brush(0x1E88E5);
                 w.Polygon({{80, 380}, {560, 380}, {560, 180}, {930, 500}, {560, 820}, {560, 620}, {80, 620}});
               }});
  d.push_back({5, "freccia_su", [](EmfWriter& w) {
                 w.Pen(24, 0x1B5E20);
                 w.Brush(0x43A047);
                 w.Polygon({{380, 920}, {380, 440}, {180, 440}, {500, 70}, {820, 440}, {620, 440}, {620, 920}});
               }});
  d.push_back({5, "cuore", [](EmfWriter& w) {
                 w.Pen(24, 0x880E4F);
                 w.Brush(0xE91E63);
                 w.Polygon({{500, 900},
                            {120, 480},
                            {110, 300},
                            {200, 170},
                            {350, 140},
                            {500, 280},
                            {650, 140},
                            {800, 170},
                            {890, 300},
                            {880, 480}});
               }});
  d.push_back({5, "spunta", [](EmfWriter& w) {
                 w.Pen(24, 0x1B5E20);
                 w.Brush(0x66BB6A);
                 w.Circle(500, 500, 430);
                 w.Brush(0xFFFFFF);
                 w.Polygon({{260, 500}, {340, 420}, {440, 540}, {680, 280}, {760, 360}, {440, 700}});
               }});
  // 6: nature
  d.push_back({6, "albero", [](EmfWriter& w) {
                 w.Pen(24, 0x3E2723);
                 w.Brush(0x795548);
                 w.Rectangle(440, 600, 560, 930);
                 w.Pen(24, 0x1B5E20);
                 w.Brush(0x43A047);
                 w.Circle(500, 330, 250);
                 w.Circle(330, 500, 200);
                 w.Circle(670, 500, 200);
               }});
  d.push_back({6, "sole", [](EmfWriter& w) {
                 w.Pen(24, 0xE65100);
                 w.Brush(0xFFB300);
                 w.Polygon(Star(500, 500, 470, 300, 12));
                 w.Brush(0xFFEB3B);
                 w.Circle(500, 500, 260);
               }});
  d.push_back({6, "fiore", [](EmfWriter& w) {
                 w.Pen(30, 0x2E7D32);
                 w.Polyline({{500, 500}, {500, 950}});
                 w.Pen(20, 0xAD1457);
                 w.Brush(0xF48FB1);
                 for (int i = 0; i < 6; ++i) {
                   const double a = i * M_PI / 3;
                   const int cx = 500 + static_cast<int>(std::lround(200 * std::cos(a)));
                   const int cy = 400 + static_cast<int>(std::lround(200 * std::sin(a)));
                   w.Circle(cx, cy, 140);
                 }
                 w.Brush(0xFFEB3B);
                 w.Circle(500, 400, 130);
               }});
  d.push_back({6, "nuvola", [](EmfWriter& w) {
                 w.Pen(0, 0);
                 w.Brush(0x90A4AE);
                 w.Circle(350, 520, 200);
                 w.Circle(560, 420, 260);
                 w.Circle(760, 560, 170);
                 w.Rectangle(200, 560, 850, 720);
                 w.Brush(0xCFD8DC);
                 w.Circle(350, 500, 170);
                 w.Circle(560, 400, 230);
                 w.Circle(760, 540, 140);
               }});
  // 7: people
  d.push_back({7, "sorriso", [](EmfWriter& w) { Face(w, 0xFFD54F, true); }});
  d.push_back({7, "triste", [](EmfWriter& w) { Face(w, 0x90CAF9, false); }});
  d.push_back({7, "persona", [](EmfWriter& w) {
                 w.Pen(24, 0x263238);
                 w.Brush(0xFFCC80);
                 w.Circle(500, 230, 150);
                 w.Brush(0x5C6BC0);
                 w.RoundRect(300, 400, 700, 950, 160);
               }});
  d.push_back({7, "gruppo", [](EmfWriter& w) {
                 w.Pen(24, 0x263238);
                 w.Brush(0xFFCC80);
                 w.Circle(300, 300, 120);
                 w.Circle(700, 300, 120);
                 w.Brush(0x26A69A);
                 w.RoundRect(150, 440, 450, 900, 120);
                 w.Brush(0xEF5350);
                 w.RoundRect(550, 440, 850, 900, 120);
               }});
  // 8: sport
  d.push_back({8, "pallone", [](EmfWriter& w) {
                 w.Pen(24, 0x212121);
                 w.Brush(0xFFFFFF);
                 w.Circle(500, 500, 420);
                 w.Brush(0x212121);
                 w.Polygon(Star(500, 500, 130, 130, 5));
                 w.Polyline({{500, 370}, {500, 90}});
                 w.Polyline({{380, 460}, {140, 360}});
                 w.Polyline({{620, 460}, {860, 360}});
                 w.Polyline({{420, 610}, {260, 830}});
                 w.Polyline({{580, 610}, {740, 830}});
               }});
  d.push_back({8, "racchetta", [](EmfWriter& w) {
                 w.Pen(30, 0x37474F);
                 w.Brush(0xFFFFFF);
                 w.Ellipse(250, 60, 750, 620);
                 w.Pen(8, 0x90A4AE);
                 for (int x = 330; x <= 670; x += 85) w.Polyline({{x, 100}, {x, 580}});
                 for (int y = 170; y <= 520; y += 85) w.Polyline({{280, y}, {720, y}});
                 w.Pen(24, 0x37474F);
                 w.Brush(0x6D4C41);
                 w.Rectangle(460, 620, 540, 950);
                 w.Brush(0xCDDC39);
                 w.Circle(820, 780, 100);
               }});
  d.push_back({8, "coppa", [](EmfWriter& w) {
                 w.Pen(24, 0x8D6E00);
                 w.NoBrush();
                 w.Ellipse(120, 200, 340, 480);
                 w.Ellipse(660, 200, 880, 480);
                 w.Brush(0xFFC107);
                 w.Polygon({{240, 120}, {760, 120}, {700, 500}, {560, 600}, {440, 600}, {300, 500}});
                 w.Rectangle(460, 600, 540, 780);
                 w.Rectangle(300, 780, 700, 900);
               }});
  d.push_back({8, "medaglia", [](EmfWriter& w) {
                 w.Pen(24, 0x0D47A1);
                 w.Brush(0x1E88E5);
                 w.Polygon({{300, 60}, {440, 60}, {540, 420}, {400, 420}});
                 w.Brush(0xE53935);
                 w.Polygon({{560, 60}, {700, 60}, {600, 420}, {460, 420}});
                 w.Pen(24, 0x8D6E00);
                 w.Brush(0xFFC107);
                 w.Circle(500, 640, 270);
                 w.Brush(0xFFE082);
                 w.Polygon(Star(500, 650, 170, 70, 5));
               }});
  // 9: transport
  d.push_back(
      {9, "auto", [](EmfWriter& w) {
         w.Pen(24, 0x212121);
         w.Brush(0xE53935);
         w.Polygon({{60, 700}, {60, 520}, {250, 480}, {360, 300}, {680, 300}, {800, 480}, {940, 520}, {940, 700}});
         w.Brush(0xB3E5FC);
         w.Polygon({{400, 340}, {500, 340}, {500, 480}, {300, 480}});
         w.Polygon({{540, 340}, {660, 340}, {740, 480}, {540, 480}});
         w.Brush(0x424242);
         w.Circle(260, 720, 110);
         w.Circle(740, 720, 110);
       }});
  d.push_back({9, "bicicletta", [](EmfWriter& w) {
                 w.Pen(30, 0x263238);
                 w.NoBrush();
                 w.Circle(240, 650, 190);
                 w.Circle(760, 650, 190);
                 w.Pen(30, 0x00897B);
                 w.Polyline({{240, 650}, {420, 380}, {680, 380}, {760, 650}});
                 w.Polyline({{240, 650}, {500, 650}, {680, 380}});
                 w.Polyline({{420, 380}, {500, 650}});
                 w.Polyline({{380, 300}, {480, 300}});
                 w.Polyline({{680, 380}, {650, 250}, {740, 250}});
               }});
  d.push_back({9, "barca", [](EmfWriter& w) {
                 w.Pen(24, 0x3E2723);
                 w.Brush(0x8D6E63);
                 w.Polygon({{80, 640}, {920, 640}, {760, 840}, {240, 840}});
                 w.Brush(0xFFFFFF);
                 w.Polygon({{480, 100}, {480, 600}, {160, 600}});
                 w.Brush(0xFFCC80);
                 w.Polygon({{520, 180}, {520, 600}, {820, 600}});
                 w.Pen(20, 0x1565C0);
                 w.NoBrush();
                 w.Bezier({{40, 920}, {200, 860}, {300, 980}, {500, 920}, {700, 860}, {800, 980}, {960, 920}});
               }});
  d.push_back({9, "aereo", [](EmfWriter& w) {
                 w.Pen(24, 0x263238);
                 w.Brush(0xB0BEC5);
                 w.Polygon({{440, 300}, {560, 300}, {920, 560}, {920, 640}, {440, 560}});
                 w.Polygon({{560, 300}, {440, 300}, {80, 560}, {80, 640}, {560, 560}});
                 w.Brush(0xECEFF1);
                 w.RoundRect(430, 60, 570, 900, 140);
                 w.Brush(0xB0BEC5);
                 w.Polygon({{440, 780}, {560, 780}, {700, 920}, {300, 920}});
               }});
  // 10: office and school
  d.push_back({10, "matita", [](EmfWriter& w) {
                 w.Pen(24, 0x4E342E);
                 w.Brush(0xFFC107);
                 w.Polygon({{700, 100}, {900, 300}, {360, 840}, {160, 640}});
                 w.Brush(0xFFE0B2);
                 w.Polygon({{160, 640}, {360, 840}, {80, 920}});
                 w.Brush(0xF48FB1);
                 w.Polygon({{700, 100}, {780, 20}, {980, 220}, {900, 300}});
               }});
  d.push_back({10, "libro", [](EmfWriter& w) {
                 w.Pen(24, 0x1A237E);
                 w.Brush(0x3949AB);
                 w.Rectangle(180, 100, 820, 900);
                 w.Brush(0xFFFFFF);
                 w.Rectangle(240, 820, 820, 880);
                 w.Brush(0xFFCA28);
                 w.Rectangle(320, 260, 700, 380);
               }});
  d.push_back({10, "busta", [](EmfWriter& w) {
                 w.Pen(24, 0x37474F);
                 w.Brush(0xFFF8E1);
                 w.Rectangle(80, 220, 920, 780);
                 w.NoBrush();
                 w.Polyline({{80, 220}, {500, 540}, {920, 220}});
                 w.Polyline({{80, 780}, {400, 460}});
                 w.Polyline({{920, 780}, {600, 460}});
               }});
  d.push_back({10, "orologio", [](EmfWriter& w) {
                 w.Pen(30, 0x263238);
                 w.Brush(0xFFFFFF);
                 w.Circle(500, 500, 420);
                 for (int i = 0; i < 12; ++i) {
                   const double a = i * M_PI / 6;
                   w.Polyline({{500 + static_cast<int>(std::lround(340 * std::cos(a))),
                                500 + static_cast<int>(std::lround(340 * std::sin(a)))},
                               {500 + static_cast<int>(std::lround(390 * std::cos(a))),
                                500 + static_cast<int>(std::lround(390 * std::sin(a)))}});
                 }
                 w.Pen(40, 0xC62828);
                 w.Polyline({{500, 500}, {500, 220}});
                 w.Polyline({{500, 500}, {700, 580}});
               }});
  return d;
}

}  // namespace

const std::vector<ClipDesign>& ClipArtDesigns() {
  static const std::vector<ClipDesign> designs = Build();
  return designs;
}

}  // namespace pv::artwork
