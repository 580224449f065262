#include "datasources/readers/sourcereader.h"

namespace pv {

SourceTable SourceReader::RunQuery(const QString&) {
  throw DbError(DbErrArguments, QStringLiteral("Questa origine dati non esegue query."));
}

}  // namespace pv
