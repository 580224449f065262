#include "datasources/process/readerchild.h"

#include "datasources/process/rowdecoder.h"
#include "platform/helperprogram.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace pv {

using readerprotocol::BadStream;
using readerprotocol::BodyReader;
using readerprotocol::Frame;
using readerprotocol::FrameWriter;

namespace {

constexpr std::size_t kBufferSize = 512 * 1024;
constexpr std::size_t kMinRoom = 64 * 1024;
// The slices a wait goes in: the settings' ReaderWait is asked between them.
constexpr auto kWaitSlice = std::chrono::milliseconds(50);
// How long a reader that was told to end, or that closed its stream, may take
// to exit before it is killed.
constexpr auto kExitGrace = std::chrono::seconds(1);

[[noreturn]] void Throw(const QString& text) { throw DbError(DbErrProvider, text); }

QString Reason(const QString& what) { return QStringLiteral("Il lettore dell'origine dati %1").arg(what); }

}  // namespace

ReaderChild::ReaderChild(const SourceLocation& location, const ReaderProcessSettings& settings) : m_settings(settings) {
  m_asked = m_lastWaitCall = Clock::now();
  m_deadline = m_asked + std::chrono::milliseconds(m_settings.timeLimitMs);
  Start();
  try {
    FrameWriter open;
    open.Begin(Frame::Open);
    open.U8(static_cast<std::uint8_t>(location.kind));
    open.Text(location.path);
    open.Text(location.user);
    open.Text(location.password);
    open.Text(location.connection);
    open.I64(m_settings.memoryLimit);
    open.Text(m_settings.fault);
    open.End();
    Send(open);
    BodyReader body(nullptr, 0);
    Expect(Frame::Ready, body);
  } catch (...) {
    // A source the reader refused: it ends by itself.
    m_child.Stop(Clock::now() + kExitGrace);
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    throw;
  }
}

ReaderChild::~ReaderChild() {
  if (Alive()) {
    // The end of its input ends the reader; it closes the stream as it exits.
    ::shutdown(m_fd, SHUT_WR);
    const Clock::time_point until = Clock::now() + kExitGrace;
    for (;;) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
      pollfd wait{m_fd, POLLIN, 0};
      if (left <= 0 || ::poll(&wait, 1, static_cast<int>(left)) == 0) break;
      char discard[4096];
      const ssize_t got = ::recv(m_fd, discard, sizeof discard, 0);
      if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) break;
    }
    m_child.Stop(until);
  }
  if (m_fd >= 0) ::close(m_fd);
}

void ReaderChild::Start() {
  const QString program = m_settings.program.isEmpty() ? ReaderProgram() : m_settings.program;
  if (program.isEmpty()) Throw(Reason(QStringLiteral("(plavik-reader) non si trova.")));
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
    Throw(Reason(QStringLiteral("non si avvia: %1.").arg(QString::fromLocal8Bit(std::strerror(errno)))));
  int rc = 0;
  const pid_t pid = StartHelperProgram(program, ends[1], ends[1], &rc);
  ::close(ends[1]);
  if (rc != 0) {
    ::close(ends[0]);
    Throw(Reason(QStringLiteral("\"%1\" non si avvia: %2.").arg(program, QString::fromLocal8Bit(std::strerror(rc)))));
  }
  m_child = ChildProcess(pid);
  m_fd = ends[0];
  ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
  m_buffer.resize(kBufferSize);
}

void ReaderChild::Await(short events) {
  for (;;) {
    const int left = Remaining();
    pollfd ready{m_fd, events, 0};
    const int rc = ::poll(&ready, 1, std::min(left, static_cast<int>(kWaitSlice.count())));
    // Ready, closed or failed: the read or write that follows says which.
    if (rc > 0 || (rc < 0 && errno != EINTR)) return;
    if (left == 0 || Remaining() == 0) TimedOut();
    if (Clock::now() - m_lastWaitCall >= kWaitSlice) CallWait();
  }
}

