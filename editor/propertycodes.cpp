#include "editor/propertycodes.h"

#include "platform/decimalreader.h"
#include "platform/runtime.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace pv {

namespace {

using C = PropertyConversion;
using K = PropertyKinds;
using O = ObjectRecord;
using S = DefaultStyleRecord;
constexpr std::monostate kNone{};

constexpr PropertyCodeRow kRows[] = {
    {PropertyCode::Bold, K::AllButBarcode, &O::Bold, &S::Bold, C::Boolean},
    {PropertyCode::Italic, K::AllButBarcode, &O::Italic, &S::Italic, C::Boolean},
    {PropertyCode::Underline, K::AllButBarcode, &O::Underline, &S::Underline, C::Boolean},
    {PropertyCode::StrikeOut, K::AllButBarcode, &O::StrikeOut, &S::StrikeOut, C::Boolean},
    {PropertyCode::AlignLeft, K::AllButBarcode, &O::Alignment, &S::Alignment, C::Alignment, 20},
    {PropertyCode::AlignCentre, K::AllButBarcode, &O::Alignment, &S::Alignment, C::Alignment, 22},
    {PropertyCode::AlignRight, K::AllButBarcode, &O::Alignment, &S::Alignment, C::Alignment, 21},
    {PropertyCode::Justify, K::AllButBarcode, &O::Alignment, &S::Alignment, C::Alignment, 23},
    {PropertyCode::FontName, K::AllButBarcode, &O::FontName, &S::FontName, C::Text},
    {PropertyCode::FontSize, K::AllButBarcode, &O::FontSize, &S::FontSize, C::Integer},
    {PropertyCode::Text, K::TextAndArtText, &O::Content, kNone, C::Text},
    {PropertyCode::FieldName, K::DatabaseField, &O::Content, kNone, C::Text},
    {PropertyCode::PictureOpacity, K::Image, &O::Opacity, kNone, C::Integer},
    {PropertyCode::PictureFile, K::Image, kNone, kNone, C::PictureFile},
    {PropertyCode::LineColor, K::Every, &O::LineColor, &S::LineColor, C::Long},
    {PropertyCode::LineStyle, K::AllButBarcode, &O::LineStyle, &S::LineStyle, C::Long},
    {PropertyCode::ShapeAspect, K::AllButBarcode, &O::Aspect, kNone, C::Long},
    {PropertyCode::FillStyle, K::AllButBarcode, &O::FillStyle, &S::FillStyle, C::Long},
    {PropertyCode::Color1, K::AllButBarcode, &O::Color1, &S::Color1, C::Long},
    {PropertyCode::Color2, K::AllButBarcode, &O::Color2, &S::Color2, C::Long},
    {PropertyCode::Opacity, K::AllButBarcode, &O::Opacity, &S::Opacity, C::Integer},
    {PropertyCode::ArtTextFont, K::ArtText, &O::FontName, kNone, C::Text},
    {PropertyCode::ArtTextShape, K::ArtText, &O::Variant, kNone, C::Integer},
    {PropertyCode::ArtTextFill, K::ArtText, &O::FillStyle, kNone, C::Long},
    {PropertyCode::ArtTextColor1, K::ArtText, &O::Color1, kNone, C::Long},
    {PropertyCode::ArtTextColor2, K::ArtText, &O::Color2, kNone, C::Long},
};

// The alternative of a field variant that holds what the conversion reads
// (the alternative of PropertyData, plus one for the empty field).
constexpr std::size_t FieldIndexOf(PropertyConversion c) {
  switch (c) {
    case C::Boolean:
    case C::Alignment:
    case C::Integer: return 1;
    case C::Long: return 2;
    case C::Text: return 3;
    case C::PictureFile: return 0;
  }
  return 0;
}

// Every field of a row has the type its conversion reads, and the rows are
// in code order.
constexpr bool RowsAreConsistent() {
  std::int16_t last = 0;
  for (const PropertyCodeRow& row : kRows) {
    if (row.code <= last) return false;
    last = row.code;
    const std::size_t index = FieldIndexOf(row.conversion);
    if (row.objectField.index() != 0 && row.objectField.index() != index) return false;
    if (row.styleField.index() != 0 && row.styleField.index() != index) return false;
    if ((row.conversion == C::Alignment) != (row.alignment != 0)) return false;
  }
  return true;
}
static_assert(RowsAreConsistent());

// ---- The runtime's Variant rules -------------------------------------------

// A number, or a numeric text in the user's locale (the plain form is also
// taken). True reads as -1.
std::optional<double> NumberOf(const QVariant& v) {
  const int type = v.typeId();
  if (type == QMetaType::Bool) return v.toBool() ? -1.0 : 0.0;
  if (IsNumericMetaType(type)) {
    const double d = v.toDouble();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
  }
  if (type == QMetaType::QString || type == QMetaType::QByteArray) {
    const QString text = v.toString().trimmed();
    if (text.isEmpty()) return std::nullopt;
    // The program's own reading first ("2,5" and "2.5" alike, never a
    // grouping), whatever Qt's locale; then a C number (an exponent).
    if (const std::optional<double> typed = ReadDecimal(text)) return typed;
    bool ok = false;
    const double d = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
  }
  return std::nullopt;
}

std::optional<bool> BooleanOf(const QVariant& v) {
  if (v.typeId() == QMetaType::Bool) return v.toBool();
  if (v.typeId() == QMetaType::QString) {
    const QString text = v.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  }
  const auto n = NumberOf(v);
  if (!n) return std::nullopt;
  return *n != 0.0;
}

// A whole number of the type convert gives (nearest, halves to even);
// nothing when it does not fit.
template <class T>
std::optional<PropertyData> WholeNumberOf(const QVariant& v, T (*convert)(double, bool*)) {
  const auto n = NumberOf(v);
  if (!n) return std::nullopt;
  bool overflow = false;
  const T r = convert(*n, &overflow);
  if (overflow) return std::nullopt;
  return PropertyData(r);
}

QString StringOf(const QVariant& v) {
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  return v.toString();
}

// ---- Fields -------------------------------------------------------------------

// Writes the value into the field when both hold the same type; a text for
// a fixed-length field is first brought to that length.
template <class Record, class Field>
void WriteField(const Field& field, const PropertyData& value, Record& record, int fixedTextLength) {
  std::visit(
      [&](auto member) {
        if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
          using T = std::remove_reference_t<decltype(record.*member)>;
          const T* v = std::get_if<T>(&value);
          if (v == nullptr) return;
          if constexpr (std::is_same_v<T, QString>) {
            record.*member = fixedTextLength > 0 ? FixedString(*v, fixedTextLength) : *v;
          } else {
            record.*member = *v;
          }
        }
      },
      field);
}

