#pragma once
// A folder of one-file tables (dBASE, Paradox): the tables are the files
// with one extension, named without it. File opens one table file and gives
// its Columns() and reads its rows into a sink with Read().
#include "datasources/readers/readerkit.h"

namespace pv {

template <typename File>
class FolderReader : public SourceReader {
 public:
  FolderReader(const QString& folder, const QString& extension) : m_folder(folder), m_extension(extension) {
    FolderTables(m_folder, m_extension);  // the folder must exist
  }

  QStringList Tables() override { return FolderTables(m_folder, m_extension); }
  std::vector<SourceColumn> Columns(const QString& table) override { return File(TableFile(table)).Columns(); }
  SourceTable ReadTable(const QString& table) override {
    TableCollector collector;
    File(TableFile(table)).Read(collector);
    return collector.Take();
  }
  void ReadTableRows(const QString& table, RowSink& sink) override { File(TableFile(table)).Read(sink); }
  QString TableFile(const QString& table) override { return FolderTableFile(m_folder, table, m_extension); }

 private:
  QString m_folder;
  QString m_extension;
};

}  // namespace pv
