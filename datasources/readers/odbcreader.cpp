#include "datasources/readers/readerkit.h"

namespace pv {

std::unique_ptr<SourceReader> OpenOdbcSource(const SourceLocation&) {
  ThrowSourceError(QStringLiteral("todo"));
}

}  // namespace pv
