#pragma once
// What the floating property windows call on the label editor, forwarded to
// the main window's editor view and mouse pointer (while there is a main
// window).
#include "properties/popupeditor.h"

namespace pv {

class MainWndPopUpEditor : public PopUpEditor {
 public:
  void SavedDoc() override;
  void Apply(int iCode, const QVariant& sValue, int bDefault, bool bRefresh) override;
  void SetShowPop(int index, bool bMode) override;
  void SetMousePointer(int pointer) override;
};

}  // namespace pv
