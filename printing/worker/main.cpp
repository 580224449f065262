// plavik-pages JOB FIRST LAST OUT: the page worker. Draws pages FIRST..LAST
// of the print job JOB (written by the program) into the PDF OUT, with no
// window. Writes "." for every page drawn; on a failure "!" and the reason,
// and exits with status 1. Status 2: wrong arguments.
#include "datasources/readers/numericlocale.h"
#include "platform/programfolder.h"
#include "printing/pageworker.h"

#include <QGuiApplication>

#include <cstdio>

#include <unistd.h>

namespace {

void Say(const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t put = ::write(STDOUT_FILENO, p, std::size_t(left));
    if (put <= 0) return;
    p += put;
    left -= put;
  }
}

bool ReadPage(const QString& text, int* out) {
  bool ok = false;
  const int v = text.toInt(&ok);
  if (!ok || v < 1) return false;
  *out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  int first = 0, last = 0;
  if (args.size() != 5 || !ReadPage(args[2], &first) || !ReadPage(args[3], &last)) {
    std::fprintf(stderr, "usage: plavik-pages JOB FIRST LAST OUT\n");
    return 2;
  }
  // Numbers in the C form, as in the program.
  pv::UseCNumericLocale();
  QString reason;
  const bool ok = pv::DrawJobPart(
      args[1], first, last, args[4], [] { Say(QByteArrayLiteral(".")); }, &reason);
  pv::RemoveTempImageFolder();
  if (ok) return 0;
  Say("!" + reason.toUtf8());
  return 1;
}
