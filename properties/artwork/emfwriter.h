#pragma once
// A small writer of enhanced metafiles over libuemf: pens, brushes and the
// figures the program's metafile player draws, in a logical space of
// width x height units.
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace pv::artwork {

using Pt = std::pair<int, int>;

class EmfWriter {
 public:
  // Starts the file fileName (written as fileName + ".part" until Save).
  EmfWriter(const QString& fileName, int width, int height);
  ~EmfWriter();
  EmfWriter(const EmfWriter&) = delete;
  EmfWriter& operator=(const EmfWriter&) = delete;

  // Colours are 0xRRGGBB. width 0: no outline.
  void Pen(int width, std::uint32_t rgb, bool dashed = false);
  // No fill.
  void NoBrush();
  void Brush(std::uint32_t rgb);

  void Rectangle(int l, int t, int r, int b);
  void RoundRect(int l, int t, int r, int b, int corner);
  void Ellipse(int l, int t, int r, int b);
  void Circle(int cx, int cy, int radius) { Ellipse(cx - radius, cy - radius, cx + radius, cy + radius); }
  void Polygon(const std::vector<Pt>& points);
  void Polyline(const std::vector<Pt>& points);
  // Cubic pieces: start, then three points per piece.
  void Bezier(const std::vector<Pt>& points);

  // Ends the file and puts it in place; false when it cannot be written.
  bool Save();

 private:
  void Add(char* record);
  void Replace(std::uint32_t& slot, char* createRecord, std::uint32_t handle);

  QString m_fileName;
  void* m_et = nullptr;   // libuemf's EMFTRACK
  void* m_eht = nullptr;  // libuemf's EMFHANDLES
  std::uint32_t m_pen = 0;
  std::uint32_t m_brush = 0;
  bool m_saved = false;
};

}  // namespace pv::artwork
