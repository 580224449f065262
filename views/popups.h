#pragma once
// The floating property windows' loaded flags and windows, by window index:
// 0 text format (popFont), 1 text content (popText), 2 image (no window, its
// flag is never set), 3 lines (popLinee), 4 fill (popFill), 5 art text
// (popArtText); the index constants PopFont ... PopArtText are in
// core/hosts.h. A window calls PopUpLoadedBy(index, this) at the end of its
// load and PopUpUnloaded(index) when it unloads; the main window hides and
// shows the loaded ones, and the shutdown unloads them.

#include "core/hosts.h"
#include "platform/runtime.h"

#include <QWidget>

#include <array>

namespace pv {

inline constexpr int PopUpCount = 6;

// One Integer Boolean per window index, True while the window is loaded.
extern std::array<VbBool, PopUpCount> PopUpLoaded;
// The same flags by window name.
inline VbBool& PopFontLoaded = PopUpLoaded[PopFont];
inline VbBool& PopTextLoaded = PopUpLoaded[PopText];
inline VbBool& PopLineeLoaded = PopUpLoaded[PopLinee];
inline VbBool& PopFillLoaded = PopUpLoaded[PopFill];
inline VbBool& PopArtTextLoaded = PopUpLoaded[PopArtText];

// The window has loaded: its flag becomes True and the window is kept
// (without ownership) for hiding and showing. Ignored for index 2 and
// indexes out of range.
void PopUpLoadedBy(int index, QWidget* window);
// The window unloads: its flag becomes False and it is forgotten.
void PopUpUnloaded(int index);
// The loaded window of an index, or nullptr.
QWidget* PopUpWindow(int index);
// Whether the index names a window (0, 1, 3, 4, 5).
bool IsPopUpIndex(int index);

// The order in which the main window and the shutdown visit the windows:
// font, lines, text, fill, art text.
inline constexpr std::array<int, 5> PopUpVisitOrder = {PopFont, PopLinee, PopText, PopFill, PopArtText};

}  // namespace pv
