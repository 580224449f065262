#pragma once
// A source reader over tables held in memory, for tests of what reads
// sources. Each table may name a file, whose time and size the table cache
// looks at; `reads` counts the tables read whole.

#include "datasources/readers/sourcereader.h"

#include <functional>
#include <map>
#include <memory>

namespace pv::test {

struct FakeSource {
  std::map<QString, SourceTable> tables;  // by name as the source spells it
  std::map<QString, QString> files;       // table -> file, when it has one
  int reads = 0;
  bool runsQueries = false;  // as an ODBC source: queries run "on the server"
  QString lastQuery;
  // Reads of a table fail with a DbError of this number (0: they do not),
  // as a read the user cancels does with DbErrCancelled.
  long readsFailWith = 0;
  // Runs as a table is read, before it is given.
  std::function<void()> duringRead;
};

class FakeReader : public SourceReader {
 public:
  explicit FakeReader(std::shared_ptr<FakeSource> source) : m_source(std::move(source)) {}

  QStringList Tables() override {
    QStringList out;
    for (const auto& [name, table] : m_source->tables) out << name;
    return out;
  }
  std::vector<SourceColumn> Columns(const QString& table) override { return Find(table).columns; }
  SourceTable ReadTable(const QString& table) override {
    if (m_source->readsFailWith != 0) throw DbError(m_source->readsFailWith, QStringLiteral("Lettura interrotta."));
    ++m_source->reads;
    if (m_source->duringRead) m_source->duringRead();
    return Find(table);
  }
  bool RunsQueries() const override { return m_source->runsQueries; }
  SourceTable RunQuery(const QString& sql) override {
    m_source->lastQuery = sql;
    return m_source->tables.begin()->second;
  }
  QString TableFile(const QString& table) override {
    for (const auto& [name, file] : m_source->files) {
      if (name.compare(table, Qt::CaseInsensitive) == 0) return file;
    }
    return QString();
  }

 private:
  const SourceTable& Find(const QString& table) const {
    for (const auto& [name, t] : m_source->tables) {
      if (name.compare(table, Qt::CaseInsensitive) == 0) return t;
    }
    throw DbError(DbErrItemNotFound, QStringLiteral("Tabella non trovata: ") + table);
  }

  std::shared_ptr<FakeSource> m_source;
};

}  // namespace pv::test
