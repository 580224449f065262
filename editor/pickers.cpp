#include "editor/pickers.h"

#include "render/mergefields.h"

namespace pv {

BarcodeSettingsRecord BarcodeSettings;

FieldPickerAnswer EditorPickers::ShowFieldPicker(const FieldPickerPreset* /*preset*/) { return {}; }
QString EditorPickers::ShowClipArt() { return {}; }
std::int16_t EditorPickers::ShowShapePicker() { return -1; }
QString EditorPickers::ShowBackGround(bool /*bMode*/) { return {}; }
ArrayAnswer EditorPickers::ShowArray() { return {}; }
std::int16_t EditorPickers::ShowCodeBar() { return 0; }

QString EditorPickers::GetPredefinedFieldCaption(QString& key) { return PredefinedFieldCaption(key); }
std::int16_t EditorPickers::GetPredefinedFieldCode(QString& key) { return PredefinedFieldCode(key); }

PV_DEFINE_HOST_SLOT(EditorPickers, Wired)
PV_DEFINE_HOST_ACCESSORS(EditorPickers, Pickers, SetEditorPickers)

}  // namespace pv
