#include "datasources/process/readerprocess.h"

#include "platform/helperprogram.h"

#include <mutex>

namespace pv {

namespace {

std::mutex g_mutex;
ReaderProcessSettings g_settings;

}  // namespace

ReaderProcessSettings ReaderSettings() {
  std::lock_guard lock(g_mutex);
  return g_settings;
}

void SetReaderSettings(const ReaderProcessSettings& settings) {
  std::lock_guard lock(g_mutex);
  g_settings = settings;
}

QString ReaderProgram() {
  return FindHelperProgram(QStringLiteral("plavik-reader"), QStringLiteral(PLAVIK_READER_DIR));
}

}  // namespace pv
