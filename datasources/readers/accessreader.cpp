#include "datasources/readers/readerkit.h"

namespace pv {

std::unique_ptr<SourceReader> OpenAccessFile(const QString&) {
  ThrowSourceError(QStringLiteral("todo"));
}

}  // namespace pv
