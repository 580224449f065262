#pragma once
// A plain dBASE reader for the data engine's tools and benchmarks (source
// dump, timings) and for tests of the sample file: a folder of .dbf files,
// C, N, F, D and L fields, deleted rows skipped, text in Windows-1252.

#include "datasources/readers/sourcereader.h"

#include <memory>

namespace pv::test {

class DBaseTestReader : public SourceReader {
 public:
  explicit DBaseTestReader(const QString& folder);
  QStringList Tables() override;
  std::vector<SourceColumn> Columns(const QString& table) override;
  SourceTable ReadTable(const QString& table) override;
  QString TableFile(const QString& table) override;

 private:
  QString m_folder;
};

// The program's readers; for dBASE this one while the program has none.
std::unique_ptr<SourceReader> OpenToolSourceReader(const SourceLocation& location);

}  // namespace pv::test
