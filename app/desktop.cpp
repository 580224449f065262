#include "app/desktop.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pv {

bool HasGraphicalSession(const std::function<QByteArray(const char*)>& env) {
  const auto read = [&](const char* name) { return env ? env(name) : qgetenv(name); };
  return !read("DISPLAY").isEmpty() || !read("WAYLAND_DISPLAY").isEmpty() || !read("QT_QPA_PLATFORM").isEmpty();
}

QString NoGraphicalSessionMessage() {
  return QStringLiteral(
      "plavik: nessuna sessione grafica. Il programma ha bisogno di un desktop (variabile DISPLAY o "
      "WAYLAND_DISPLAY): avviarlo da una sessione grafica.");
}

bool InstallItalianQtTexts(QCoreApplication& app) {
  // Kept for the life of the program, as the application keeps a pointer.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qt_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace pv
