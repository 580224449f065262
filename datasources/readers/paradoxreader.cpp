#include "datasources/readers/readerkit.h"

namespace pv {

std::unique_ptr<SourceReader> OpenParadoxFolder(const QString&) {
  ThrowSourceError(QStringLiteral("todo"));
}

}  // namespace pv
