// The faults of the test build of the reader (plavik-reader-faults). A fault
// is "what@request": crash, hang, slow, memory, cut, garbage, exit or values,
// at Open, Tables, Columns, ReadTable, RunQuery or TableFile; and for a
// table's rows: refuse, cutrows, endrows, miscount, trickle or stall.
//
// What a reader turned against the user would try, on a path after a colon
// ("create:/a/file@ReadTable"): create, write, read, truncate, opentrunc
// (an open that empties the file), remove, rename (to the path with ".old");
// and exec (/bin/sh) and socket (a TCP one). Refused, the request fails with
// "what: errno"; done, it goes on as usual.
//
// "unconfined:" before a fault leaves the reader unconfined, "landlock=N:"
// confines it with version N of Landlock at most (0: none); the fault
// "unconfinable@Open" has the kernel refuse the confinement.
#include "datasources/process/protocol.h"
#include "everyvalue.h"

#include <QFile>

#include <fcntl.h>
#include <seccomp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace pv {

using readerprotocol::Frame;

namespace {

const char* RequestName(Frame request) {
  switch (request) {
    case Frame::Open: return "Open";
    case Frame::Tables: return "Tables";
    case Frame::Columns: return "Columns";
    case Frame::ReadTable: return "ReadTable";
    case Frame::RunQuery: return "RunQuery";
    case Frame::TableFile: return "TableFile";
    default: return "";
  }
}

void Write(int out, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(out, p, n);
    if (put <= 0) std::_Exit(EXIT_FAILURE);
    p += put;
    n -= static_cast<std::size_t>(put);
  }
}

// The result of a call that a confined reader is refused.
int Tried(const QString& what, int result) {
  if (result < 0) throw DbError(DbErrProvider, QStringLiteral("%1: %2").arg(what).arg(errno));
  return result;
}

// True when `what` is one of the attempts, made on `path`.
bool Attempt(const QString& what, const QByteArray& path) {
  if (what == QLatin1String("create")) {
    ::close(Tried(what, ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)));
  } else if (what == QLatin1String("write")) {
    ::close(Tried(what, ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC)));
  } else if (what == QLatin1String("read")) {
    ::close(Tried(what, ::open(path.constData(), O_RDONLY | O_CLOEXEC)));
  } else if (what == QLatin1String("truncate")) {
    Tried(what, ::truncate(path.constData(), 0));
  } else if (what == QLatin1String("opentrunc")) {
    ::close(Tried(what, ::open(path.constData(), O_RDONLY | O_TRUNC | O_CLOEXEC)));
  } else if (what == QLatin1String("remove")) {
    Tried(what, ::unlink(path.constData()));
  } else if (what == QLatin1String("rename")) {
    Tried(what, ::rename(path.constData(), (path + ".old").constData()));
  } else if (what == QLatin1String("socket")) {
    ::close(Tried(what, ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)));
  } else if (what == QLatin1String("exec")) {
    char* const argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>("exit 0"), nullptr};
    pid_t pid = 0;
    errno = ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ);
    if (errno != 0) Tried(what, -1);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  } else {
    return false;
  }
  return true;
}

// Has the kernel refuse what the confinement asks of it: Landlock's last
// step and the loading of a seccomp filter.
void RefuseConfinement() {
  scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
  const std::uint32_t refuse = SCMP_ACT_ERRNO(EPERM);
  if (filter == nullptr || seccomp_rule_add(filter, refuse, SCMP_SYS(landlock_restrict_self), 0) < 0 ||
      seccomp_rule_add(filter, refuse, SCMP_SYS(seccomp), 0) < 0 ||
      seccomp_rule_add(filter, refuse, SCMP_SYS(prctl), 1, SCMP_A0(SCMP_CMP_EQ, PR_SET_SECCOMP)) < 0 ||
      seccomp_load(filter) < 0)
    std::_Exit(EXIT_FAILURE);
  seccomp_release(filter);
}

}  // namespace

bool ConfinedForFault(QString& fault, int& landlockAbi) {
  const QString unconfined = QStringLiteral("unconfined:");
  if (fault.startsWith(unconfined)) {
    fault.remove(0, unconfined.size());
    return false;
  }
  const QString landlock = QStringLiteral("landlock=");
  if (fault.startsWith(landlock)) {
    const qsizetype colon = fault.indexOf(QLatin1Char(':'));
    landlockAbi = std::min(landlockAbi, fault.mid(landlock.size(), colon - landlock.size()).toInt());
    fault.remove(0, colon + 1);
  }
  if (fault == QLatin1String("unconfinable@Open")) RefuseConfinement();
  return true;
}

