#pragma once
// One running reader program, seen from the program: it is started with a
// location to open and then answers requests one at a time. The answer is
// read as it comes, so the reader never waits on a full pipe, and as long as
// it comes: the time limit of the settings ends a request only when the
// reader sends nothing for that long. The wait goes in short slices, and the
// settings' ReaderWait is asked between them whether to go on: when it says
// no, the reader is ended and the request fails with DbErrCancelled.
//
// A refusal of the source comes back as the reader's own DbError and the
// reader stays. A reader that crashes, exits, runs out of time or memory or
// sends what is not an answer is ended and reaped, and the request throws a
// DbError saying which; Alive() is then false.
#include "datasources/process/protocol.h"
#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"
#include "datasources/readers/sourcereader.h"
#include "platform/childprocess.h"

#include <chrono>
#include <vector>

namespace pv {

class ReaderChild {
 public:
  ReaderChild(const SourceLocation& location, const ReaderProcessSettings& settings);
  ~ReaderChild();
  ReaderChild(const ReaderChild&) = delete;
  ReaderChild& operator=(const ReaderChild&) = delete;

  bool Alive() const { return m_child.Running(); }

  QStringList Tables();
  std::vector<SourceColumn> Columns(const QString& table);
  // request: ReadTable or RunQuery.
  SourceTable Read(readerprotocol::Frame request, const QString& argument);
  QString TableFile(const QString& table);

 private:
  using Clock = std::chrono::steady_clock;

  void Start();
  void Send(const readerprotocol::FrameWriter& request);
  void Ask(readerprotocol::Frame request, const QString& argument);
  // The next frame of the answer; its body stays valid until the next call.
  // An Error frame throws its DbError.
  readerprotocol::Frame Next(readerprotocol::BodyReader& body);
  void Expect(readerprotocol::Frame wanted, readerprotocol::BodyReader& body);
  // False at the end of the stream.
  bool Receive();
  int Remaining() const;
  // Until the stream is ready for `events` (POLLIN, POLLOUT), in slices.
  void Await(short events);
  // Asks the settings' ReaderWait whether to go on waiting.
  void CallWait();

  // Ends the reader and throws why the request failed.
  [[noreturn]] void TimedOut();
  [[noreturn]] void Cancelled();
  [[noreturn]] void BadAnswer();
  [[noreturn]] void Ended();
  void Kill();

  ReaderProcessSettings m_settings;
  ChildProcess m_child;
  int m_fd = -1;
  Clock::time_point m_asked;     // when the request (or the open) was sent
  Clock::time_point m_deadline;  // the time limit from the request or the last byte read
  Clock::time_point m_lastWaitCall;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0;  // the unread bytes of m_buffer
  std::size_t m_end = 0;
  bool m_mayRefuse = true;  // an Error frame may come next (the first of an answer, or amid a table's rows)
};

}  // namespace pv
