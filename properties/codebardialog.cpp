#include "properties/codebardialog.h"

#include "platform/decimalreader.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"
#include "render/barcode.h"

#include <cmath>
#include <optional>

namespace pv {

CodeBarDialogModel::CodeBarDialogModel(FormatNames names) {
  if (!names) names = [](int i) { return BarcodeFormatName(i); };
  for (int i = 0; i < CodeBarMaxFormats; ++i) {
    const QString name = names(i);
    if (name.isEmpty()) break;
    Formats << name;
  }
  for (int s = 31002; s <= 31005; ++s) Orientations << LoadResString(s);
  SelectSource(0);
}

void CodeBarDialogModel::SetData(const BarcodeSettingsRecord& s) {
  OrientationIndex = s.Orientation >= 0 && s.Orientation < Orientations.size() ? s.Orientation : 0;
  FormatIndex = s.FormatIndex >= 0 && s.FormatIndex < Formats.size() ? s.FormatIndex : -1;
  Checks = {s.ShowText, s.ShowCheckDigit, s.ShowMargins, s.BearerBars, s.ExtraOption1, s.ExtraOption2};
  NumberText[0] = QString::number(s.Reduction);
  NumberText[1] = QString::number(s.Border);
  ContentText = s.FixedText;
  FieldFormat = s.FieldFormatText;
  SelectSource(s.ContentSource != 0 ? 1 : 0);
}

void CodeBarDialogModel::SelectSource(int source) {
  Source = source != 0 ? 1 : 0;
  ContentEnabled = Source == 0;
  FieldButtonEnabled = Source == 1;
}

void CodeBarDialogModel::ClickField() {
  FieldPickerPreset preset;
  preset.FieldName = ContentText;
  preset.NameText = ContentText;
  preset.FieldFormat = FieldFormat;
  preset.FormatText = FieldFormat;
  const FieldPickerAnswer answer = Pickers().ShowFieldPicker(&preset);
  if (answer.FieldName.isEmpty()) return;
  ContentText = answer.FieldName;
  FieldFormat = answer.FieldFormat;
}

int CodeBarDialogModel::Check(BarcodeSettingsRecord& out, int& box) const {
  std::array<std::int16_t, 2> numbers{};
  for (std::size_t i = 0; i < 2; ++i) {
    box = static_cast<int>(i);
    const std::optional<double> v = ReadDecimal(NumberText[i]);
    if (!v) return 15101;
    // Fractions go to the nearest whole number, halves to the even one.
    const double whole = std::nearbyint(*v);
    if (whole < -32768.0 || whole > 32767.0) return 15102;
    numbers[i] = static_cast<std::int16_t>(whole);
  }
  box = -1;
  out.Orientation = static_cast<std::int16_t>(OrientationIndex);
  out.FormatIndex = static_cast<std::int16_t>(FormatIndex);
  out.ShowText = Checks[0];
  out.ShowCheckDigit = Checks[1];
  out.ShowMargins = Checks[2];
  out.BearerBars = Checks[3];
  out.ExtraOption1 = Checks[4];
  out.ExtraOption2 = Checks[5];
  out.Reduction = numbers[0];
  out.Border = numbers[1];
  out.FixedText = ContentText;
  out.FieldFormatText = FieldFormat;
  out.ContentSource = static_cast<std::int16_t>(Source);
  return 0;
}

bool CodeBarDialogModel::Ok() {
  BarcodeSettingsRecord values = BarcodeSettings;
  int box = -1;
  const int message = Check(values, box);
  FocusBox = box;
  if (message != 0) {
    MsgBoxRes(message, MsgIcon::Information);
    return false;
  }
  BarcodeSettings = values;
  RetCode = -1;
  return true;
}

}  // namespace pv
