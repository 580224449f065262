#include "editor/pickers.h"

#include "document/predefinedfields.h"

namespace pv {

BarcodeSettingsRecord BarcodeSettings;

FieldPickerAnswer EditorPickers::ShowFieldPicker(const FieldPickerPreset* /*preset*/) { return {}; }
QString EditorPickers::ShowClipArt() { return {}; }
std::int16_t EditorPickers::ShowShapePicker() { return -1; }
QString EditorPickers::ShowBackGround(bool /*bMode*/) { return {}; }
ArrayAnswer EditorPickers::ShowArray() { return {}; }
std::int16_t EditorPickers::ShowCodeBar() { return 0; }

QString EditorPickers::GetPredefinedFieldCaption(QString& key) { return pv::GetPredefinedFieldCaption(key); }
std::int16_t EditorPickers::GetPredefinedFieldCode(QString& key) {
  return static_cast<std::int16_t>(pv::GetPredefinedFieldCode(key));
}

PV_DEFINE_HOST_SLOT(EditorPickers, Wired)
PV_DEFINE_HOST_ACCESSORS(EditorPickers, Pickers, SetEditorPickers)

}  // namespace pv
