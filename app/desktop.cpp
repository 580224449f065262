#include "app/desktop.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <locale.h>

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

namespace {

// Qt 6 asks the type of a folder and of a drive under a context of its own
// (QAbstractFileIconProvider) that the Italian texts do not have: the file
// dialog said "Folder". The same words are there under the file dialog's
// context, and are taken from it.
class QtTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (text.isEmpty() && context != nullptr && qstrcmp(context, "QAbstractFileIconProvider") == 0) {
      text = QTranslator::translate("QFileDialog", sourceText, nullptr, n);
    }
    return text;
  }
};

}  // namespace

bool InstallItalianQtTexts(QCoreApplication& app) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  // Kept for the life of the program, as the application keeps a pointer.
  auto* translator = new QtTexts(&app);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(QStringLiteral("qtbase_it"), folder) && !translator->load(QStringLiteral("qt_it"), folder)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void UseItalianSystemDates(const std::function<QByteArray(const char*)>& env,
                           const std::function<void(const char*, const QByteArray&)>& set) {
  const auto read = [&](const char* name) { return env ? env(name) : qgetenv(name); };
  const auto write = [&](const char* name, const QByteArray& value) {
    if (set) {
      set(name, value);
    } else if (value.isEmpty()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  };
  static constexpr char kItalian[] = "it_IT.UTF-8";
  // A locale the C library does not know would make the whole setlocale()
  // of the application fail, and the program run in the C locale.
  if (const locale_t probe = newlocale(LC_TIME_MASK, kItalian, locale_t(nullptr)); probe != locale_t(nullptr)) {
    freelocale(probe);
  } else {
    return;
  }
  // LC_ALL overrides every category: it is spread over those that have no
  // value of their own, so that only the time category changes.
  const QByteArray all = read("LC_ALL");
  if (!all.isEmpty()) {
    for (const char* category : {"LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY", "LC_MESSAGES", "LC_PAPER",
                                 "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"}) {
      if (read(category).isEmpty()) write(category, all);
    }
    write("LC_ALL", QByteArray());
  }
  write("LC_TIME", QByteArray(kItalian));
}

}  // namespace pv
