// Writes the delivered data-merge templates into the program folder:
//
//   plavik_templates PROGRAM_FOLDER
//
// makes PROGRAM_FOLDER/graphics/template/N.LAB for every template.
#include "formats/templatedesigns.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: plavik_templates CARTELLA_PROGRAMMA\n");
    return 2;
  }
  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("graphics/template"));
  QString error;
  if (!pv::WriteDeliveredTemplates(folder, &error)) {
    std::fprintf(stderr, "plavik_templates: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
