#include "properties/artwork/emfwriter.h"

#include <uemf.h>

#include <QFile>

#include <algorithm>

namespace pv::artwork {

namespace {

U_COLORREF Ref(std::uint32_t rgb) { return colorref3_set((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
U_RECTL R(int l, int t, int r, int b) { return rectl_set(point32_set(l, t), point32_set(r, b)); }

std::vector<U_POINT16> Points16(const std::vector<Pt>& points) {
  std::vector<U_POINT16> out;
  out.reserve(points.size());
  for (const auto& [x, y] : points) out.push_back(point16_set(static_cast<int16_t>(x), static_cast<int16_t>(y)));
  return out;
}

U_RECTL Bounds(const std::vector<Pt>& points) {
  int l = 1 << 30, t = 1 << 30, r = -(1 << 30), b = -(1 << 30);
  for (const auto& [x, y] : points) {
    l = std::min(l, x);
    t = std::min(t, y);
    r = std::max(r, x);
    b = std::max(b, y);
  }
  return R(l, t, r, b);
}

}  // namespace

static EMFTRACK* Track(void* p) { return static_cast<EMFTRACK*>(p); }
static EMFHANDLES* Handles(void* p) { return static_cast<EMFHANDLES*>(p); }

EmfWriter::EmfWriter(const QString& fileName, int width, int height) : m_fileName(fileName) {
  EMFTRACK* et = nullptr;
  EMFHANDLES* eht = nullptr;
  emf_start(QFile::encodeName(fileName + QStringLiteral(".part")).constData(), 1 << 16, 1 << 16, &et);
  emf_htable_create(64, 64, &eht);
  m_et = et;
  m_eht = eht;
  // One logical unit a pixel of a 10 pixels/mm device.
  Add(U_EMRHEADER_set(R(0, 0, width - 1, height - 1), R(0, 0, width * 10, height * 10), nullptr, 0, nullptr,
                      sizel_set(1000, 1000), sizel_set(100, 100), 0));
  Pen(1, 0x000000);
  Brush(0xFFFFFF);
}

EmfWriter::~EmfWriter() {
  EMFTRACK* et = Track(m_et);
  EMFHANDLES* eht = Handles(m_eht);
  if (et) {
    if (et->fp) {
      fclose(et->fp);
      et->fp = nullptr;
      QFile::remove(m_fileName + QStringLiteral(".part"));
    }
    emf_free(&et);
  }
  if (eht) emf_htable_free(&eht);
}

void EmfWriter::Add(char* record) {
  if (m_et) emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), Track(m_et), 1);
}

void EmfWriter::Replace(std::uint32_t& slot, char* createRecord, std::uint32_t handle) {
  Add(createRecord);
  Add(selectobject_set(handle, Handles(m_eht)));
  if (slot != 0) Add(deleteobject_set(&slot, Handles(m_eht)));
  slot = handle;
}

void EmfWriter::Pen(int width, std::uint32_t rgb, bool dashed) {
  std::uint32_t ih = 0;
  const std::uint32_t style = width == 0 ? U_PS_NULL : (dashed ? U_PS_DASH : U_PS_SOLID);
  char* rec = createpen_set(&ih, Handles(m_eht), logpen_set(style, point_set(std::max(width, 1), 0), Ref(rgb)));
  Replace(m_pen, rec, ih);
}

void EmfWriter::NoBrush() {
  std::uint32_t ih = 0;
  char* rec = createbrushindirect_set(&ih, Handles(m_eht), logbrush_set(U_BS_NULL, Ref(0), 0));
  Replace(m_brush, rec, ih);
}

void EmfWriter::Brush(std::uint32_t rgb) {
  std::uint32_t ih = 0;
  char* rec = createbrushindirect_set(&ih, Handles(m_eht), logbrush_set(U_BS_SOLID, Ref(rgb), 0));
  Replace(m_brush, rec, ih);
}

void EmfWriter::Rectangle(int l, int t, int r, int b) { Add(U_EMRRECTANGLE_set(R(l, t, r, b))); }

void EmfWriter::RoundRect(int l, int t, int r, int b, int corner) {
  Add(U_EMRROUNDRECT_set(R(l, t, r, b), sizel_set(corner, corner)));
}

void EmfWriter::Ellipse(int l, int t, int r, int b) { Add(U_EMRELLIPSE_set(R(l, t, r, b))); }

void EmfWriter::Polygon(const std::vector<Pt>& points) {
  const std::vector<U_POINT16> p = Points16(points);
  Add(U_EMRPOLYGON16_set(Bounds(points), static_cast<uint32_t>(p.size()), p.data()));
}

void EmfWriter::Polyline(const std::vector<Pt>& points) {
  const std::vector<U_POINT16> p = Points16(points);
  Add(U_EMRPOLYLINE16_set(Bounds(points), static_cast<uint32_t>(p.size()), p.data()));
}

void EmfWriter::Bezier(const std::vector<Pt>& points) {
  const std::vector<U_POINT16> p = Points16(points);
  Add(U_EMRPOLYBEZIER16_set(Bounds(points), static_cast<uint32_t>(p.size()), p.data()));
}

bool EmfWriter::Save() {
  EMFTRACK* et = Track(m_et);
  if (m_saved || !et || !et->fp) return false;
  m_saved = true;
  if (m_pen) Add(deleteobject_set(&m_pen, Handles(m_eht)));
  if (m_brush) Add(deleteobject_set(&m_brush, Handles(m_eht)));
  Add(U_EMREOF_set(0, nullptr, et));
  // Writes the records and closes the file.
  const int rc = emf_finish(et, Handles(m_eht));
  if (et->fp) {
    fclose(et->fp);
    et->fp = nullptr;
  }
  const QString temp = m_fileName + QStringLiteral(".part");
  if (rc != 0) {
    QFile::remove(temp);
    return false;
  }
  QFile::remove(m_fileName);
  return QFile::rename(temp, m_fileName);
}

}  // namespace pv::artwork
