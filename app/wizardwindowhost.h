#pragma once
// The main window's side of the new-label wizard: its views, its repaint and
// the wizard's context menu.
#include "formats/wizardhost.h"

namespace pv {

class MainWndWizardHost : public WizardWindowHost {
 public:
  void SelectView(const QString& key) override;
  void RefreshMainWindow() override;
  void PopupModelMenu() override;
};

}  // namespace pv
