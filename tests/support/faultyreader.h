#pragma once
// The test build of the reader (tests/datasources/process/readerfaults.cpp)
// making a fault, and a wait the test answers for the user. A test program that
// includes this links plavik_faulty_reader (tests/datasources/process).
#include "datasources/process/readerwait.h"
#include "tests/support/readersettings.h"

#include <QString>

#include <memory>

namespace testing {

// The user presses "Annulla" as soon as the wait is first asked.
class CancellingWait : public pv::ReaderWait {
 public:
  bool Waiting(std::chrono::milliseconds) override {
    ++asked;
    return false;
  }
  int asked = 0;
};

// The test build of the reader making `fault`, with `wait`.
inline pv::ReaderProcessSettings FaultyReader(const QString& fault, std::shared_ptr<pv::ReaderWait> wait = nullptr) {
  pv::ReaderProcessSettings settings = WithWait(std::move(wait));
  settings.program = QStringLiteral(PLAVIK_READER_FAULTS_PROGRAM);
  settings.fault = fault;
  return settings;
}

}  // namespace testing
