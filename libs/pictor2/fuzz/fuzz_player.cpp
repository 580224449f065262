// libFuzzer entry: any bytes, played into a small image surface as a metafile.
// The player must neither crash, hang nor read outside the buffer.

#include "libs/pictor2/metafile.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

namespace {
QGuiApplication* App() {
  static int argc = 1;
  static char name[] = "pictor2_fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QGuiApplication(argc, argv);
  }();
  return app;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  App();
  pv::ImageSurface surface(64, 48);
  pv::pictor::PlayMetafile(surface.dc(), data, size, pv::Rect{4, 4, 60, 44});
  (void)pv::pictor::ReadEmfFrame(data, size);
  return 0;
}
