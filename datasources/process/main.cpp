// plavik-reader: reads one user data source for the program, in a process of
// its own, so a library that crashes or runs away on a damaged file takes
// only this process with it. The program starts it, writes its requests on
// its standard input and reads the answers from its standard output (see
// protocol.h); an end of input ends it.
#include "datasources/process/protocol.h"
#include "datasources/process/sandbox.h"
#include "datasources/readers/numericlocale.h"
#include "datasources/readers/sourcereader.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <new>

namespace pv {

using readerprotocol::BadStream;
using readerprotocol::BodyReader;
using readerprotocol::Frame;
using readerprotocol::FrameWriter;

#ifdef PLAVIK_READER_FAULTS
// The test build of the reader (tests/datasources/process) misbehaves on
// request: HandleFault sees each request first and makes the fault meant for
// it; true when `table` is to be the answer instead of the reader's.
bool HandleFault(const QString& fault, Frame request, int out, SourceTable& table);
// Sees the fault before the reader confines itself: false for a fault that
// asks for a reader left unconfined ("unconfined:" before it), to show that
// the confinement is what refuses it; "landlock=N:" before it lowers
// `landlockAbi` to N, to confine as an older kernel would. What it reads
// is taken off the fault.
bool ConfinedForFault(QString& fault, int& landlockAbi);
#endif

namespace {

bool ReadAll(int fd, char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t got = ::read(fd, p, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

void WriteAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(fd, p, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) std::_Exit(EXIT_FAILURE);  // the program is gone
    p += put;
    n -= static_cast<std::size_t>(put);
  }
}

void Flush(int out, FrameWriter& writer) {
  WriteAll(out, writer.Data(), writer.Size());
  writer.Clear();
}

// The next request; false at the end of input.
bool NextRequest(Frame& kind, std::vector<char>& body) {
  char header[readerprotocol::kHeaderSize];
  if (!ReadAll(STDIN_FILENO, header, sizeof header)) return false;
  std::uint32_t size = 0;
  std::memcpy(&size, header, sizeof size);
  if (size > readerprotocol::kMaxBody) std::_Exit(readerprotocol::kExitBadRequest);
  kind = static_cast<Frame>(header[4]);
  body.resize(size);
  if (!ReadAll(STDIN_FILENO, body.data(), size)) std::_Exit(readerprotocol::kExitBadRequest);
  return true;
}

void LimitMemory(std::int64_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves terabytes of address space for its shadow
  // memory: under any RLIMIT_AS its own allocations fail. The sanitizer
  // build runs without the limit.
  (void)bytes;
#else
  if (bytes <= 0) return;
  const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  ::setrlimit(RLIMIT_AS, &limit);
#endif
}

// The answer to a read: the Table frame with the columns, the rows in Rows
// frames sent as the reader reads them, and End with the count of rows. A
// reader that fails half way leaves only whole frames sent (the one begun is
// dropped with the writer's content), and its Error follows them.
class FrameSink : public RowSink {
 public:
  FrameSink(FrameWriter& writer, int out, SourceTable& kept) : m_writer(writer), m_out(out), m_kept(kept) {}

  void Columns(const std::vector<SourceColumn>& columns) override {
    m_width = columns.size();
    m_writer.Begin(Frame::Table);
    m_writer.Columns(columns);
    m_writer.End();
  }

  void Row(std::vector<QVariant>& row) override {
    if (!m_open) {
      m_writer.Begin(Frame::Rows);
      m_countAt = m_writer.Count32();
      m_open = true;
    }
    // One value per column, as the program reads them.
    static const QVariant kNull;
    for (std::size_t c = 0; c < m_width; ++c) m_writer.Value(c < row.size() ? row[c] : kNull);
    ++m_inFrame;
    ++m_rows;
    if (m_writer.Size() >= readerprotocol::kRowsFrameSize || m_inFrame == readerprotocol::kMaxFrameRows) Send();
  }

  // A table read whole is kept until the next replaces it: freeing it now
  // would keep the program waiting for the End.
  void Table(SourceTable&& table) override {
    m_kept = std::move(table);
    RowSink::Table(std::move(m_kept));
  }

  void Finish() {
    if (m_open) CloseFrame();
    m_writer.Begin(Frame::End);
    m_writer.I64(m_rows);
    m_writer.End();
    Flush(m_out, m_writer);
  }

 private:
  void CloseFrame() {
    m_writer.SetCount32(m_countAt, m_inFrame);
    m_writer.End();
    m_open = false;
    m_inFrame = 0;
  }
  void Send() {
    CloseFrame();
    Flush(m_out, m_writer);
  }

