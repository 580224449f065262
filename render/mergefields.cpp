#include "render/mergefields.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <array>

namespace pv {

namespace {
constexpr std::array<const char*, 3> kKeys = {PredefinedCounterKey, PredefinedDateKey, PredefinedRandomKey};
constexpr std::array<int, 3> kCaptions = {32005, 32006, 32007};
}  // namespace

std::int16_t PredefinedFieldCode(QString& key) {
  key = Trim(key);
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    if (key == QLatin1String(kKeys[i])) return static_cast<std::int16_t>(i + 1);
  }
  return 0;
}

QString PredefinedFieldCaption(QString& key) {
  const std::int16_t code = PredefinedFieldCode(key);
  return code == 0 ? key : LoadResString(kCaptions[static_cast<std::size_t>(code - 1)]);
}

}  // namespace pv
