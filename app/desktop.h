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

// Qt speaks Italian whatever the system's language: its locale is Italian
// (numbers, dates, the file types of its file dialog) and its own texts
// (qtbase_it: buttons of questions, file and printer dialogs) are loaded.
// False when the texts are not installed; the program then goes on with
// Qt's English. The program's own number reading does not depend on it.
bool InstallItalianQtTexts(QCoreApplication& app);

// Qt's file dialog writes its dates in the system locale's form, not in
// Qt's locale: before the application object is made, the system locale's
// time category becomes Italian (where the C library has it), every other
// category staying as it was. `env` reads and `set` writes a variable (the
// process environment by default; an empty value unsets).
void UseItalianSystemDates(const std::function<QByteArray(const char*)>& env = {},
                           const std::function<void(const char*, const QByteArray&)>& set = {});

}  // namespace pv
