#include "platform/helperprogram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace pv {
namespace {

bool IsProgram(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

}  // namespace

QString FindHelperProgram(const QString& name, const QString& buildFolder) {
  // Without an application object (tools, benches): where this executable is.
  const QString here =
      QCoreApplication::instance() != nullptr
          ? QCoreApplication::applicationDirPath()
          : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
  for (const QString& dir : {here, here + QStringLiteral("/../lib/plavik"), buildFolder}) {
    const QString path = QDir(dir).filePath(name);
    if (!dir.isEmpty() && IsProgram(path)) return path;
  }
  return {};
}

pid_t StartHelperProgram(const QString& program, int in, int out, int* error) {
  // dup2 onto itself would keep close-on-exec: descriptors 0-2 of ours are
  // first copied above them.
  int theirIn = in;
  int theirOut = out;
  int copies[2] = {-1, -1};
  if (theirIn <= STDERR_FILENO) theirIn = copies[0] = ::fcntl(in, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  if (theirOut <= STDERR_FILENO) theirOut = copies[1] = ::fcntl(out, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, theirIn, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, theirOut, STDOUT_FILENO);
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGALRM, SIGXCPU}) sigaddset(&defaults, sig);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  QByteArray path = QFile::encodeName(program);
  char* argv[] = {path.data(), nullptr};
  pid_t pid = -1;
  int rc = theirIn < 0 || theirOut < 0 ? errno : 0;
  if (rc == 0) rc = posix_spawn(&pid, path.constData(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  for (int copy : copies) {
    if (copy >= 0) ::close(copy);
  }
  if (rc != 0) {
    *error = rc;
    return -1;
  }
  return pid;
}

}  // namespace pv
