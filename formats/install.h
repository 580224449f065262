#pragma once
// Makes the main window build its format archive view from this folder.

namespace pv {

void InstallFormats();

}  // namespace pv
