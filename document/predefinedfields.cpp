#include "document/predefinedfields.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"

namespace pv {

namespace {

constexpr const char* kKeys[] = {kPredefinedCounter, kPredefinedDate, kPredefinedRandom};
constexpr int kCaptions[] = {32005, 32006, 32007};

}  // namespace

int GetPredefinedFieldCode(QString& key) {
  key = Trim(key);
  for (int i = 0; i < 3; ++i) {
    if (key == QLatin1String(kKeys[i])) return i + 1;
  }
  return 0;
}

QString GetPredefinedFieldCaption(QString& key) {
  const int code = GetPredefinedFieldCode(key);
  return code == 0 ? key : LoadResString(kCaptions[code - 1]);
}

QString PredefinedFieldKey(int code) {
  return code >= 1 && code <= 3 ? QString::fromLatin1(kKeys[code - 1]) : QString();
}

QString PredefinedFieldGroupCaption() { return LoadResString(32004); }

}  // namespace pv
