#include "render/hosts.h"

namespace pv {

float RenderCanvasHost::FontRatio() { return 0.0f; }

bool RenderSettingsHost::PrintLow() { return false; }
bool RenderSettingsHost::PrintCircle() { return false; }
std::int32_t RenderSettingsHost::PrinterDpiY() { return 0; }

PV_DEFINE_HOST_SLOT(RenderCanvasHost, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderCanvasHost, RenderCanvas, SetRenderCanvasHost)
PV_DEFINE_HOST_SLOT(RenderSettingsHost, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderSettingsHost, RenderSettings, SetRenderSettingsHost)

}  // namespace pv
