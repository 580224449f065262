#include "bench/fuzz/readerinput.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace pv::fuzz {
namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir folder;
  return folder;
}

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

}  // namespace

void ReadAsSource(SourceKind kind, const char* fileName, const uint8_t* data, size_t size) {
  App();
  const QString file = Folder().filePath(QString::fromLatin1(fileName));
  {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const bool folderKind = kind == SourceKind::DBase || kind == SourceKind::Paradox;
  try {
    const auto reader = OpenSourceReader({kind, folderKind ? Folder().path() : file, {}, {}});
    for (const QString& table : reader->Tables()) {
      try {
        reader->Columns(table);
        const SourceTable read = reader->ReadTable(table);
        for (const auto& row : read.rows) {
          if (row.size() != read.columns.size()) abort();  // the interface's promise
        }
      } catch (const DbError&) {
      }
    }
  } catch (const DbError&) {
  }
}

QByteArray SeedFile(const char* fileName, void (*write)(const QByteArray& path)) {
  App();
  QTemporaryDir folder;
  const QString path = folder.filePath(QString::fromLatin1(fileName));
  write(QFile::encodeName(path));
  QFile in(path);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

}  // namespace pv::fuzz
