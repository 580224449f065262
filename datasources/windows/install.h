#pragma once
// Installs the data-source windows: the manager view among the main window's
// views, and the sort and filter dialogs behind SourceDialogs.

namespace pv {

void InstallDataSourceWindows();

}  // namespace pv
