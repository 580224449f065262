#include "render/hosts.h"

#include "platform/runtime.h"

namespace pv {

float RenderCanvasHost::FontRatio() { return 0.0f; }

QString RenderPrintHost::GetFieldValue(QString& fieldName, QString&) { return Trim(fieldName); }
float RenderPrintHost::OCXFontRatio() { return 0.0f; }

QString RenderDataSourceHost::GetPredefinedFieldCaption(QString& key) { return pv::GetPredefinedFieldCaption(key); }

bool RenderSettingsHost::PrintLow() { return false; }
bool RenderSettingsHost::PrintCircle() { return false; }
std::int32_t RenderSettingsHost::PrinterDpiY() { return 0; }

PV_DEFINE_HOST_SLOT(RenderCanvasHost, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderCanvasHost, RenderCanvas, SetRenderCanvasHost)
PV_DEFINE_HOST_SLOT(RenderPrintHost, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderPrintHost, RenderPrint, SetRenderPrintHost)
PV_DEFINE_HOST_SLOT(RenderDataSourceHost, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderDataSourceHost, RenderDataSources, SetRenderDataSourceHost)
PV_DEFINE_HOST_SLOT(RenderSettingsHost, Headless)
PV_DEFINE_HOST_ACCESSORS(RenderSettingsHost, RenderSettings, SetRenderSettingsHost)

}  // namespace pv
