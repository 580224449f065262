#pragma once
// The owner of one child process of this program (a helper program it
// started): it waits for the child with a deadline, stops it, and when it
// goes out of scope kills and reaps a child still running, so that no path
// out of the code that started it, an exception's included, leaves a child
// running or a zombie behind.
#include <sys/types.h>

#include <chrono>
#include <optional>

namespace pv {

class ChildProcess {
 public:
  using Clock = std::chrono::steady_clock;

  ChildProcess() = default;
  // Owns `pid`, a child this process has just started; a pid of 0 or less
  // owns none.
  explicit ChildProcess(pid_t pid);
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // True until the child has been reaped.
  bool Running() const { return m_pid > 0; }

  // Waits until the child ends or `until` has passed: its wait status once
  // it has ended and been reaped, nothing while it still runs.
  std::optional<int> Wait(Clock::time_point until);
  // Waits until `until` for the child to end by itself (it was told to, as
  // by the end of its input), then kills it: its wait status, or nothing
  // when it had to be killed.
  std::optional<int> Stop(Clock::time_point until);
  // Kills the child at once and reaps it.
  void Kill() noexcept;

 private:
  // Its status if the child has ended (waitpid with `flags`).
  std::optional<int> Reap(int flags);
  void Release() noexcept;

  pid_t m_pid = -1;
  int m_pidfd = -1;  // readable once the child has ended; -1 when the system gave none
};

}  // namespace pv
