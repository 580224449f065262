#include "libs/pictor2/metafile.h"

#include "libs/pictor2/player.h"

#include <cstring>
#include <vector>

namespace pv::pictor {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;  // bytes D7 CD C6 9A

bool StandardHeaderAt(const RecordView& r, std::size_t off) {
  if (!r.Has(off, 18)) return false;
  const std::uint16_t type = r.U16(off);
  const std::uint16_t words = r.U16(off + 2);
  const std::uint16_t version = r.U16(off + 4);
  return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

}  // namespace

MetafileKind DetectMetafile(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) return MetafileKind::None;
  if (ReadEmfFrame(data, size)) return MetafileKind::Enhanced;
  const RecordView r(data, size);
  // Only a file that starts with the placeable key has the 22-byte header
  // in front; any other Windows metafile starts with its standard header.
  if (r.U32(0) == kPlaceableKey) return StandardHeaderAt(r, 22) ? MetafileKind::Placeable : MetafileKind::None;
  return StandardHeaderAt(r, 0) ? MetafileKind::Standard : MetafileKind::None;
}

PlayResult PlayMetafile(DeviceContext* dc, const std::uint8_t* data, std::size_t size, const Rect& target,
                        DibCache* dibs) {
  if (dc == nullptr) return PlayResult::NotMetafile;
  const MetafileKind kind = DetectMetafile(data, size);
  if (kind == MetafileKind::None) return PlayResult::NotMetafile;

  // An aligned copy with zeros past the end: every read is bounded by the
  // records' sizes, and the padding keeps even a reader that looks one field
  // ahead inside memory we own.
  std::vector<std::uint32_t> buffer((size + kPadding + 3) / 4, 0);
  std::memcpy(buffer.data(), data, size);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.data());

  // The picture maps onto the target in the context's device units (through
  // its world transform); the caller's mapping comes back afterwards.
  const int level = SaveDC(dc);
  SetMapMode(dc, MapMode::Text);
  SetWindowOrg(dc, 0, 0);
  SetViewportOrg(dc, 0, 0);
  PlayOutcome outcome;
  if (kind == MetafileKind::Enhanced)
    outcome = PlayEmfRecords(dc, bytes, size, target, dibs);
  else
    outcome = PlayWmfRecords(dc, bytes, size, kind == MetafileKind::Placeable, target, dibs);
  RestoreDC(dc, level);
  return outcome.damaged ? PlayResult::Damaged : PlayResult::Played;
}

}  // namespace pv::pictor