  FrameWriter& m_writer;
  int m_out;
  SourceTable& m_kept;
  std::size_t m_width = 0;
  bool m_open = false;  // a Rows frame is begun
  std::size_t m_countAt = 0;
  std::uint32_t m_inFrame = 0;
  std::int64_t m_rows = 0;
};

// kept: the table sent last when a reader reads it whole, freed when the next
// replaces it; freeing it at once would keep the program waiting for this
// process to end.
void Answer(SourceReader& reader, Frame kind, BodyReader& body, int out, FrameWriter& writer, SourceTable& kept) {
  switch (kind) {
    case Frame::Tables: {
      const QStringList names = reader.Tables();
      writer.Begin(Frame::Names);
      writer.U32(static_cast<std::uint32_t>(names.size()));
      for (const QString& name : names) writer.Text(name);
      writer.End();
      return;
    }
    case Frame::Columns: {
      const std::vector<SourceColumn> columns = reader.Columns(body.Text());
      writer.Begin(Frame::ColumnList);
      writer.Columns(columns);
      writer.End();
      return;
    }
    case Frame::ReadTable:
    case Frame::RunQuery: {
      kept = {};
      const QString argument = body.Text();
      FrameSink sink(writer, out, kept);
      if (kind == Frame::ReadTable)
        reader.ReadTableRows(argument, sink);
      else
        reader.RunQueryRows(argument, sink);
      sink.Finish();
      return;
    }
    case Frame::TableFile:
      writer.Begin(Frame::File);
      writer.Text(reader.TableFile(body.Text()));
      writer.End();
      return;
    default: std::_Exit(readerprotocol::kExitBadRequest);
  }
}

int Serve(int out) {
  FrameWriter writer;
  Frame kind{};
  std::vector<char> bytes;
  if (!NextRequest(kind, bytes) || kind != Frame::Open) return readerprotocol::kExitBadRequest;
  SourceLocation location;
  QString fault;
  try {
    BodyReader body(bytes.data(), bytes.size());
    const std::uint8_t sourceKind = body.U8();
    if (sourceKind > static_cast<std::uint8_t>(SourceKind::Odbc)) return readerprotocol::kExitBadRequest;
    location.kind = static_cast<SourceKind>(sourceKind);
    location.path = body.Text();
    location.user = body.Text();
    location.password = body.Text();
    location.connection = body.Text();
    LimitMemory(body.I64());
    fault = body.Text();
  } catch (const BadStream&) {
    return readerprotocol::kExitBadRequest;
  }
  (void)fault;

  // The request names the source: the reader gives up what reading it does
  // not need before any library opens anything, and serves only it.
  int landlockAbi = LandlockAbi();
  bool confine = true;
#ifdef PLAVIK_READER_FAULTS
  confine = ConfinedForFault(fault, landlockAbi);
#endif
  if (confine) {
    const QString refused = ConfineReader(location, landlockAbi);
    if (!refused.isEmpty()) {
      writer.Error(DbError(DbErrProvider, refused));
      Flush(out, writer);
      return EXIT_SUCCESS;
    }
  }

  std::unique_ptr<SourceReader> reader;
  try {
#ifdef PLAVIK_READER_FAULTS
    SourceTable none;
    HandleFault(fault, Frame::Open, out, none);
#endif
    reader = OpenSourceReaderInProcess(location);
    writer.Begin(Frame::Ready);
    writer.End();
  } catch (const DbError& error) {
    writer.Error(error);
  }
  Flush(out, writer);
  if (!reader) return EXIT_SUCCESS;

  SourceTable kept;
  while (NextRequest(kind, bytes)) {
    try {
#ifdef PLAVIK_READER_FAULTS
      SourceTable table;
      if (HandleFault(fault, kind, out, table)) {
        FrameSink sink(writer, out, kept);
        sink.Table(std::move(table));
        sink.Finish();
        continue;
      }
#endif
      BodyReader body(bytes.data(), bytes.size());
      Answer(*reader, kind, body, out, writer, kept);
    } catch (const BadStream&) {
      return readerprotocol::kExitBadRequest;
    } catch (const DbError& error) {
      writer.Clear();
      writer.Error(error);
    }
    Flush(out, writer);
  }
  // The source is closed (a server connection ends properly); the rest is
  // memory the system takes back faster than freeing it would. The
  // sanitizer build looks for leaks first, as a normal end would: a leak
  // ends the reader with the sanitizer's report and exit status.
  reader.reset();
#if defined(__SANITIZE_ADDRESS__)
  __lsan_do_leak_check();
#endif
  std::_Exit(EXIT_SUCCESS);
}

}  // namespace

}  // namespace pv

int main() {
  // The same locale as the program's: the user's, with numbers in C.
  std::setlocale(LC_ALL, "");
  pv::UseCNumericLocale();
  // A write to a program that is gone fails instead of killing the reader.
  ::signal(SIGPIPE, SIG_IGN);
  // The answers go to a descriptor of their own; whatever a library prints
  // on standard output goes to standard error and cannot mix into them.
  const int out = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (out < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) return EXIT_FAILURE;
  try {
    return pv::Serve(out);
  } catch (const std::bad_alloc&) {
    std::_Exit(pv::readerprotocol::kExitOutOfMemory);
  }
}
