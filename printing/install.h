#pragma once
// Puts the print engine in the program: the label drawing reads merge field
// values from the print run and the preview's font scale from the print
// panel's controls.

namespace pv {

// Call once from the composition root. Safe to call again (tests).
void InstallPrintEngine();

}  // namespace pv
