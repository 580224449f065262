#pragma once
// The modal pickers and dialogs the editor shows (the merge-field picker,
// clip-art, generic shapes, backgrounds and borders, series copies, barcode
// properties), the barcode dialog's record, and the two look-ups of the
// predefined merge fields. Each dialog is reached through one call that
// loads it, shows it modally, reads its public results and unloads it. The
// base class answers every dialog with "cancelled"; the composition root
// installs the windows that build the dialogs.
#include "platform/hostslot.h"

#include <QString>

#include <cstdint>

namespace pv {

// The barcode dialog's record, exchanged with the selected barcode object.
struct BarcodeSettingsRecord {
  std::int16_t Orientation = 0;  // 0 normal, 1 +90, 2 -90, 3 inverse
  std::int16_t FormatIndex = 0;  // position in the barcode engine's format list
  std::int16_t ShowText = 0;
  std::int16_t ShowCheckDigit = 0;
  std::int16_t ShowMargins = 0;
  std::int16_t BearerBars = 0;
  std::int16_t ExtraOption1 = 0;
  std::int16_t ExtraOption2 = 0;
  std::int16_t Reduction = 0;      // bar reduction, per cent
  std::int16_t Border = 0;         // points
  std::int16_t ContentSource = 0;  // 0 fixed text, 1 data field
  QString FixedText;               // the text, or the data field's name
  QString FieldFormatText;

  bool operator==(const BarcodeSettingsRecord&) const = default;
};
extern BarcodeSettingsRecord BarcodeSettings;

// What a caller that edits an existing field puts into the merge-field
// picker before showing it: FieldName, the name box Text1(0) with its Tag (the
// predefined-field code as decimal text), FieldFormat and the format box
// Text1(1).
struct FieldPickerPreset {
  QString FieldName;
  QString NameText;
  QString NameTag;
  QString FieldFormat;
  QString FormatText;
};

// The picker's public values after it closed; an empty FieldName is a cancel.
struct FieldPickerAnswer {
  QString FieldName;
  QString FieldFormat;
};

// dlgArray's public values; RetCode 0 is a cancel.
struct ArrayAnswer {
  std::int16_t RetCode = 0;
  std::int16_t xCopy = 0;  // columns, the selection counted as the first
  std::int16_t yCopy = 0;  // rows
  float xDelta = 0;        // millimetres
  float yDelta = 0;
};

class EditorPickers {
 public:
  virtual ~EditorPickers() = default;
  // dlgFieldPropety; preset nullptr shows it with nothing preset.
  virtual FieldPickerAnswer ShowFieldPicker(const FieldPickerPreset* preset);
  // DlgClipArt: ClipFileName, the chosen .emf path; empty when cancelled.
  virtual QString ShowClipArt();
  // dlgShape: RetCode, the chosen shape 0-13; -1 when cancelled.
  virtual std::int16_t ShowShapePicker();
  // dlgBackGround after SetMode(bMode) (True borders, False backgrounds):
  // FileName, the chosen path, "" when cancelled, NoImageMarker to remove.
  virtual QString ShowBackGround(bool bMode);
  virtual ArrayAnswer ShowArray();
  // dlgCodeBar: SetData from BarcodeSettings, shown modally; RetCode
  // (non-zero when confirmed, BarcodeSettings then holds the values).
  virtual std::int16_t ShowCodeBar();

  // The predefined merge fields (document/predefinedfields.h). Both trim the key in
  // place. The caption: messages 32005-32007 for the three keys, the trimmed
  // key otherwise. The code: 1-3 for the three keys, 0 for any other name.
  virtual QString GetPredefinedFieldCaption(QString& key);
  virtual std::int16_t GetPredefinedFieldCode(QString& key);
};

// The answer of the background and border picker that removes the picture.
inline constexpr const char* NoImageMarker = "NO_IMAGE_4532756";

PV_DECLARE_HOST_SLOT(EditorPickers)

EditorPickers& Pickers();
// Takes no ownership; returns the previous instance; nullptr = the default.
EditorPickers* SetEditorPickers(EditorPickers* pickers);

}  // namespace pv
