#pragma once
// The values of the merge fields on the labels the engine draws, and what
// they read besides the record: the clock of the date field and the
// generator of the random number field. The program runs on the system clock
// and one generator seeded once per process; tests set a clock and a seed.

#include "render/fieldsource.h"

#include <QDateTime>

#include <cstdint>
#include <functional>

namespace pv {

class SourceRecordset;

// The field values of the labels of one print job or preview page: made
// once, with the merge source (nullptr without merge) and the field-code
// settings; the page drawing names each label before drawing it. A
// predefined field gives its value (counter, date, random number), a column
// the merge source's current record through the format.
class RecordFields final : public FieldSource {
 public:
  // showCodes: PRINTFIELDCODE, every column field shows its name.
  // codesIfNull: PRINTFIELDCODEIFNULL, an empty column value shows the name.
  RecordFields(const SourceRecordset* records, bool showCodes, bool codesIfNull);

  // The label being drawn: its running index in the run (the counter
  // field's). Its record is the merge source's current one.
  void SetLabel(std::int32_t labelIndex) { m_LabelIndex = labelIndex; }

  QString Value(const QString& field, const QString& formatText) const override;

 private:
  const SourceRecordset* m_Records;
  bool m_ShowCodes;
  bool m_CodesIfNull;
  std::int32_t m_LabelIndex = 0;
};

using MergeClock = std::function<QDateTime()>;

// The clock the date field reads for every label; an empty one is the
// system clock. Returns the previous one.
MergeClock SetMergeClock(MergeClock clock);

// Starts the random number field's generator again from `seed`.
void SeedMergeRandom(std::uint64_t seed);

}  // namespace pv
