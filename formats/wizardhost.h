#pragma once
// What the new-label wizard asks of the main window: show another view, repaint
// itself at once, and pop up the wizard's context menu (popup_modello) at the
// pointer. The composition root installs the main window's; tests record.

#include "platform/hostslot.h"

#include <QString>

namespace pv {

class WizardWindowHost {
 public:
  virtual ~WizardWindowHost() = default;
  virtual void SelectView(const QString& key) { (void)key; }
  virtual void RefreshMainWindow() {}
  virtual void PopupModelMenu() {}
};

PV_DECLARE_HOST_SLOT(WizardWindowHost)
WizardWindowHost& WizardWindow();
// Takes no ownership; nullptr puts the default back. Returns the previous one.
WizardWindowHost* SetWizardWindowHost(WizardWindowHost* host);

}  // namespace pv
