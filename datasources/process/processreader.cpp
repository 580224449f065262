// The reader every caller gets: the same SourceReader, with the libraries
// running in the reader program. What needs no library stays here: the
// tables of a folder source and their files (a listing of the folder, the
// cache's key), and whether the source runs queries.
//
// One reader program serves the reader for its whole life, so a source is
// opened once for its tables, columns and records. A folder source starts
// it at its first request that reads a file; the others at the open, which
// is where their library first reads the file. After a failure the next
// request starts a new one.
#include "datasources/process/readerchild.h"
#include "datasources/readers/readerkit.h"

namespace pv {

namespace {

class ProcessReader : public SourceReader {
 public:
  explicit ProcessReader(const SourceLocation& location)
      : m_location(location), m_settings(ReaderSettings()), m_extension(FolderTableExtension(location.kind)) {
    if (IsFolder()) {
      FolderTables(m_location.path, m_extension);  // the folder must exist
    } else {
      const Request request(*this);
      Child();
    }
  }

  QStringList Tables() override {
    if (IsFolder()) return FolderTables(m_location.path, m_extension);
    const Request request(*this);
    return Child().Tables();
  }
  std::vector<SourceColumn> Columns(const QString& table) override {
    const Request request(*this);
    return Child().Columns(table);
  }
  SourceTable ReadTable(const QString& table) override {
    const Request request(*this);
    return Child().Read(readerprotocol::Frame::ReadTable, table);
  }
  bool RunsQueries() const override { return m_location.kind == SourceKind::Odbc; }
  SourceTable RunQuery(const QString& sql) override {
    if (!RunsQueries()) return SourceReader::RunQuery(sql);
    const Request request(*this);
    return Child().Read(readerprotocol::Frame::RunQuery, sql);
  }
  QString TableFile(const QString& table) override {
    if (IsFolder()) return FolderTableFile(m_location.path, table, m_extension);
    if (m_location.kind == SourceKind::Odbc) return {};
    const Request request(*this);
    return Child().TableFile(table);
  }

 private:
  // One request to the reader program. While the program waits for it, the
  // window may handle events (readerwait.h); a request one of them makes of
  // this reader would be mixed into the answer, and is refused.
  class Request {
   public:
    explicit Request(ProcessReader& reader) : m_reader(reader) {
      if (m_reader.m_busy)
        throw DbError(DbErrProvider,
                      QStringLiteral("L'origine dati sta già leggendo: attendere la fine della lettura."));
      m_reader.m_busy = true;
    }
    ~Request() {
      m_reader.m_busy = false;
      if (m_reader.m_settings.wait) m_reader.m_settings.wait->Ended();
    }
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

   private:
    ProcessReader& m_reader;
  };

  bool IsFolder() const { return !m_extension.isEmpty(); }

  ReaderChild& Child() {
    if (!m_child || !m_child->Alive()) {
      m_child.reset();
      m_child = std::make_unique<ReaderChild>(m_location, m_settings);
    }
    return *m_child;
  }

  SourceLocation m_location;
  ReaderProcessSettings m_settings;
  QString m_extension;
  std::unique_ptr<ReaderChild> m_child;
  bool m_busy = false;  // a request is waiting for its answer
};

}  // namespace

std::unique_ptr<SourceReader> OpenSourceReader(const SourceLocation& location) {
  return std::make_unique<ProcessReader>(location);
}

}  // namespace pv
