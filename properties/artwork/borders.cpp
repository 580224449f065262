#include "properties/artwork/designs.h"

namespace pv::artwork {

namespace {

constexpr int W = kBorderWidth;
constexpr int H = kBorderHeight;

void Corners(EmfWriter& w, int inset, int radius) {
  w.Circle(inset, inset, radius);
  w.Circle(W - inset, inset, radius);
  w.Circle(inset, H - inset, radius);
  w.Circle(W - inset, H - inset, radius);
}

std::vector<BorderDesign> Build() {
  std::vector<BorderDesign> d;
  d.push_back({"semplice", [](EmfWriter& w) {
                 w.Pen(10, 0x000000);
                 w.NoBrush();
                 w.Rectangle(20, 20, W - 20, H - 20);
               }});
  d.push_back({"doppio", [](EmfWriter& w) {
                 w.Pen(10, 0x1A237E);
                 w.NoBrush();
                 w.Rectangle(15, 15, W - 15, H - 15);
                 w.Pen(5, 0x1A237E);
                 w.Rectangle(45, 45, W - 45, H - 45);
               }});
  d.push_back({"arrotondato", [](EmfWriter& w) {
                 w.Pen(12, 0x2E7D32);
                 w.NoBrush();
                 w.RoundRect(20, 20, W - 20, H - 20, 140);
               }});
  d.push_back({"tratteggiato", [](EmfWriter& w) {
                 w.Pen(1, 0x424242, true);
                 w.NoBrush();
                 w.Rectangle(20, 20, W - 20, H - 20);
                 w.Rectangle(30, 30, W - 30, H - 30);
               }});
  d.push_back({"angoli_ornati", [](EmfWriter& w) {
                 w.Pen(6, 0x6D4C41);
                 w.NoBrush();
                 w.Rectangle(40, 40, W - 40, H - 40);
                 w.Brush(0xD7A86E);
                 Corners(w, 40, 30);
                 w.Brush(0xFFFFFF);
                 Corners(w, 40, 12);
               }});
  d.push_back({"doppio_arrotondato", [](EmfWriter& w) {
                 w.Pen(8, 0xAD1457);
                 w.NoBrush();
                 w.RoundRect(15, 15, W - 15, H - 15, 160);
                 w.RoundRect(45, 45, W - 45, H - 45, 110);
               }});
  d.push_back({"spesso", [](EmfWriter& w) {
                 w.Pen(0, 0);
                 w.Brush(0x37474F);
                 w.Rectangle(0, 0, W, 40);
                 w.Rectangle(0, H - 40, W, H);
                 w.Rectangle(0, 0, 40, H);
                 w.Rectangle(W - 40, 0, W, H);
               }});
  d.push_back({"angoli_triangolari", [](EmfWriter& w) {
                 w.Pen(6, 0x0D47A1);
                 w.NoBrush();
                 w.Rectangle(25, 25, W - 25, H - 25);
                 w.Brush(0x64B5F6);
                 w.Polygon({{25, 25}, {145, 25}, {25, 145}});
                 w.Polygon({{W - 25, 25}, {W - 145, 25}, {W - 25, 145}});
                 w.Polygon({{25, H - 25}, {145, H - 25}, {25, H - 145}});
                 w.Polygon({{W - 25, H - 25}, {W - 145, H - 25}, {W - 25, H - 145}});
               }});
  d.push_back({"perline", [](EmfWriter& w) {
                 w.Pen(3, 0x6A1B9A);
                 w.Brush(0xCE93D8);
                 for (int x = 30; x <= W - 30; x += 47) {
                   w.Circle(x, 30, 14);
                   w.Circle(x, H - 30, 14);
                 }
                 for (int y = 77; y <= H - 77; y += 47) {
                   w.Circle(30, y, 14);
                   w.Circle(W - 30, y, 14);
                 }
               }});
  d.push_back({"onde", [](EmfWriter& w) {
                 w.Pen(8, 0x00838F);
                 w.NoBrush();
                 std::vector<Pt> top{{20, 40}}, bottom{{20, H - 40}};
                 for (int x = 20; x < W - 20; x += 80) {
                   top.insert(top.end(), {{x + 20, 10}, {x + 60, 70}, {x + 80, 40}});
                   bottom.insert(bottom.end(), {{x + 20, H - 70}, {x + 60, H - 10}, {x + 80, H - 40}});
                 }
                 w.Bezier(top);
                 w.Bezier(bottom);
                 w.Polyline({{30, 40}, {30, H - 40}});
                 w.Polyline({{W - 30, 40}, {W - 30, H - 40}});
               }});
  return d;
}

}  // namespace

const std::vector<BorderDesign>& BorderDesigns() {
  static const std::vector<BorderDesign> designs = Build();
  return designs;
}

}  // namespace pv::artwork
