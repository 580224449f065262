// plavik: the program.
#include "app/database.h"
#include "app/startup.h"
#include "app/wiring.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pv::InstallProgramHosts();
  if (!pv::Main()) return 1;
  const int rc = QApplication::exec();
  pv::CloseDatabase();
  return rc;
}
