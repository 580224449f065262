#pragma once
// Where a barcode object keeps its barcode properties. Besides the six
// options of their own names, a barcode lends four fields that other kinds
// use for their shape, text and colours:
//   FormatIndex  in Aspect        Orientation  in Alignment
//   Reduction    in Color1        Border       in Color2
// Any set of barcode properties with these ten members (the engine's
// BarcodeProperties, the barcode dialog's settings) is read from and written
// to an object record here. A record's Long that goes into a 16-bit member
// is held at the ends of that member's range (a foreign file may hold more).
#include "document/model.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace pv {

template <class To, class From>
To HeldInRange(From v) {
  using Wide = long long;
  return static_cast<To>(std::clamp<Wide>(static_cast<Wide>(v), static_cast<Wide>(std::numeric_limits<To>::min()),
                                          static_cast<Wide>(std::numeric_limits<To>::max())));
}

// Calls f(record field, barcode member) for each of the ten pairs.
template <class Record, class Barcode, class F>
void ForEachBarcodeField(Record& r, Barcode& b, F&& f) {
  f(r.Aspect, b.FormatIndex);
  f(r.Alignment, b.Orientation);
  f(r.Color1, b.Reduction);
  f(r.Color2, b.Border);
  f(r.ShowText, b.ShowText);
  f(r.ShowCheckDigit, b.ShowCheckDigit);
  f(r.ShowMargins, b.ShowMargins);
  f(r.BearerBars, b.BearerBars);
  f(r.ExtraOption1, b.ExtraOption1);
  f(r.ExtraOption2, b.ExtraOption2);
}

template <class Barcode>
void ReadBarcodeRecord(const ObjectRecord& r, Barcode& b) {
  ForEachBarcodeField(r, b, [](const auto& field, auto& member) {
    member = HeldInRange<std::remove_cvref_t<decltype(member)>>(field);
  });
}

template <class Barcode>
void WriteBarcodeRecord(const Barcode& b, ObjectRecord& r) {
  ForEachBarcodeField(
      r, b, [](auto& field, const auto& member) { field = HeldInRange<std::remove_cvref_t<decltype(field)>>(member); });
}

}  // namespace pv
