#pragma once
// Every message box of the program as a real window (QMessageBox).
#include "platform/msgbox.h"

namespace pv {

class QtMessageBoxes : public MessageBoxHost {
 public:
  MsgAnswer Show(const MsgBoxRequest& request) override;
};

}  // namespace pv
