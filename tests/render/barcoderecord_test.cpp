// The barcode properties a barcode object keeps in its record, read into the
// engine's 32-bit properties and into a set of 16-bit ones, and written back.
#include "render/barcode.h"
#include "render/barcoderecord.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The barcode dialog's kind of set: every member 16 bits wide.
struct NarrowSet {
  std::int16_t FormatIndex = 0, Orientation = 0, Reduction = 0, Border = 0;
  std::int16_t ShowText = 0, ShowCheckDigit = 0, ShowMargins = 0, BearerBars = 0, ExtraOption1 = 0, ExtraOption2 = 0;
  bool operator==(const NarrowSet&) const = default;
};

pv::ObjectRecord Barcode(std::int32_t aspect, std::int32_t color1, std::int32_t color2) {
  return {.UserType = pv::UserTypeBarcode,
          .Content = {},
          .FontName = {},
          .Alignment = 3,
          .Color1 = color1,
          .Color2 = color2,
          .Aspect = aspect,
          .FormatText = {},
          .ExtraOption1 = 5,
          .ExtraOption2 = 6,
          .ShowMargins = 3,
          .BearerBars = 4,
          .ShowCheckDigit = 2,
          .ShowText = 1};
}

TEST(BarcodeRecord, EachPropertyHasItsFieldAndComesBack) {
  const pv::ObjectRecord r = Barcode(12, 15, 8);
  NarrowSet s;
  pv::ReadBarcodeRecord(r, s);
  EXPECT_EQ(s, (NarrowSet{12, 3, 15, 8, 1, 2, 3, 4, 5, 6}));

  pv::ObjectRecord back;
  back.Content = QStringLiteral("kept");
  pv::WriteBarcodeRecord(s, back);
  pv::ObjectRecord expected = r;
  expected.UserType = 0;
  expected.Content = QStringLiteral("kept");
  EXPECT_EQ(back, expected);
}

TEST(BarcodeRecord, LongsReachTheEngineWholeAndAreHeldAtTheEndsOfSixteenBits) {
  const pv::ObjectRecord r = Barcode(70000, -70000, 2147483647);
  pv::BarcodeProperties wide;
  pv::ReadBarcodeRecord(r, wide);
  EXPECT_EQ(wide.FormatIndex, 70000);
  EXPECT_EQ(wide.Reduction, -70000);
  EXPECT_EQ(wide.Border, 2147483647);
  NarrowSet narrow;
  pv::ReadBarcodeRecord(r, narrow);
  EXPECT_EQ(narrow.FormatIndex, 32767);
  EXPECT_EQ(narrow.Reduction, -32768);
  EXPECT_EQ(narrow.Border, 32767);
}

}  // namespace
