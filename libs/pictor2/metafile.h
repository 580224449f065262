#pragma once
// The metafile player of Pictor2: enhanced metafiles (.emf; EMF+ dual files by
// their EMF records) and Windows metafiles (.wmf, with or without the
// placeable header), parsed from memory and drawn record by record through
// the device context. A record the player does not know is skipped. A damaged
// file (truncated, a record running past the end or shorter than its
// structure, a count that does not fit) draws what it validly holds and
// reports Damaged.

#include "platform/dc.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pv::pictor {

class DibCache;

enum class MetafileKind { None, Enhanced, Placeable, Standard };

enum class PlayResult {
  Played,       // every record was read; the picture is drawn
  NotMetafile,  // neither kind of metafile: nothing drawn
  Damaged,      // drawn as far as the records could be read
};

// The kind of metafile the bytes hold, by its header.
MetafileKind DetectMetafile(const std::uint8_t* data, std::size_t size);

// The frame of an enhanced metafile in 0.01 mm, as stored in its header;
// nothing when the bytes are not an EMF.
std::optional<Rect> ReadEmfFrame(const std::uint8_t* data, std::size_t size);

// Plays the metafile stretched into target. target is taken in the context's
// device units, through its world transform (the context's window and
// viewport mapping are set aside for the call). An enhanced metafile's frame
// maps onto target; a Windows metafile's window (its own window origin and
// extent records, else its placeable box) maps onto target. Everything the
// records change in the context is undone before the call returns, and the
// picture never draws outside the clip the context had.
// dibs, when given, keeps the decoded bitmaps of these bytes across plays
// (the same bytes every time).
PlayResult PlayMetafile(DeviceContext* dc, const std::uint8_t* data, std::size_t size, const Rect& target,
                        DibCache* dibs = nullptr);

}  // namespace pv::pictor
