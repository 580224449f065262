#include "platform/childprocess.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

namespace pv {

ChildProcess::ChildProcess(pid_t pid) : m_pid(pid > 0 ? pid : -1) {
  // The system call itself: the C library's declaration of it is not usable
  // from C++ on every system the program builds on.
  if (m_pid > 0) m_pidfd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
}

ChildProcess::~ChildProcess() { Kill(); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_pidfd(std::exchange(other.m_pidfd, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Kill();
    m_pid = std::exchange(other.m_pid, -1);
    m_pidfd = std::exchange(other.m_pidfd, -1);
  }
  return *this;
}

std::optional<int> ChildProcess::Wait(Clock::time_point until) {
  for (;;) {
    if (const std::optional<int> status = Reap(WNOHANG)) return status;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    // The pidfd turns readable when the child ends; without one (a system
    // that refused it), the wait looks again after a millisecond.
    if (m_pidfd >= 0) {
      pollfd ended{m_pidfd, POLLIN, 0};
      ::poll(&ended, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
    } else {
      ::poll(nullptr, 0, 1);
    }
  }
}

std::optional<int> ChildProcess::Stop(Clock::time_point until) {
  if (const std::optional<int> status = Wait(until)) return status;
  Kill();
  return std::nullopt;
}

void ChildProcess::Kill() noexcept {
  if (!Running()) return;
  ::kill(m_pid, SIGKILL);
  int status = 0;
  while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
  }
  Release();
}

std::optional<int> ChildProcess::Reap(int flags) {
  if (!Running()) return 0;
  int status = 0;
  pid_t done = -1;
  do {
    done = ::waitpid(m_pid, &status, flags);
  } while (done < 0 && errno == EINTR);
  if (done == 0) return std::nullopt;
  // Ended, or no child of ours any more (someone else reaped it).
  const bool reaped = done == m_pid;
  Release();
  return reaped ? status : 0;
}

void ChildProcess::Release() noexcept {
  m_pid = -1;
  if (m_pidfd >= 0) ::close(m_pidfd);
  m_pidfd = -1;
}

}  // namespace pv