void ReaderChild::CallWait() {
  const Clock::time_point now = Clock::now();
  m_lastWaitCall = now;
  if (!m_settings.wait) return;
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_asked);
  if (!m_settings.wait->Waiting(waited)) Cancelled();
  m_lastWaitCall = Clock::now();
}

int ReaderChild::Remaining() const {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
}

void ReaderChild::Send(const FrameWriter& request) {
  const char* p = request.Data();
  std::size_t n = request.Size();
  while (n > 0) {
    const ssize_t put = ::send(m_fd, p, n, MSG_NOSIGNAL);
    if (put > 0) {
      p += put;
      n -= static_cast<std::size_t>(put);
      continue;
    }
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      Await(POLLOUT);
      continue;
    }
    Ended();  // EPIPE, ECONNRESET: the reader is gone
  }
}

void ReaderChild::Ask(Frame request, const QString& argument) {
  if (!Alive()) Throw(Reason(QStringLiteral("non è in funzione.")));
  if (m_begin != m_end) BadAnswer();  // more than its last answer
  m_mayRefuse = true;
  m_asked = m_lastWaitCall = Clock::now();
  m_deadline = m_asked + std::chrono::milliseconds(m_settings.timeLimitMs);
  FrameWriter writer;
  writer.Begin(request);
  if (request != Frame::Tables) writer.Text(argument);
  writer.End();
  Send(writer);
}

bool ReaderChild::Receive() {
  if (m_begin == m_end) m_begin = m_end = 0;
  if (m_buffer.size() - m_end < kMinRoom && m_begin > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
  }
  if (m_buffer.size() - m_end < kMinRoom) m_buffer.resize(m_buffer.size() + std::max(kMinRoom, m_buffer.size() / 2));
  for (;;) {
    const ssize_t got = ::recv(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end, 0);
    if (got > 0) {
      m_end += static_cast<std::size_t>(got);
      // The reader answers: the time limit starts again. A long answer that
      // keeps coming is still one wait, which the user may cancel.
      m_deadline = Clock::now() + std::chrono::milliseconds(m_settings.timeLimitMs);
      if (Clock::now() - m_lastWaitCall >= kWaitSlice) CallWait();
      return true;
    }
    if (got == 0) return false;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    Await(POLLIN);
  }
}

Frame ReaderChild::Next(BodyReader& body) {
  for (;;) {
    const std::size_t have = m_end - m_begin;
    if (have >= readerprotocol::kHeaderSize) {
      std::uint32_t size = 0;
      std::memcpy(&size, m_buffer.data() + m_begin, sizeof size);
      if (size > readerprotocol::kMaxBody) BadAnswer();
      const std::size_t whole = readerprotocol::kHeaderSize + size;
      if (have >= whole) {
        const auto kind = static_cast<Frame>(m_buffer[m_begin + 4]);
        body = BodyReader(m_buffer.data() + m_begin + readerprotocol::kHeaderSize, size);
        m_begin += whole;
        const bool mayRefuse = m_mayRefuse;
        m_mayRefuse = false;
        if (kind != Frame::Error) return kind;
        if (!mayRefuse) BadAnswer();  // a refusal comes before any answer
        long number = 0;
        QString text;
        try {
          number = static_cast<long>(body.I64());
          text = body.Text();
        } catch (const BadStream&) {
          BadAnswer();
        }
        throw DbError(number, text);
      }
      // The frame from the start of the buffer, which grows with what
      // arrives (not with what the header claims).
      if (m_buffer.size() - m_begin < whole && m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, have);
        m_begin = 0;
        m_end = have;
      }
    }
    if (!Receive()) Ended();
  }
}

void ReaderChild::Expect(Frame wanted, BodyReader& body) {
  if (Next(body) != wanted) BadAnswer();
}

