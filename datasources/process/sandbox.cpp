#include "datasources/process/sandbox.h"

#include <QFile>

#include <fcntl.h>
#include <linux/landlock.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

// The rights of later versions than the system's headers may know.
#ifndef LANDLOCK_ACCESS_FS_REFER
#define LANDLOCK_ACCESS_FS_REFER (1ULL << 13)
#endif
#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif

namespace pv {

namespace {

using Rights = std::uint64_t;

constexpr Rights kRead = LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR;
constexpr Rights kExecute = LANDLOCK_ACCESS_FS_EXECUTE;
constexpr Rights kChange = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
                           LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR | LANDLOCK_ACCESS_FS_MAKE_DIR |
                           LANDLOCK_ACCESS_FS_MAKE_REG | LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO |
                           LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM | LANDLOCK_ACCESS_FS_REFER |
                           LANDLOCK_ACCESS_FS_TRUNCATE;
// What a rule on a file, not a folder, may allow.
constexpr Rights kFileRights = LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_WRITE_FILE |
                               LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_TRUNCATE;

// The rights a version of Landlock knows: the first thirteen from the
// first, linking and renaming across folders (REFER) from the second,
// truncation from the third. The later ones add rights a reader has no use
// for (the network, which the seccomp filter closes, and device ioctls).
Rights KnownRights(int abi) {
  Rights rights = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1;
  if (abi >= 2) rights |= LANDLOCK_ACCESS_FS_REFER;
  if (abi >= 3) rights |= LANDLOCK_ACCESS_FS_TRUNCATE;
  return rights;
}

// Where a file source's libraries read their own data: the locales, the
// code pages and iconv's modules, the time zones, the system's settings,
// the libraries themselves where /lib is not /usr/lib.
constexpr const char* kSystemData[] = {"/usr", "/etc", "/lib", "/lib64"};

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build's leak checker reads its suppressions file when it
// first checks, at exit; the file is named in LSAN_OPTIONS (options apart by
// spaces, colons or commas, a value maybe in quotes).
QByteArrayList LeakSuppressions() {
  QByteArrayList files;
  QString options = qEnvironmentVariable("LSAN_OPTIONS");
  for (QChar& c : options)
    if (c == QLatin1Char(':') || c == QLatin1Char(',') || c.isSpace()) c = QLatin1Char(' ');
  for (const QString& option : options.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (!option.startsWith(QLatin1String("suppressions="))) continue;
    QString file = option.mid(option.indexOf(QLatin1Char('=')) + 1);
    if (file.size() >= 2 && (file.front() == QLatin1Char('"') || file.front() == QLatin1Char('\'')))
      file = file.mid(1, file.size() - 2);
    files << QFile::encodeName(file);
  }
  return files;
}
#endif

// A step the kernel refused.
struct Refused {
  const char* step;
  int error;
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

// Allows `rights` (as far as the ruleset handles them) beneath `path`; a
// path that is not there is left out: what is not there cannot be read.
void Allow(int ruleset, Rights handled, const char* path, Rights rights) {
  const Descriptor at(::open(path, O_PATH | O_CLOEXEC));
  if (at.Get() < 0) return;
  struct stat st {};
  if (::fstat(at.Get(), &st) != 0) throw Refused{"fstat", errno};
  landlock_path_beneath_attr rule{};
  rule.allowed_access = rights & handled & (S_ISDIR(st.st_mode) ? ~Rights{0} : kFileRights);
  rule.parent_fd = at.Get();
  if (rule.allowed_access == 0) return;
  if (::syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) != 0)
    throw Refused{"landlock_add_rule", errno};
}

void RestrictFiles(const SourceLocation& location, int abi) {
  const bool fileSource = location.kind != SourceKind::Odbc;
  landlock_ruleset_attr attributes{};
  attributes.handled_access_fs = (kChange | kExecute | (fileSource ? kRead : 0)) & KnownRights(abi);
  const Rights handled = attributes.handled_access_fs;
  const Descriptor ruleset(static_cast<int>(::syscall(SYS_landlock_create_ruleset, &attributes, sizeof attributes, 0)));
  if (ruleset.Get() < 0) throw Refused{"landlock_create_ruleset", errno};
  if (fileSource) {
    Allow(ruleset.Get(), handled, QFile::encodeName(location.path).constData(), kRead);
    for (const char* place : kSystemData) Allow(ruleset.Get(), handled, place, kRead);
    // The process's own entries (/proc/self is this process's folder), the
    // program's file (the sanitizers' symbols), the processors online.
    Allow(ruleset.Get(), handled, "/proc/self", kRead);
    Allow(ruleset.Get(), handled, "/proc/self/exe", kRead);
    Allow(ruleset.Get(), handled, "/sys/devices/system/cpu", kRead);
    for (const char* device : {"/dev/null", "/dev/zero", "/dev/urandom"})
      Allow(ruleset.Get(), handled, device, LANDLOCK_ACCESS_FS_READ_FILE);
#if defined(__SANITIZE_ADDRESS__)
    for (const QByteArray& file : LeakSuppressions())
      Allow(ruleset.Get(), handled, file.constData(), LANDLOCK_ACCESS_FS_READ_FILE);
#endif
  }
  if (::syscall(SYS_landlock_restrict_self, ruleset.Get(), 0) != 0) throw Refused{"landlock_restrict_self", errno};
}

struct FilterRelease {
  void operator()(void* filter) const { seccomp_release(filter); }
};

void Rule(scmp_filter_ctx filter, std::uint32_t action, int call, const scmp_arg_cmp* argument = nullptr) {
  const int rc = argument != nullptr ? seccomp_rule_add(filter, action, call, 1, *argument)
                                     : seccomp_rule_add(filter, action, call, 0);
  if (rc < 0) throw Refused{"seccomp_rule_add", -rc};
}

void FilterCalls(const SourceLocation& location, int abi) {
  // A kernel built without seccomp has nothing to offer.
  if (::prctl(PR_GET_SECCOMP, 0, 0, 0, 0) < 0 && errno == EINVAL) return;
  const std::unique_ptr<void, FilterRelease> filter(seccomp_init(SCMP_ACT_ALLOW));
  if (!filter) throw Refused{"seccomp_init", ENOMEM};
  const std::uint32_t refuse = SCMP_ACT_ERRNO(EPERM);
  Rule(filter.get(), refuse, SCMP_SYS(execve));
  Rule(filter.get(), refuse, SCMP_SYS(execveat));
  // io_uring opens files and sockets without the calls this filter sees.
  Rule(filter.get(), SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(io_uring_setup));
  if (location.kind != SourceKind::Odbc) Rule(filter.get(), refuse, SCMP_SYS(socket));
  if (abi < 3) {
    // Before its third version Landlock lets a file that may be read be
    // emptied, by truncate() or by an open with O_TRUNC.
    const scmp_arg_cmp openFlags = SCMP_A1(SCMP_CMP_MASKED_EQ, O_TRUNC, O_TRUNC);
    const scmp_arg_cmp openatFlags = SCMP_A2(SCMP_CMP_MASKED_EQ, O_TRUNC, O_TRUNC);
    Rule(filter.get(), refuse, SCMP_SYS(truncate));
    Rule(filter.get(), refuse, SCMP_SYS(creat));
    Rule(filter.get(), refuse, SCMP_SYS(open), &openFlags);
    Rule(filter.get(), refuse, SCMP_SYS(openat), &openatFlags);
    // Its flags are out of the filter's sight.
    Rule(filter.get(), SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(openat2));
  }
  const int rc = seccomp_load(filter.get());
  if (rc < 0) throw Refused{"seccomp", -rc};
}

}  // namespace

int LandlockAbi() {
  const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
  return abi > 0 ? static_cast<int>(abi) : 0;
}

QString ConfineReader(const SourceLocation& location, int landlockAbi) {
  try {
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) throw Refused{"no_new_privs", errno};
    if (landlockAbi > 0) RestrictFiles(location, landlockAbi);
    FilterCalls(location, landlockAbi);
  } catch (const Refused& refused) {
    return QStringLiteral("Il lettore dell'origine dati non può rinunciare ai permessi che non gli servono (%1: %2).")
        .arg(QLatin1String(refused.step), QString::fromLocal8Bit(std::strerror(refused.error)));
  }
  return {};
}

}  // namespace pv
