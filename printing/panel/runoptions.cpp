#include "printing/panel/runoptions.h"

#include "core/settings.h"
#include "platform/decimalreader.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "printing/engine.h"

#include <cmath>

namespace pv {
namespace {

constexpr int kMsgCount = 15028;
constexpr int kMsgFirst = 15029;
constexpr int kMsgLast = 15030;

// Nearest whole number, halves to even (the current rounding mode of the
// program is the default one).
std::int32_t HalfEven(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

// A number after its message, with one leading blank.
QString Appended(double v) { return QStringLiteral(" ") + QString::number(v); }

}  // namespace

std::int32_t WholeLabelsPerPage(double labelsPerPage) { return HalfEven(labelsPerPage); }

std::optional<OptionRefusal> CheckOptionBoxes(const OptionBoxes& boxes, double labelsPerPage) {
  const std::optional<double> count = ReadDecimal(boxes.Count);
  const std::optional<double> first = ReadDecimal(boxes.First);
  const std::optional<double> last = ReadDecimal(boxes.Last);
  const QString perPage = Appended(labelsPerPage);
  if (!count) return OptionRefusal{0, LoadResString(kMsgCount)};
  if (!first) return OptionRefusal{1, LoadResString(kMsgFirst) + perPage};
  if (!last) return OptionRefusal{2, LoadResString(kMsgLast) + perPage};
  if (*count < 1 || *count > 1000) return OptionRefusal{0, LoadResString(kMsgCount)};
  if (*first < 1 || *first > labelsPerPage) return OptionRefusal{1, LoadResString(kMsgFirst) + perPage};
  if (*last < 1 || *last > labelsPerPage) return OptionRefusal{2, LoadResString(kMsgLast) + perPage};
  return std::nullopt;
}

bool StoreOptionBoxes(const OptionBoxes& boxes, double labelsPerPage, bool printArchive, bool merging) {
  // The values tested are the values stored: each within its checked range.
  PrintEngine& engine = PrintRun();
  PrintRunValues run = engine.Run();
  run.m_PageCount = HalfEven(ReadDecimal(boxes.Count).value_or(1));
  run.m_FirstLabel = HalfEven(ReadDecimal(boxes.First).value_or(1));
  run.m_LastLabel = HalfEven(ReadDecimal(boxes.Last).value_or(1));
  run.m_RangePages = boxes.RangePages;
  run.m_CountMode = boxes.CountMode;
  ProgramSettings().PrintStopPage = ToVbBool(boxes.StopPage);

  const std::int32_t perPage = WholeLabelsPerPage(labelsPerPage);
  const bool converted = run.m_CountMode == 1;
  // Only a count the user typed as pages is read as labels: a count that is
  // already the result of a conversion, or of the merge source's records,
  // stays as it is.
  if (converted || (printArchive && !merging)) run.SetToLabels(run.m_PageCount, perPage);
  engine.SetRun(run);
  engine.SetPageNumber(1);
  return converted;
}

}  // namespace pv
