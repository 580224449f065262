#pragma once
// The editor's pickers: the merge-field picker of the data sources, and
// this subsystem's shapes, clip-art, backgrounds and borders, series copy,
// barcode properties. Each call shows its window modally and reads it. The
// composition root installs one for the life of the program.
#include "editor/pickers.h"

namespace pv {

class PropertyPickers : public EditorPickers {
 public:
  FieldPickerAnswer ShowFieldPicker(const FieldPickerPreset* preset) override;
  QString ShowClipArt() override;
  std::int16_t ShowShapePicker() override;
  QString ShowBackGround(bool bMode) override;
  ArrayAnswer ShowArray() override;
  std::int16_t ShowCodeBar() override;
};

}  // namespace pv
