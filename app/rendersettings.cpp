#include "app/rendersettings.h"

#include "app/settings.h"
#include "render/hosts.h"

namespace pv {
namespace {

class ProgramRenderSettings : public RenderSettingsHost {
 public:
  bool PrintLow() override { return IsTrue(pv::PrintLow); }
  bool PrintCircle() override { return IsTrue(pv::PrintCircle); }
  std::int32_t PrinterDpiY() override { return pv::PrinterDpiY; }
};

}  // namespace

void InstallRenderSettings() {
  static ProgramRenderSettings settings;
  SetRenderSettingsHost(&settings);
}

}  // namespace pv
