#pragma once
// The program folder: where the program's own files are read (the graphics
// folders, the clip-art, the help, the sample database); and the user's
// folders: where what a user changes is kept (plavik.ini, the program
// database).
//
// - PLAVIK_HOME set: everything in that folder (tests, portable use).
// - An installed program (the executable in a folder bin with share/plavik
//   beside it, as the install lays it out): the program folder is
//   share/plavik, never written; the settings go to $XDG_CONFIG_HOME/plavik
//   (~/.config/plavik), the database to $XDG_DATA_HOME/plavik
//   (~/.local/share/plavik).
// - Otherwise the program folder is the executable's (the build, a copy of
//   it): the user's files are kept there when this user may write in it,
//   else in the XDG folders above.

#include <QByteArray>
#include <QString>

#include <functional>

namespace pv {

QString ProgramFolder();

// A path below the program folder, written with "/". Each component that does
// not exist as spelled is looked up without regard to case ("N.LAB" finds
// "n.lab"); when nothing matches, the path is returned as spelled.
QString ProgramPath(const QString& relative);

// Resolves a path the same way, component by component, below any folder.
QString ResolvePathCase(const QString& path);

// The folder of the settings file and the folder of the program database.
QString UserSettingsFolder();
QString UserDataFolder();
// A file in one of them, its case resolved as ProgramPath does. The folder
// is made when missing (rights for this user only), so the file can be
// written at once.
QString UserSettingsPath(const QString& name);
QString UserDataPath(const QString& name);

// The three folders as the rules above give them for an executable in
// `executableFolder`, with `env` reading the environment and `writable`
// telling whether this user may write in a folder.
struct FolderLayout {
  QString program;
  QString settings;
  QString data;
};
FolderLayout LayoutFor(const QString& executableFolder, const std::function<QByteArray(const char*)>& env,
                       const std::function<bool(const QString&)>& writable);

// The folder of the open document's pictures: private to this running
// process (two copies of plavik never touch each other's pictures), made on
// first use in the system's temporary location with rights for this user
// only, and removed by RemoveTempImageFolder at exit. Returned with a
// trailing "/"; "" when no such folder can be made, and then no picture may
// be written anywhere.
QString TempImageFolder();
// The path of one picture in that folder (name: image number, ".", extension);
// "" when there is no folder.
QString TempImageFile(const QString& fileName);
// Deletes the files of the temp folder (not the folder).
void ClearTempImageFolder();
// Deletes the temp folder with its files; the next TempImageFolder() makes a
// new one.
void RemoveTempImageFolder();

}  // namespace pv
