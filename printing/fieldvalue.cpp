// The text of one merge field on the label being drawn.
#include "printing/fieldvalue.h"

#include "core/nulltodefault.h"
#include "core/settings.h"
#include "document/predefinedfields.h"
#include "datasources/sourcerecordset.h"
#include "platform/format.h"
#include "platform/format_counter.h"
#include "printing/engine.h"

#include <cmath>
#include <exception>
#include <random>

namespace pv {
namespace {

MergeClock& Clock() {
  static MergeClock clock;
  return clock;
}

std::mt19937_64& Generator() {
  static std::mt19937_64 generator{std::random_device{}()};
  return generator;
}

// The next value of the uniform generator in [0, 1).
double NextUniform() { return double(Generator()() >> 11) * 0x1.0p-53; }

QString PredefinedValue(const QString& key, const QString& format, std::int32_t labelIndex) {
  if (key == QLatin1String(kPredefinedCounter)) return CounterValue(format, labelIndex);
  if (key == QLatin1String(kPredefinedDate)) {
    const MergeClock& clock = Clock();
    return Format(clock ? clock() : QDateTime::currentDateTime(), format);
  }
  if (key == QLatin1String(kPredefinedRandom)) {
    return Format(static_cast<qint64>(std::floor(NextUniform() * 1000000000.0 + 1.0)), format);
  }
  return {};
}

// The current record's column through the format; empty when there is no
// such column or no current record.
QString ColumnValue(const SourceRecordset& rs, const QString& column, const QString& format) {
  const int index = rs.FieldIndex(column);
  if (index < 0 || rs.Position() < 0) return {};
  try {
    const QVariant value = rs.Value(index);
    return format.isEmpty() ? NullToDefault(Format(value, QString()), QString()) : Format(value, format);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

MergeClock SetMergeClock(MergeClock clock) {
  MergeClock previous = std::move(Clock());
  Clock() = std::move(clock);
  return previous;
}

void SeedMergeRandom(std::uint64_t seed) { Generator().seed(seed); }

RecordFields::RecordFields(const SourceRecordset* records, bool showCodes, bool codesIfNull)
    : m_Records(records), m_ShowCodes(showCodes), m_CodesIfNull(codesIfNull) {}

QString RecordFields::Value(const QString& field, const QString& formatText) const {
  try {
    if (field.contains(QLatin1String(kPredefinedFieldPrefix))) {
      return PredefinedValue(field, formatText, m_LabelIndex);
    }
    if (m_ShowCodes) return field;
    if (m_Records == nullptr) return {};
    const QString value = ColumnValue(*m_Records, field, formatText);
    return value.isEmpty() && m_CodesIfNull ? field : value;
  } catch (...) {
    return {};
  }
}

RecordFields PrintEngine::FieldValues() const {
  const Settings& s = ProgramSettings();
  return RecordFields(Merging() ? m_mergeSource.get() : nullptr, IsTrue(s.PrintFieldCode),
                      IsTrue(s.PrintFieldCodeIfNull));
}

}  // namespace pv
