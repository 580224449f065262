#include "datasources/readers/sourcereader.h"

namespace pv {

std::unique_ptr<SourceReader> OpenSourceReader(const SourceLocation&) {
  throw DbError(DbErrProvider, QStringLiteral("Tipo di origine dati non gestito."));
}

}  // namespace pv
