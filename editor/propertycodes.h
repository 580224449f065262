#pragma once
// The property codes as one table: for every code the object kinds it
// reaches, the object field and the current-style field it writes and how
// its value is read. The editor's Apply walks this table to write a value;
// the property windows read the same rows to show an object's (or the
// style's) value under the code they send back.
#include "document/model.h"
#include "editor/style.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

namespace pv {

namespace PropertyCode {
enum : std::int16_t {
  EndOfBatch = 0,
  Bold = 100,
  Italic = 101,
  Underline = 102,
  StrikeOut = 103,  // text format
  AlignLeft = 110,
  AlignCentre = 111,
  AlignRight = 112,
  Justify = 113,  // the alignment codes 20, 22, 21, 23
  FontName = 114,
  FontSize = 115,
  Text = 200,
  FieldName = 201,  // text content
  PictureOpacity = 301,
  PictureFile = 302,  // pictures
  LineColor = 401,
  LineStyle = 402,
  ShapeAspect = 403,  // lines and borders
  FillStyle = 500,
  Color1 = 501,
  Color2 = 502,
  Opacity = 503,  // fill
  ArtTextFont = 601,
  ArtTextShape = 602,
  ArtTextFill = 603,
  ArtTextColor1 = 604,
  ArtTextColor2 = 605,  // art text
};
}  // namespace PropertyCode

// How a code reads its value, by the rules of the runtime's Variant.
enum class PropertyConversion {
  Boolean,      // non-zero (or "True") is True; kept as an Integer Boolean, -1 or 0
  Alignment,    // a Boolean: True keeps the row's alignment code, False changes nothing
  Integer,      // a number or a numeric text, to the nearest whole number, 16 bits
  Long,         // the same, 32 bits
  Text,         // the value's text
  PictureFile,  // a file path: the picture of the first selected image is replaced
};

// The object kinds a code writes.
enum class PropertyKinds {
  AllButBarcode,
  Every,
  TextAndArtText,  // text boxes and art text
  DatabaseField,
  Image,
  ArtText,
};

using PropertyObjectField =
    std::variant<std::monostate, std::int16_t ObjectRecord::*, std::int32_t ObjectRecord::*, QString ObjectRecord::*>;
using PropertyStyleField = std::variant<std::monostate, std::int16_t DefaultStyleRecord::*,
                                        std::int32_t DefaultStyleRecord::*, QString DefaultStyleRecord::*>;

struct PropertyCodeRow {
  std::int16_t code = 0;
  PropertyKinds kinds = PropertyKinds::AllButBarcode;
  PropertyObjectField objectField;  // none: the code writes no object field
  PropertyStyleField styleField;    // none: the code never writes the style
  PropertyConversion conversion = PropertyConversion::Text;
  std::int16_t alignment = 0;  // Alignment conversion: the code kept for True
};

// Every code that writes something, in code order. The end of a batch and
// any unknown code are not in the table: they change nothing.
std::span<const PropertyCodeRow> PropertyCodes();
// The row of a code; nothing for a code that changes nothing.
const PropertyCodeRow* FindPropertyCode(std::int16_t code);

// Whether the code writes objects of this kind.
bool PropertyReachesKind(const PropertyCodeRow& row, std::int16_t userType);

// A value read for a row: an Integer (Booleans and alignment codes
// included), a Long or a text.
using PropertyData = std::variant<std::int16_t, std::int32_t, QString>;

// The value as the row keeps it; nothing when it cannot be read as the
// field's type (or is a False alignment option, or a picture file).
std::optional<PropertyData> ReadPropertyValue(const PropertyCodeRow& row, const QVariant& value);

// Writes a value read for the row into the object's field, or into the
// style's field (the style's font name is kept at its fixed 32 characters).
// Rows without that field write nothing.
void WriteProperty(const PropertyCodeRow& row, const PropertyData& value, ObjectRecord& record);
void WriteProperty(const PropertyCodeRow& row, const PropertyData& value, DefaultStyleRecord& style);

// What a window shows for the code: the field as an int or a text; for an
// alignment code whether the field holds the code's alignment. An invalid
// QVariant for a row without that field.
QVariant PropertyValue(const PropertyCodeRow& row, const ObjectRecord& record);
QVariant PropertyValue(const PropertyCodeRow& row, const DefaultStyleRecord& style);

}  // namespace pv
