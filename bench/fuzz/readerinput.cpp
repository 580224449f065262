#include "bench/fuzz/readerinput.h"

#include "datasources/process/readerprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace pv::fuzz {
namespace {

QTemporaryDir& Folder() {
  static QTemporaryDir folder;
  return folder;
}

void App() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

const char* FileName(SourceKind kind) {
  switch (kind) {
    case SourceKind::Access: return "archivio.mdb";
    case SourceKind::DBase: return "tabella.dbf";
    case SourceKind::Paradox: return "tabella.db";
    case SourceKind::Excel: return "cartella.xls";
    case SourceKind::Odbc: break;
  }
  std::abort();
}

using Opener = std::unique_ptr<SourceReader> (*)(const SourceLocation&);

// Writes the input as the source's file in the private folder and lets the
// reader list and read every table; each refusal goes to `refused`.
void Read(SourceKind kind, const uint8_t* data, size_t size, Opener open, void (*refused)(const DbError&)) {
  App();
  const QString file = Folder().filePath(QString::fromLatin1(FileName(kind)));
  {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const bool folderKind = kind == SourceKind::DBase || kind == SourceKind::Paradox;
  try {
    const auto reader = open({kind, folderKind ? Folder().path() : file, {}, {}});
    for (const QString& table : reader->Tables()) {
      try {
        reader->Columns(table);
        const SourceTable read = reader->ReadTable(table);
        for (const auto& row : read.rows) {
          if (row.size() != read.columns.size()) std::abort();  // the interface's promise
        }
      } catch (const DbError& e) {
        refused(e);
      }
    }
  } catch (const DbError& e) {
    refused(e);
  }
}

// The reader programs' checks, set up once: their sanitizers write their
// reports into a folder of this process's own (returned), empty while no
// reader program has reported, and a hang ends a read after 10 s, before the
// driver's own limit.
QString ReaderProgramChecks() {
  static const QString folder = [] {
    static QTemporaryDir reports;
    const QByteArray prefix = QFile::encodeName(reports.filePath(QStringLiteral("reader")));
    // The reader programs look for leaks as they end (detect_leaks), with
    // the suppressions the tests use; this process keeps its own options.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
      QByteArray options = qgetenv(name);
      if (!options.isEmpty()) options += ':';
      options += "log_path=" + prefix;
      if (QByteArrayView(name) == "ASAN_OPTIONS") options += ":detect_leaks=1";
      qputenv(name, options);
    }
    qputenv("LSAN_OPTIONS", "suppressions=" PLAVIK_LSAN_SUPPRESSIONS);
    ReaderProcessSettings settings = ReaderSettings();
    settings.timeLimitMs = 10 * 1000;
    SetReaderSettings(settings);
    return reports.path();
  }();
  return folder;
}

[[noreturn]] void Fault(const QString& what) {
  std::fprintf(stderr, "fuzz: the reader program failed: %s\n", what.toLocal8Bit().constData());
  std::abort();
}

// A refusal of the file goes on; a failure of the reader program itself (it
// ended, answered garbage or ran out of time) is a fault.
void ProgramRefused(const DbError& error) {
  const QString text = error.Description();
  if (text.startsWith(QStringLiteral("Il lettore dell'origine dati")) &&
      (text.contains(QStringLiteral("si è interrotto")) || text.contains(QStringLiteral("dati non validi")) ||
       text.contains(QStringLiteral("tempo massimo"))))
    Fault(text);
}

}  // namespace

void ReadInProcess(SourceKind kind, const uint8_t* data, size_t size) {
  Read(kind, data, size, OpenSourceReaderInProcess, [](const DbError&) {});
}

void ReadThroughProgram(SourceKind kind, const uint8_t* data, size_t size) {
  const QString reports = ReaderProgramChecks();
  Read(kind, data, size, OpenSourceReader, ProgramRefused);
  // The reader program has ended (its leak check included): any report it
  // wrote is a fault.
  const QStringList written = QDir(reports).entryList(QDir::Files);
  if (!written.isEmpty()) {
    for (const QString& name : written) {
      QFile report(QDir(reports).filePath(name));
      if (report.open(QIODevice::ReadOnly)) std::fwrite(report.readAll().constData(), 1, report.size(), stderr);
    }
    Fault(QStringLiteral("a sanitizer report"));
  }
}

}  // namespace pv::fuzz