template <class Record, class Field>
QVariant FieldValue(const PropertyCodeRow& row, const Field& field, const Record& record) {
  return std::visit(
      [&](auto member) -> QVariant {
        if constexpr (std::is_same_v<decltype(member), std::monostate>) {
          return {};
        } else {
          const auto& v = record.*member;
          if constexpr (std::is_same_v<std::remove_cvref_t<decltype(v)>, QString>) {
            return QVariant(v);
          } else {
            if (row.conversion == C::Alignment) return QVariant(v == row.alignment);
            return QVariant(static_cast<int>(v));
          }
        }
      },
      field);
}

}  // namespace

std::span<const PropertyCodeRow> PropertyCodes() { return kRows; }

const PropertyCodeRow* FindPropertyCode(std::int16_t code) {
  const auto it = std::ranges::lower_bound(kRows, code, {}, &PropertyCodeRow::code);
  return it != std::ranges::end(kRows) && it->code == code ? &*it : nullptr;
}

bool PropertyReachesKind(const PropertyCodeRow& row, std::int16_t userType) {
  switch (row.kinds) {
    case K::AllButBarcode: return userType != UserTypeBarcode;
    case K::Every: return true;
    case K::TextAndArtText: return userType == UserTypeTextBox || userType == UserTypeArtText;
    case K::DatabaseField: return userType == UserTypeDatabaseField;
    case K::Image: return userType == UserTypeImage;
    case K::ArtText: return userType == UserTypeArtText;
  }
  return false;
}

std::optional<PropertyData> ReadPropertyValue(const PropertyCodeRow& row, const QVariant& value) {
  switch (row.conversion) {
    case C::Boolean: {
      const auto b = BooleanOf(value);
      if (!b) return std::nullopt;
      return PropertyData(ToVbBool(*b));
    }
    case C::Alignment: {
      const auto b = BooleanOf(value);
      if (!b || !*b) return std::nullopt;
      return PropertyData(row.alignment);
    }
    case C::Integer: return WholeNumberOf(value, &CInt);
    case C::Long: return WholeNumberOf(value, &CLng);
    case C::Text:
    case C::PictureFile: return PropertyData(StringOf(value));
  }
  return std::nullopt;
}

void WriteProperty(const PropertyCodeRow& row, const PropertyData& value, ObjectRecord& record) {
  WriteField(row.objectField, value, record, 0);
}

void WriteProperty(const PropertyCodeRow& row, const PropertyData& value, DefaultStyleRecord& style) {
  WriteField(row.styleField, value, style, StyleFontNameLength);
}

QVariant PropertyValue(const PropertyCodeRow& row, const ObjectRecord& record) {
  return FieldValue(row, row.objectField, record);
}

QVariant PropertyValue(const PropertyCodeRow& row, const DefaultStyleRecord& style) {
  return FieldValue(row, row.styleField, style);
}

}  // namespace pv
