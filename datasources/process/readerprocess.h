#pragma once
// The reader program (plavik-reader) that reads every user data source in a
// process of its own, and the limits it runs under. OpenSourceReader starts
// it; these settings are read when a reader is opened.
#include <QString>

#include <memory>

namespace pv {

class ReaderWait;

struct ReaderProcessSettings {
  // The reader program; empty for ReaderProgram().
  QString program;
  // How long the reader may keep silent: from the request to its first
  // byte, or between two bytes of its answer. An answer that keeps coming
  // has no limit but the user's cancel.
  int timeLimitMs = 60 * 1000;
  // The reader's address space in bytes; 0 for no limit.
  qint64 memoryLimit = qint64{4} * 1024 * 1024 * 1024;
  // Asked while the program waits for an answer (readerwait.h); null: the
  // program just waits.
  std::shared_ptr<ReaderWait> wait;
  // A fault for the test build of the reader to make; the reader program
  // itself ignores it.
  QString fault;
};

ReaderProcessSettings ReaderSettings();
void SetReaderSettings(const ReaderProcessSettings& settings);

// The reader program: beside the running program, else in the program
// folder of the build; empty when neither has it.
QString ReaderProgram();

}  // namespace pv
