#pragma once
// Object records for tests and benchmarks, built field by field and put
// straight into the open document's table (no undo snapshot, no painting,
// no host call): a box or a line of a given kind, every other field at its
// empty value for the caller to set.
#include "document/model.h"

#include <cstddef>
#include <cstdint>

namespace pv::test {

// A box object: centre and size in millimetres of the work area (the page
// origin included).
inline ObjectRecord BoxRecord(std::int16_t kind, float cx, float cy, float w, float h) {
  ObjectRecord r{};
  r.GeomType = GeomBox;
  r.UserType = kind;
  r.CenterX = cx;
  r.CenterY = cy;
  r.Width = w;
  r.Height = h;
  return r;
}

// A line object from (x1, y1) to (x2, y2).
inline ObjectRecord LineRecord(float x1, float y1, float x2, float y2) {
  ObjectRecord r{};
  r.GeomType = GeomLine;
  r.UserType = UserTypeLine;
  r.X1 = x1;
  r.Y1 = y1;
  r.X2 = x2;
  r.Y2 = y2;
  return r;
}

// Appends r at the end of the object table. Without a key of its own it
// takes its index in the table.
inline ObjectRecord& AppendRecord(const ObjectRecord& r) {
  ObjCount += 1;
  ObjectRecord& slot = Objects[static_cast<std::size_t>(ObjCount)];
  slot = r;
  if (slot.Key == 0) slot.Key = ObjCount;
  return slot;
}

}  // namespace pv::test
