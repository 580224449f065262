#pragma once
// The series-copy dialog's model: four boxes (copies across and down, the
// two pitches in millimetres) checked in order on confirmation.
#include "editor/pickers.h"

#include <QString>
#include <array>

namespace pv {

class ArrayDialogModel {
 public:
  QString Caption() const;

  // The boxes, starting "1", "1", "2", "2".
  std::array<QString, 4> Text{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2")};

  // The message the boxes fail with (15099 copies, 15100 pitch), 0 when they
  // pass; then Answer holds the values and RetCode 1.
  int Check();
  // Check, showing a failure in an information box; true when it passed.
  bool Confirm();
  void Cancel() { Answer.RetCode = 0; }

  ArrayAnswer Answer;
};

}  // namespace pv
