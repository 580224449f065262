#pragma once
// The composition root: what the running program is made of.

namespace pv {

// Installs every production implementation of the program's hosts and
// services, and the factories of the main window's views. Called once by
// main() before Main(), and by the tests that run the real program. Safe to
// call again.
void InstallProgramHosts();

}  // namespace pv
