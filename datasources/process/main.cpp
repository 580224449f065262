// plavik-reader: reads one user data source for the program, in a process of
// its own, so a library that crashes or runs away on a damaged file takes
// only this process with it. The program starts it, writes its requests on
// its standard input and reads the answers from its standard output (see
// protocol.h); an end of input ends it.
#include "datasources/process/protocol.h"
#include "datasources/readers/numericlocale.h"
#include "datasources/readers/sourcereader.h"

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

void WriteTable(FrameWriter& writer, int out, const SourceTable& table) {
  writer.Begin(Frame::Table);
  writer.I64(static_cast<std::int64_t>(table.rows.size()));
  writer.Columns(table.columns);
  writer.End();
  std::size_t i = 0;
  while (i < table.rows.size()) {
    writer.Begin(Frame::Rows);
    const std::size_t countAt = writer.Count32();
    std::uint32_t count = 0;
    for (; i < table.rows.size() && writer.Size() < readerprotocol::kRowsFrameSize &&
           count < readerprotocol::kMaxFrameRows;
         ++i, ++count) {
      // One value per column, as the program reads them.
      const std::vector<QVariant>& row = table.rows[i];
      for (std::size_t c = 0; c < table.columns.size(); ++c) writer.Value(c < row.size() ? row[c] : QVariant());
    }
    writer.SetCount32(countAt, count);
    writer.End();
    Flush(out, writer);
  }
  writer.Begin(Frame::End);
  writer.End();
  // Sent before the table is freed: the program need not wait for that.
  Flush(out, writer);
}

// kept: the table sent last, freed when the next replaces it; freeing it at
// once would keep the program waiting for this process to end.
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
      kept = {};
      kept = reader.ReadTable(body.Text());
      WriteTable(writer, out, kept);
      return;
    case Frame::RunQuery:
      kept = {};
      kept = reader.RunQuery(body.Text());
      WriteTable(writer, out, kept);
      return;
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
        WriteTable(writer, out, table);
        Flush(out, writer);
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
  // memory the system takes back faster than freeing it would.
  reader.reset();
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
