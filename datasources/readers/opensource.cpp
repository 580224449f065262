#include "datasources/readers/readerkit.h"

namespace pv {

std::unique_ptr<SourceReader> OpenSourceReaderInProcess(const SourceLocation& location) {
  switch (location.kind) {
    case SourceKind::Access: return OpenAccessFile(location.path);
    case SourceKind::DBase: return OpenDBaseFolder(location.path);
    case SourceKind::Paradox: return OpenParadoxFolder(location.path);
    case SourceKind::Excel: return OpenExcelFile(location.path);
    case SourceKind::Odbc: return OpenOdbcSource(location);
  }
  ThrowSourceError(QStringLiteral("Tipo di origine dati non gestito."));
}

}  // namespace pv
