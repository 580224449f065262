#include "datasources/readers/readerkit.h"

namespace pv {

std::unique_ptr<SourceReader> OpenExcelFile(const QString&) {
  ThrowSourceError(QStringLiteral("todo"));
}

}  // namespace pv
