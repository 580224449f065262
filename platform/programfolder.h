#pragma once
// The program folder: where plavik.ini, the program database, the graphics
// folders and the help live. It is the folder of the executable, or the folder
// named by PLAVIK_HOME when that is set (tests use their own).

#include <QString>

namespace pv {

QString ProgramFolder();

// A path below the program folder, written with "/". Each component that does
// not exist as spelled is looked up without regard to case ("N.LAB" finds
// "n.lab"); when nothing matches, the path is returned as spelled.
QString ProgramPath(const QString& relative);

// Resolves a path the same way, component by component, below any folder.
QString ResolvePathCase(const QString& path);

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
