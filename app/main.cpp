// plavik: the program.
#include "app/database.h"
#include "app/startup.h"
#include "app/window/install.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pv::InstallMessageBox();
  pv::InstallCommonDialogs();
  pv::InstallMainWindow();
  if (!pv::Main()) return 1;
  const int rc = QApplication::exec();
  pv::CloseDatabase();
  return rc;
}
