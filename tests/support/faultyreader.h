#pragma once
// The reader program's settings for one test, put back afterwards: the test
// build of the reader (tests/datasources/process/readerfaults.cpp) making a
// fault, and a wait the test answers for the user. A test program that
// includes this links plavik_faulty_reader (tests/datasources/process).
#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"

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

class FaultyReaderScope {
 public:
  explicit FaultyReaderScope(const QString& fault, std::shared_ptr<pv::ReaderWait> wait = nullptr)
      : m_saved(pv::ReaderSettings()) {
    pv::ReaderProcessSettings settings = m_saved;
    settings.program = QStringLiteral(PLAVIK_READER_FAULTS_PROGRAM);
    settings.fault = fault;
    settings.wait = std::move(wait);
    pv::SetReaderSettings(settings);
  }
  ~FaultyReaderScope() { pv::SetReaderSettings(m_saved); }
  FaultyReaderScope(const FaultyReaderScope&) = delete;
  FaultyReaderScope& operator=(const FaultyReaderScope&) = delete;

 private:
  pv::ReaderProcessSettings m_saved;
};

}  // namespace testing
