// dbserver-crash FOLDER: starts a PostgreSQL server in FOLDER, prints its
// process id and dies at once by SIGKILL, as a crashed test program would:
// the server must not outlive it.
#include "tests/support/dbservers.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

#include <signal.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return 2;
  try {
    pv::test::DbServer server(pv::test::DbEngine::PostgreSql, QString::fromLocal8Bit(argv[1]));
    server.Start();
    std::printf("%d\n", static_cast<int>(server.Pid()));
    std::fflush(stdout);
    raise(SIGKILL);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return 1;
}