bool HandleFault(const QString& fault, Frame request, int out, SourceTable& table) {
  if (fault.section(QLatin1Char('@'), 1) != QLatin1String(RequestName(request))) return false;
  const QString what = fault.section(QLatin1Char('@'), 0, 0).section(QLatin1Char(':'), 0, 0);
  if (Attempt(what, QFile::encodeName(fault.section(QLatin1Char('@'), 0, 0).section(QLatin1Char(':'), 1))))
    return false;
  if (what == QLatin1String("crash")) ::raise(SIGSEGV);
  if (what == QLatin1String("hang")) {
    for (;;) ::pause();
  }
  if (what == QLatin1String("memory")) {
    // Until the memory limit stops it: the allocation that fails throws.
    static std::vector<char*> blocks;
    for (;;) {
      constexpr std::size_t kBlock = 16 * 1024 * 1024;
      char* block = new char[kBlock];
      std::memset(block, 1, kBlock);
      blocks.push_back(block);
    }
  }
  if (what == QLatin1String("cut")) {
    readerprotocol::FrameWriter writer;
    writer.Begin(Frame::Names);
    writer.U32(3);
    for (const char* name : {"uno", "due", "tre"}) writer.Text(QString::fromLatin1(name));
    writer.End();
    Write(out, writer.Data(), writer.Size() / 2);
    std::_Exit(EXIT_SUCCESS);
  }
  if (what == QLatin1String("garbage")) {
    // A frame header of an unknown kind with a body too long for any frame,
    // and then silence: the program must not wait for the rest.
    const char bytes[] = "\xff\xff\xff\x7fZgarbage";
    Write(out, bytes, sizeof bytes - 1);
    for (;;) ::pause();
  }
  if (what == QLatin1String("exit")) std::_Exit(EXIT_SUCCESS);
  if (what == QLatin1String("slow")) {
    // Answers as usual, late.
    const timespec pause{0, 600 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
    return false;
  }
  if (what == QLatin1String("refuse") || what == QLatin1String("cutrows") || what == QLatin1String("endrows") ||
      what == QLatin1String("miscount")) {
    // The start of a table (its columns and a frame of rows), then the fault.
    readerprotocol::FrameWriter writer;
    writer.Begin(Frame::Table);
    writer.Columns({{QStringLiteral("NOME"), ColumnType::Text}});
    writer.End();
    for (int frame = 0; frame < 2; ++frame) {
      writer.Begin(Frame::Rows);
      writer.U32(2);
      writer.Value(QStringLiteral("prima"));
      writer.Value(QStringLiteral("seconda"));
      writer.End();
    }
    if (what == QLatin1String("cutrows")) {
      Write(out, writer.Data(), writer.Size() - 3);
      std::_Exit(EXIT_SUCCESS);
    }
    Write(out, writer.Data(), writer.Size());
    if (what == QLatin1String("endrows")) std::_Exit(EXIT_SUCCESS);
    if (what == QLatin1String("refuse")) throw DbError(DbErrProvider, QStringLiteral("Record 3 illeggibile."));
    writer.Clear();
    writer.Begin(Frame::End);
    writer.I64(5);  // one more than were sent
    writer.End();
    Write(out, writer.Data(), writer.Size());
    for (;;) ::pause();  // the program ends this reader
  }
  if (what == QLatin1String("trickle") || what == QLatin1String("stall")) {
    // A table of kTrickleFrames frames of two rows (NUMERO 0, 1, 2, ...),
    // one frame every 250 ms, 2.5 s in all; then the reader exits. A stall
    // sends the columns and the first frame, and then nothing.
    constexpr int kTrickleFrames = 10;
    readerprotocol::FrameWriter writer;
    writer.Begin(Frame::Table);
    writer.Columns({{QStringLiteral("NUMERO"), ColumnType::Integer}});
    writer.End();
    for (int frame = 0; frame < kTrickleFrames; ++frame) {
      writer.Begin(Frame::Rows);
      writer.U32(2);
      writer.Value(QVariant(qint64{frame} * 2));
      writer.Value(QVariant(qint64{frame} * 2 + 1));
      writer.End();
      Write(out, writer.Data(), writer.Size());
      writer.Clear();
      if (what == QLatin1String("stall")) {
        for (;;) ::pause();
      }
      const timespec pause{0, 250 * 1000 * 1000};
      ::nanosleep(&pause, nullptr);
    }
    writer.Begin(Frame::End);
    writer.I64(kTrickleFrames * 2);
    writer.End();
    Write(out, writer.Data(), writer.Size());
    std::_Exit(EXIT_SUCCESS);
  }
  if (what == QLatin1String("values")) {
    table = testing::EveryValueKind();
    return true;
  }
  return false;
}

}  // namespace pv
