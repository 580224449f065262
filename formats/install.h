#pragma once
// Makes the main window build its format archive view and its new-label
// wizard from this folder.

namespace pv {

void InstallFormats();
// The wizard view and the main window's side of it.
void InstallWizard();

}  // namespace pv
