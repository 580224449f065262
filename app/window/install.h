#pragma once
// Puts the main window in the program: the start-up and shutdown hosts
// (splash, main window, views, floating windows, the document's header) and
// the document's hosts (status bar and caption, the print panel) go to
// MainWnd, its views and dlgAbout.

namespace pv {

// Call once, before Main(). Safe to call again (tests).
void InstallMainWindow();

}  // namespace pv
