#pragma once
// The composition root: what the running program is made of. Every install
// of a host or service of the program is listed in app/wiring.cpp.

namespace pv {

class EditCard;
class PreviewData;

// Installs every production implementation of the program's hosts and
// services, and the factory of the main window's views. Called once by
// main() before Main(), and by the tests that run the real program. Safe to
// call again.
void InstallProgramHosts();

// What the editor view is in the program for as long as it lives: its
// canvas the document's canvas, its logic the document's editor, its
// canvas's font scale the object drawing's. The program's view factory
// calls it; so do tests of a view made on its own. Afterwards the previous
// instances come back, unless others were installed meanwhile.
void AttachEditCard(EditCard& view);

// The print panel as the print engine's panel controls, for as long as it
// lives (as AttachEditCard).
void AttachPrintPanel(PreviewData& panel);

}  // namespace pv
