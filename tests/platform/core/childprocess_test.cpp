#include "platform/childprocess.h"
#include "platform/helperprogram.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <stdexcept>

namespace pv {
namespace {

using Clock = ChildProcess::Clock;

// No child of this process left running or unreaped.
void ExpectNoChildren() {
  int status = 0;
  errno = 0;
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

// `cat` reading a pipe this test holds: it runs until the pipe is closed.
class Cat {
 public:
  Cat() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    m_input = ends[1];
    const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    int error = 0;
    m_pid = StartHelperProgram(QStringLiteral("/bin/cat"), ends[0], sink, &error);
    ::close(ends[0]);
    ::close(sink);
    if (m_pid <= 0) throw std::runtime_error("cat does not start");
  }
  ~Cat() { CloseInput(); }
  Cat(const Cat&) = delete;
  Cat& operator=(const Cat&) = delete;

  pid_t Pid() const { return m_pid; }
  void CloseInput() {
    if (m_input >= 0) ::close(m_input);
    m_input = -1;
  }

 private:
  pid_t m_pid = -1;
  int m_input = -1;
};

TEST(ChildProcess, AnExceptionLeavesNoChildNorZombie) {
  Cat cat;
  try {
    ChildProcess child(cat.Pid());
    ChildProcess owner;
    owner = std::move(child);
    EXPECT_FALSE(child.Running());
    EXPECT_TRUE(owner.Running());
    throw std::runtime_error("the request failed");
  } catch (const std::runtime_error&) {
  }
  ExpectNoChildren();
}

TEST(ChildProcess, StopReapsAChildThatEndsAndKillsOneThatDoesNot) {
  struct Case {
    bool toldToEnd;
    Clock::duration grace;
    bool endsByItself;
  };
  // A child told to end is waited for as long as it takes here; one that
  // was not is given no time at all.
  for (const Case c : {Case{true, std::chrono::hours(1), true}, Case{false, Clock::duration::zero(), false}}) {
    SCOPED_TRACE(c.toldToEnd);
    Cat cat;
    ChildProcess child(cat.Pid());
    if (c.toldToEnd) cat.CloseInput();
    const std::optional<int> status = child.Stop(Clock::now() + c.grace);
    ASSERT_EQ(status.has_value(), c.endsByItself);
    if (status) {
      EXPECT_TRUE(WIFEXITED(*status));
      EXPECT_EQ(WEXITSTATUS(*status), 0);
    }
    EXPECT_FALSE(child.Running());
    ExpectNoChildren();
  }
}

TEST(ChildProcess, AWaitThatRunsOutLeavesTheChildRunning) {
  Cat cat;
  ChildProcess child(cat.Pid());
  EXPECT_FALSE(child.Wait(Clock::now()).has_value());
  EXPECT_TRUE(child.Running());
  child.Kill();
  EXPECT_FALSE(child.Running());
  ExpectNoChildren();
}

}  // namespace
}  // namespace pv
