#include "app/wizardwindowhost.h"

#include "app/window/mainwnd.h"

namespace pv {

// The main window once it is made (its own views are made while it is).
void MainWndWizardHost::SelectView(const QString& key) {
  if (MainWnd* w = MainWndInstance()) w->SelectView(key);
}
void MainWndWizardHost::RefreshMainWindow() {
  if (MainWnd* w = MainWndInstance()) w->Refresh();
}
void MainWndWizardHost::PopupModelMenu() {
  if (MainWnd* w = MainWndInstance()) w->PopupMenu(w->popup_modello());
}

}  // namespace pv
