#pragma once
// What the program needs of the desktop it starts on.
#include <QByteArray>
#include <QString>

#include <functional>

class QCoreApplication;

namespace pv {

// Whether a graphical session is there to show windows in: DISPLAY or
// WAYLAND_DISPLAY, or a Qt platform named in QT_QPA_PLATFORM (offscreen,
// for tests and tools). `env` reads a variable (the process environment by
// default).
bool HasGraphicalSession(const std::function<QByteArray(const char*)>& env = {});

// The message that says a graphical session is missing.
QString NoGraphicalSessionMessage();

// Loads Qt's own Italian texts (buttons of questions, file and printer
// dialogs), whatever the system's language. False when they are not
// installed; the program then goes on with Qt's English.
bool InstallItalianQtTexts(QCoreApplication& app);

}  // namespace pv
