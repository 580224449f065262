// Writes the metafile fixtures into the folder given as the one argument (the
// seed corpus of the fuzz run).

#include "fixtures.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) return 1;
  for (const auto& [name, bytes] : pictor2_fixtures::AllFixtures()) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return 1;
  }
  return 0;
}
