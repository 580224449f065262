#pragma once
// The picture files a picker shows: the normal files of one folder whose
// extension is the given one in any letter case, sorted by name, at most
// kMaxPickerFiles, as full paths.
#include <QString>
#include <QStringList>

namespace pv {

inline constexpr int kMaxPickerFiles = 500;

// extension without the dot ("emf"); an empty list for a missing folder.
QStringList ListPickerFiles(const QString& folder, const QString& extension);

}  // namespace pv
