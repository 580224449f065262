#pragma once
// The reader program's settings for one test, put back afterwards.
#include "datasources/process/readerprocess.h"

namespace testing {

class ReaderSettingsScope {
 public:
  explicit ReaderSettingsScope(const pv::ReaderProcessSettings& settings) : m_saved(pv::ReaderSettings()) {
    pv::SetReaderSettings(settings);
  }
  ~ReaderSettingsScope() { pv::SetReaderSettings(m_saved); }
  ReaderSettingsScope(const ReaderSettingsScope&) = delete;
  ReaderSettingsScope& operator=(const ReaderSettingsScope&) = delete;

  const pv::ReaderProcessSettings& Saved() const { return m_saved; }

 private:
  pv::ReaderProcessSettings m_saved;
};

// The settings in force with another wait.
inline pv::ReaderProcessSettings WithWait(std::shared_ptr<pv::ReaderWait> wait) {
  pv::ReaderProcessSettings settings = pv::ReaderSettings();
  settings.wait = std::move(wait);
  return settings;
}

}  // namespace testing
