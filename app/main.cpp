// plavik: the program.
#include "app/database.h"
#include "app/rendersettings.h"
#include "app/startup.h"
#include "app/window/install.h"
#include "editor/view/editcard.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  pv::InstallMessageBox();
  pv::InstallCommonDialogs();
  pv::InstallRenderSettings();
  pv::InstallEditCard();
  pv::InstallMainWindow();
  if (!pv::Main()) return 1;
  const int rc = QApplication::exec();
  pv::CloseDatabase();
  return rc;
}
