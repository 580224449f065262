#pragma once
// The barcode properties dialog's model (dlgCodeBar): the format and
// orientation lists, six options, bar reduction and border, and where the
// content comes from (a fixed text, or a data field chosen in the merge-field
// picker); it exchanges its values with BarcodeSettings.
#include "editor/pickers.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace pv {

class CodeBarDialogModel {
 public:
  // The name of barcode format i, empty past the last.
  using FormatNames = std::function<QString(int)>;

  // Loads the lists: formats 0 to 100 at most, up to the first empty name;
  // the four orientations.
  explicit CodeBarDialogModel(FormatNames names = {});

  // Shows the record in the controls: an orientation outside 0-3 shows
  // "Normale", a format index outside the list selects none.
  void SetData(const BarcodeSettingsRecord& s);
  // Selecting "Testo generico" (0) or "Campo dati" (1) and its rule: the
  // content box for a fixed text, the field button for a data field.
  void SelectSource(int source);
  // "...": the merge-field picker with the content box's text and the
  // dialog's copy of the format; a cancel keeps both.
  void ClickField();

  // The first box that does not hold a whole number for a 16-bit field:
  // message 15101 (no number) or 15102 (out of range) and the box (0
  // reduction, 1 border); 0 when both pass and `out` then holds every value.
  int Check(BarcodeSettingsRecord& out, int& box) const;
  // OK: Check; a refusal is shown in an information box and the dialog
  // stays (FocusBox names the box); else BarcodeSettings takes the values and
  // RetCode becomes -1. True when the dialog may close.
  bool Ok();
  // "Annulla" or the title bar: RetCode 0, BarcodeSettings untouched.
  void Cancel() { RetCode = 0; }

  QStringList Formats;
  QStringList Orientations;
  int OrientationIndex = 0;
  int FormatIndex = -1;  // -1 none
  // ShowText, ShowCheckDigit, ShowMargins, BearerBars, ExtraOption1, ExtraOption2.
  std::array<std::int16_t, 6> Checks{};
  std::array<QString, 2> NumberText;  // reduction, border
  QString ContentText;
  QString FieldFormat;
  int Source = 0;  // 0 fixed text, 1 data field
  bool ContentEnabled = true;
  bool FieldButtonEnabled = false;
  int FocusBox = -1;
  std::int16_t RetCode = 0;
};

// The most formats the dialog offers (indexes 0 to 100).
inline constexpr int CodeBarMaxFormats = 101;

}  // namespace pv
