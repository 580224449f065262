// plavik: the program.
//   plavik [file.lab]      a label named on the command line (the desktop's
//                          "Apri con") opens as File > Apri would open it.
//   --verifica-avvio       starts, ends at once as an orderly exit does
//                          (the settings written) and says every message on
//                          standard error instead of in a box: a check that
//                          an installed program starts.
#include "core/database.h"
#include "app/desktop.h"
#include "app/startup.h"
#include "app/window/services.h"
#include "app/wiring.h"
#include "document/labelfile.h"
#include "formats/wizardhost.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  // Without a desktop Qt would abort; say plainly what is missing instead.
  if (!pv::HasGraphicalSession()) {
    std::fprintf(stderr, "%s\n", pv::NoGraphicalSessionMessage().toLocal8Bit().constData());
    return 2;
  }
  pv::UseItalianSystemDates();
  QApplication app(argc, argv);
  // The desktop entry and the icon the install puts in the icon theme.
  QGuiApplication::setDesktopFileName(QStringLiteral("plavik"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("plavik")));
  pv::InstallItalianQtTexts(app);
  pv::InstallProgramHosts();
  QStringList args = QCoreApplication::arguments().mid(1);
  const bool check = args.removeAll(QStringLiteral("--verifica-avvio")) > 0;
  if (check) pv::SetMessageBoxHost(nullptr);
  if (!pv::Main()) return 1;
  if (!args.isEmpty() && pv::OpenNamedDocument(QFileInfo(args.first()).absoluteFilePath())) {
    pv::WizardWindow().SelectView(QStringLiteral("tbr_editor"));
  }
  if (check) {
    QTimer::singleShot(0, &app, [] {
      pv::Commands().SaveSettings();
      QCoreApplication::exit(0);
    });
  }
  const int rc = QApplication::exec();
  pv::CloseDatabase();
  return rc;
}
