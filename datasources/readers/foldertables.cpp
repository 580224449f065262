// The file extension of a folder source's tables. The program needs it
// without the readers (a cached open lists the folder itself), so it stands
// in a file of its own: linking it pulls in no reader library.
#include "datasources/readers/readerkit.h"

namespace pv {

QString FolderTableExtension(SourceKind kind) {
  switch (kind) {
    case SourceKind::DBase: return QStringLiteral("dbf");
    case SourceKind::Paradox: return QStringLiteral("db");
    default: return {};
  }
}

}  // namespace pv
