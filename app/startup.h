#pragma once
// Start-up and the end of the program.

namespace pv {

// The start procedure: splash, DEFAULT_PATH read and written back at once,
// the main window loaded (its load runs LoadSettings) and shown, the splash
// unloaded. Returns false when the program must end at once (no print
// system): nothing more has run then.
bool Main();

// Both ways out of the program (closing the main window, File > Exit) come
// here: asks message 15045; on Yes runs SaveSettings and returns true, and
// the program ends; on No or Cancel changes nothing and returns false.
bool ConfirmEndProgram();

}  // namespace pv
