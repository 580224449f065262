#pragma once
// What the EMF and WMF record readers share: bounded little-endian reads, the
// object table, the mapping of the records' logical coordinates onto the
// target rectangle, the save/restore stack and the clip discipline.

#include "libs/pictor2/dib.h"
#include "platform/dc.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <variant>
#include <vector>

namespace pv::pictor {

// Reads inside one record; out-of-range reads give 0 (callers check sizes
// first, this is the second line).
class RecordView {
 public:
  RecordView(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::size_t size() const { return m_size; }
  const std::uint8_t* data() const { return m_data; }
  bool Has(std::uint64_t offset, std::uint64_t length) const { return offset <= m_size && length <= m_size - offset; }
  std::uint32_t U32(std::size_t off) const {
    std::uint32_t v = 0;
    if (Has(off, 4)) std::memcpy(&v, m_data + off, 4);
    return v;
  }
  std::int32_t I32(std::size_t off) const { return static_cast<std::int32_t>(U32(off)); }
  std::uint16_t U16(std::size_t off) const {
    std::uint16_t v = 0;
    if (Has(off, 2)) std::memcpy(&v, m_data + off, 2);
    return v;
  }
  std::int16_t I16(std::size_t off) const { return static_cast<std::int16_t>(U16(off)); }
  std::uint8_t U8(std::size_t off) const { return Has(off, 1) ? m_data[off] : 0; }
  float F32(std::size_t off) const {
    float v = 0;
    if (Has(off, 4)) std::memcpy(&v, m_data + off, 4);
    return v;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
};

struct Placeholder {};  // a slot taken by an object the player does not draw with
using TableObject = std::variant<std::monostate, Pen, Brush, Font, Placeholder>;

class Player {
 public:
  // frameMap: the records' reference device onto the target, in the
  // context's page units. wmf: the window maps onto the viewport, which is
  // the target; the metafile's own viewport and mapping-mode records are set
  // aside.
  Player(DeviceContext* dc, const QTransform& frameMap, double dpmmX, double dpmmY, bool wmf);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  DeviceContext* dc() const { return m_dc; }

  // The decoded bitmaps of this metafile kept across plays, and where its
  // bytes start (the cache's keys are offsets from there). Without a cache
  // every play decodes anew.
  void UseDibCache(DibCache* cache, const std::uint8_t* start) {
    m_dibs = cache;
    m_start = start;
  }
  // The bitmap stored at `at`, decoded by `decode` unless the cache has it.
  template <class Decode>
  QImage Dib(const std::uint8_t* at, std::uint32_t variant, Decode decode) {
    if (m_dibs == nullptr || m_start == nullptr || at < m_start) return decode();
    const auto offset = static_cast<std::size_t>(at - m_start);
    QImage image = m_dibs->Find(offset, variant);
    if (image.isNull()) {
      image = decode();
      m_dibs->Keep(offset, variant, image);
    }
    return image;
  }
  // False while the mapping is degenerate: drawing records are skipped then.
  bool CanDraw() const { return m_drawable; }

  // Mapping.
  void SetMapMode(int mode);
  void SetWindowOrg(double x, double y);
  void SetWindowExt(double x, double y);
  void SetViewportOrg(double x, double y);
  void SetViewportExt(double x, double y);
  void OffsetWindowOrg(double dx, double dy);
  void OffsetViewportOrg(double dx, double dy);
  void ScaleWindowExt(double xNum, double xDen, double yNum, double yDen);
  void ScaleViewportExt(double xNum, double xDen, double yNum, double yDen);
  void SetWorld(const QTransform& t);
  // The viewport of a Windows metafile: the target rectangle.
  void SetWmfViewport(const Rect& target);
  void ModifyWorld(const QTransform& t, std::uint32_t mode);

  // The state stack of the records (never below the call's own level).
  void Save();
  void Restore(std::int32_t which);

  // Objects.
  void Put(std::uint32_t index, TableObject object);
  // The lowest free slot from 1 (Windows metafiles); the table grows when
  // the file counted its objects short; -1 when it cannot grow further.
  std::int64_t FirstFree() const;
  void SetTableSize(std::size_t size);
  void Select(std::uint32_t index);
  void SelectStock(std::uint32_t index);
  void Delete(std::uint32_t index);
  const Brush* BrushAt(std::uint32_t index) const;

  // A region given in reference device units, as the context's device units.
  Region DeviceRegion(const std::vector<QRectF>& rects) const;
  // After every change of the clip: keep it inside the caller's clip.
  void ClipChanged();

 private:
  struct Mapping {
    int mode = 1;
    QPointF winOrg{0, 0}, winExt{1, 1}, vpOrg{0, 0}, vpExt{1, 1};
    QTransform world;
  };
  void Update();
  QTransform PageToDevice() const;

  DeviceContext* m_dc;
  DibCache* m_dibs = nullptr;
  const std::uint8_t* m_start = nullptr;
  QTransform m_frameMap;
  QTransform m_base;  // the context's world transform at the call
  double m_dpmmX, m_dpmmY;
  bool m_wmf;
  int m_baseDepth = 0;
  Mapping m_map;
  std::vector<Mapping> m_saved;
  std::vector<TableObject> m_objects;
  bool m_hasOuterClip = false;
  Region m_outerClip;
  bool m_drawable = true;
};

// Players of the two kinds; data is padded with at least kPadding zero bytes
// past size, and 4-byte aligned.
inline constexpr std::size_t kPadding = 64;
struct PlayOutcome {
  bool damaged = false;
};
PlayOutcome PlayEmfRecords(DeviceContext* dc, const std::uint8_t* data, std::size_t size, const Rect& target,
                           DibCache* dibs = nullptr);
PlayOutcome PlayWmfRecords(DeviceContext* dc, const std::uint8_t* data, std::size_t size, bool placeable,
                           const Rect& target, DibCache* dibs = nullptr);

Colour ColourAt(const RecordView& r, std::size_t off);

}  // namespace pv::pictor