QStringList ReaderChild::Tables() {
  Ask(Frame::Tables, {});
  BodyReader body(nullptr, 0);
  Expect(Frame::Names, body);
  QStringList names;
  try {
    const std::uint32_t count = body.U32();
    if (count > body.Left() / 4) throw BadStream{};
    names.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) names.append(body.Text());
    if (!body.AtEnd()) throw BadStream{};
  } catch (const BadStream&) {
    BadAnswer();
  }
  return names;
}

std::vector<SourceColumn> ReaderChild::Columns(const QString& table) {
  Ask(Frame::Columns, table);
  BodyReader body(nullptr, 0);
  Expect(Frame::ColumnList, body);
  try {
    std::vector<SourceColumn> columns = body.Columns();
    if (!body.AtEnd()) throw BadStream{};
    return columns;
  } catch (const BadStream&) {
    BadAnswer();
  }
}

QString ReaderChild::TableFile(const QString& table) {
  Ask(Frame::TableFile, table);
  BodyReader body(nullptr, 0);
  Expect(Frame::File, body);
  try {
    QString file = body.Text();
    if (!body.AtEnd()) throw BadStream{};
    return file;
  } catch (const BadStream&) {
    BadAnswer();
  }
}

SourceTable ReaderChild::Read(Frame request, const QString& argument) {
  Ask(request, argument);
  BodyReader body(nullptr, 0);
  SourceTable table;
  try {
    Expect(Frame::Table, body);
    table.columns = body.Columns();
    if (!body.AtEnd()) throw BadStream{};
    readerprotocol::RowDecoder decoder(table.columns.size());
    for (;;) {
      // The reader may still refuse the table while its rows come: what
      // came is dropped with the decoder.
      m_mayRefuse = true;
      const Frame kind = Next(body);
      if (kind == Frame::End) break;
      if (kind != Frame::Rows) throw BadStream{};
      decoder.Add(body.Data(), body.Left());
    }
    // The count of rows the reader sent: a table is whole only when every
    // one of them arrived.
    const std::int64_t rows = body.I64();
    if (rows < 0 || !body.AtEnd()) throw BadStream{};
    table.rows = decoder.Finish();
    if (static_cast<std::int64_t>(table.rows.size()) != rows) throw BadStream{};
  } catch (const BadStream&) {
    BadAnswer();
  }
  return table;
}

void ReaderChild::Kill() {
  m_child.Kill();
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

void ReaderChild::TimedOut() {
  Kill();
  const int seconds = (m_settings.timeLimitMs + 999) / 1000;
  Throw(Reason(QStringLiteral("ha superato il tempo massimo di %1 s.").arg(seconds)));
}

void ReaderChild::Cancelled() {
  Kill();
  throw DbError(DbErrCancelled, ReaderCancelledText());
}

void ReaderChild::BadAnswer() {
  Kill();
  Throw(Reason(QStringLiteral("ha inviato dati non validi.")));
}

void ReaderChild::Ended() {
  // -1: it did not end in time and was killed.
  const int status = m_child.Stop(std::min(m_deadline, Clock::now() + kExitGrace)).value_or(-1);
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  if (status == -1) TimedOut();
  if (WIFSIGNALED(status)) Throw(Reason(QStringLiteral("si è interrotto (segnale %1).").arg(WTERMSIG(status))));
  if (WIFEXITED(status) && WEXITSTATUS(status) == readerprotocol::kExitOutOfMemory)
    Throw(Reason(QStringLiteral("ha superato il limite di memoria.")));
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    Throw(Reason(QStringLiteral("si è interrotto (codice %1).").arg(WEXITSTATUS(status))));
  // Ended in the middle of a frame, or before it answered.
  if (m_begin != m_end) Throw(Reason(QStringLiteral("ha inviato dati non validi.")));
  Throw(Reason(QStringLiteral("si è interrotto.")));
}

}  // namespace pv
