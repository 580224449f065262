#include "editor/pickers.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"

namespace pv {

BarcodeSettingsRecord BarcodeSettings;

namespace {

const char* const kPredefinedKeys[] = {"KINTERNAL238547-01", "KINTERNAL238547-02",
                                       "KINTERNAL238547-03"};
constexpr int kPredefinedCaptions[] = {32005, 32006, 32007};

EditorPickers g_defaultPickers;
EditorPickers* g_pickers = &g_defaultPickers;

}  // namespace

FieldPickerAnswer EditorPickers::ShowFieldPicker(const FieldPickerPreset* /*preset*/) { return {}; }
QString EditorPickers::ShowClipArt() { return {}; }
std::int16_t EditorPickers::ShowShapePicker() { return -1; }
QString EditorPickers::ShowBackGround(bool /*bMode*/) { return {}; }
ArrayAnswer EditorPickers::ShowArray() { return {}; }
std::int16_t EditorPickers::ShowCodeBar() { return 0; }

QString EditorPickers::GetPredefinedFieldCaption(QString& key) {
  key = Trim(key);
  for (int i = 0; i < 3; ++i) {
    if (key == QLatin1String(kPredefinedKeys[i])) return LoadResString(kPredefinedCaptions[i]);
  }
  return key;
}

std::int16_t EditorPickers::GetPredefinedFieldCode(QString& key) {
  key = Trim(key);
  for (int i = 0; i < 3; ++i) {
    if (key == QLatin1String(kPredefinedKeys[i])) return static_cast<std::int16_t>(i + 1);
  }
  return 0;
}

EditorPickers& Pickers() { return *g_pickers; }

EditorPickers* SetEditorPickers(EditorPickers* pickers) {
  EditorPickers* previous = g_pickers == &g_defaultPickers ? nullptr : g_pickers;
  g_pickers = pickers ? pickers : &g_defaultPickers;
  return previous;
}

}  // namespace pv
