#pragma once
// What the program does while it waits for the reader program to answer.
// The wait goes in short slices; between them the reader's ReaderWait is
// asked whether to go on. Without one (tools, tests) the program just waits,
// up to the request's time limit.
//
// The program's window installs a NoticeReaderWait: after about a second of
// waiting it shows a notice the user can cancel (a modal dialog), and keeps
// the window alive by handling its events between the slices.
#include <QString>

#include <chrono>
#include <memory>
#include <thread>

namespace pv {

class ReaderWait {
 public:
  virtual ~ReaderWait() = default;
  // The answer to one request has been awaited for `waited` so far; false
  // ends the wait (the user cancelled), and the request fails with a
  // DbError of DbErrCancelled and ReaderCancelledText(): the user's choice,
  // which callers tell apart from a failure and report to no one.
  virtual bool Waiting(std::chrono::milliseconds waited) = 0;
  // The request's wait is over, answered or not.
  virtual void Ended() {}
  // Work waited for on a worker thread (waitedwork.h) leaves the window
  // free to be drawn: its paints are handled, and no input.
  virtual void Repaint() {}
};

// Why a request the user cancelled failed.
QString ReaderCancelledText();

// The user's side of a long wait, the only part with widgets: a notice that
// shows and hides, and that handles the program's events and says whether
// the user cancelled.
class WaitNotice {
 public:
  virtual ~WaitNotice() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // Handles the events that are waiting; true once the user cancelled.
  virtual bool Cancelled() = 0;
  // Handles the events that are waiting except the user's input.
  virtual void Repaint() {}
};

class NoticeReaderWait : public ReaderWait {
 public:
  static constexpr std::chrono::milliseconds kShowAfter{1000};

  explicit NoticeReaderWait(std::unique_ptr<WaitNotice> notice, std::chrono::milliseconds showAfter = kShowAfter);

  bool Waiting(std::chrono::milliseconds waited) override;
  void Ended() override;
  void Repaint() override;

  bool Shown() const { return m_shown; }

 private:
  std::unique_ptr<WaitNotice> m_notice;
  std::chrono::milliseconds m_showAfter;
  // The notice and the events are the window's: only the thread that made
  // this wait (the window's) shows them; a read on another thread just waits.
  std::thread::id m_thread;
  bool m_shown = false;
  // Events are being handled: a request one of them starts waits without
  // handling more, and its end leaves the notice to the request that showed it.
  bool m_handling = false;
};

}  // namespace pv
