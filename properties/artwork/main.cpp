// Writes the program's own graphics into the program folder given as the
// one argument: clip-art, label backgrounds and border frames.
#include "properties/artwork/designs.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 2) {
    QTextStream(stderr) << "usage: plavik_graphics <program folder>\n";
    return 2;
  }
  const int failures = pv::artwork::WriteProgramGraphics(args[1]);
  if (failures) QTextStream(stderr) << failures << " graphics could not be written\n";
  return failures ? 1 : 0;
}
