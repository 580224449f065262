#pragma once
// Where a file dialog opens: in the folder of the name it is given, else in
// the folder last used for its kind of file (labels, pictures, data files),
// which the settings keep between starts; never in the folder the program
// happened to be started from.
#include "core/settings.h"
#include "platform/commondialogs.h"

#include <QString>

namespace pv {

// The folder the dialog for `request` opens in: the folder part of its file
// name when it has one, else the folder `settings` keep for its kind when
// that is still there, else the user's documents (pictures for pictures),
// else the home folder.
QString DialogStartFolder(const FileDialogRequest& request, const Settings& settings);

// Keeps the folder of `chosen` as the last one for `kind` (nothing for
// FileKind::Other).
void RememberDialogFolder(FileKind kind, const QString& chosen, Settings& settings);

}  // namespace pv
