// plavik: the program.
#include "app/database.h"
#include "app/desktop.h"
#include "app/startup.h"
#include "app/wiring.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
  // Without a desktop Qt would abort; say plainly what is missing instead.
  if (!pv::HasGraphicalSession()) {
    std::fprintf(stderr, "%s\n", pv::NoGraphicalSessionMessage().toLocal8Bit().constData());
    return 2;
  }
  pv::UseItalianSystemDates();
  QApplication app(argc, argv);
  pv::InstallItalianQtTexts(app);
  pv::InstallProgramHosts();
  if (!pv::Main()) return 1;
  const int rc = QApplication::exec();
  pv::CloseDatabase();
  return rc;
}
