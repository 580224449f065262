#include "datasources/process/protocol.h"

#include "platform/exactdecimal.h"

#include <QDate>
#include <QDateTime>

#include <limits>

namespace pv::readerprotocol {

namespace {

constexpr std::int64_t kInvalid = std::numeric_limits<std::int64_t>::min();
constexpr std::uint32_t kNullText = 0xffffffff;

}  // namespace

void FrameWriter::Begin(Frame kind) {
  m_begun = m_size;
  U32(0);
  U8(static_cast<std::uint8_t>(kind));
}

void FrameWriter::End() {
  const auto body = static_cast<std::uint32_t>(m_size - m_begun - kHeaderSize);
  std::memcpy(m_bytes.data() + m_begun, &body, sizeof body);
}

void FrameWriter::Text(QStringView text) {
  // A null text (a field with nothing, for some readers) stays null.
  if (text.isNull()) {
    U32(kNullText);
    return;
  }
  const auto units = static_cast<std::uint32_t>(text.size());
  U32(units);
  Raw(text.utf16(), static_cast<std::size_t>(units) * sizeof(char16_t));
}

void FrameWriter::Value(const QVariant& value) {
  // The common kinds straight from the variant, without its conversions.
  const void* data = value.constData();
  switch (value.typeId()) {
    case QMetaType::UnknownType: U8(static_cast<std::uint8_t>(ValueTag::Null)); return;
    case QMetaType::LongLong:
      U8(static_cast<std::uint8_t>(ValueTag::Int64));
      I64(*static_cast<const qlonglong*>(data));
      return;
    case QMetaType::Int:
    case QMetaType::UInt:
      U8(static_cast<std::uint8_t>(ValueTag::Int64));
      I64(value.toLongLong());
      return;
    case QMetaType::Double:
      U8(static_cast<std::uint8_t>(ValueTag::Double));
      F64(*static_cast<const double*>(data));
      return;
    case QMetaType::Float:
      U8(static_cast<std::uint8_t>(ValueTag::Double));
      F64(value.toDouble());
      return;
    case QMetaType::Bool:
      U8(static_cast<std::uint8_t>(*static_cast<const bool*>(data) ? ValueTag::True : ValueTag::False));
      return;
    case QMetaType::QDate: {
      const QDate& date = *static_cast<const QDate*>(data);
      U8(static_cast<std::uint8_t>(ValueTag::Date));
      I64(date.isValid() ? date.toJulianDay() : kInvalid);
      return;
    }
    case QMetaType::QDateTime: {
      const QDateTime& when = *static_cast<const QDateTime*>(data);
      U8(static_cast<std::uint8_t>(ValueTag::DateTime));
      I64(when.isValid() ? when.toMSecsSinceEpoch() : kInvalid);
      return;
    }
    case QMetaType::QString:
      U8(static_cast<std::uint8_t>(ValueTag::Text));
      Text(*static_cast<const QString*>(data));
      return;
    default:
      if (const ExactDecimal* decimal = AsExactDecimal(value)) {
        U8(static_cast<std::uint8_t>(ValueTag::Decimal));
        Text(decimal->Text());
        return;
      }
      // Readers give only the kinds above; anything else goes as its text.
      U8(static_cast<std::uint8_t>(ValueTag::Text));
      Text(value.toString());
      return;
  }
}

void FrameWriter::Columns(const std::vector<SourceColumn>& columns) {
  U32(static_cast<std::uint32_t>(columns.size()));
  for (const SourceColumn& column : columns) {
    Text(column.name);
    U8(static_cast<std::uint8_t>(column.type));
  }
}

void FrameWriter::Error(const DbError& error) {
  Begin(Frame::Error);
  I64(error.Number());
  Text(error.Description());
  End();
}

QString BodyReader::Text() {
  const std::uint32_t units = U32();
  if (units == kNullText) return {};
  const std::size_t bytes = static_cast<std::size_t>(units) * sizeof(char16_t);
  Need(bytes);
  if (units == 0) return QStringLiteral("");  // empty, not null
  QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
  std::memcpy(text.data(), m_p, bytes);
  m_p += bytes;
  return text;
}

QVariant BodyReader::Value() {
  switch (static_cast<ValueTag>(U8())) {
    case ValueTag::Null: return {};
    case ValueTag::Int64: return QVariant(static_cast<qint64>(I64()));
    case ValueTag::Double: return QVariant(F64());
    case ValueTag::Text: return QVariant(Text());
    case ValueTag::Date: {
      const std::int64_t day = I64();
      return QVariant(day == kInvalid ? QDate() : QDate::fromJulianDay(day));
    }
    case ValueTag::DateTime: {
      const std::int64_t ms = I64();
      return QVariant(ms == kInvalid ? QDateTime() : QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
    }
    case ValueTag::False: return QVariant(false);
    case ValueTag::True: return QVariant(true);
    case ValueTag::Decimal: {
      // Only a canonical text is an exact decimal: anything else is damage.
      const QString text = Text();
      const auto decimal = ExactDecimal::FromText(text);
      if (!decimal || decimal->Text() != text) throw BadStream{};
      return QVariant::fromValue(*decimal);
    }
  }
  throw BadStream{};
}

std::vector<SourceColumn> BodyReader::Columns() {
  const std::uint32_t count = U32();
  // Each column takes at least five bytes: no count beyond what is there.
  if (count > Left() / 5) throw BadStream{};
  std::vector<SourceColumn> columns;
  columns.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    SourceColumn column;
    column.name = Text();
    const std::uint8_t type = U8();
    if (type > static_cast<std::uint8_t>(ColumnType::Decimal)) throw BadStream{};
    column.type = static_cast<ColumnType>(type);
    columns.push_back(std::move(column));
  }
  return columns;
}

}  // namespace pv::readerprotocol
