#include "render/hosts.h"

#include "platform/runtime.h"

namespace pv {

float RenderCanvasHost::FontRatio() { return 0.0f; }

QString RenderPrintHost::GetFieldValue(QString& fieldName, QString&) { return Trim(fieldName); }
float RenderPrintHost::OCXFontRatio() { return 0.0f; }

QString RenderDataSourceHost::GetPredefinedFieldCaption(QString& key) { return PredefinedFieldCaption(key); }

bool RenderSettingsHost::PrintLow() { return false; }
bool RenderSettingsHost::PrintCircle() { return false; }
std::int32_t RenderSettingsHost::PrinterDpiY() { return 0; }

PV_DEFINE_HOST_SLOT(RenderCanvasHost, Headless)
PV_DEFINE_HOST_SLOT(RenderPrintHost, Headless)
PV_DEFINE_HOST_SLOT(RenderDataSourceHost, Headless)
PV_DEFINE_HOST_SLOT(RenderSettingsHost, Headless)

RenderCanvasHost& RenderCanvas() { return Slot<RenderCanvasHost>().Get(); }
RenderPrintHost& RenderPrint() { return Slot<RenderPrintHost>().Get(); }
RenderDataSourceHost& RenderDataSources() { return Slot<RenderDataSourceHost>().Get(); }
RenderSettingsHost& RenderSettings() { return Slot<RenderSettingsHost>().Get(); }

RenderCanvasHost* SetRenderCanvasHost(RenderCanvasHost* host) { return Slot<RenderCanvasHost>().Set(host); }
RenderPrintHost* SetRenderPrintHost(RenderPrintHost* host) { return Slot<RenderPrintHost>().Set(host); }
RenderDataSourceHost* SetRenderDataSourceHost(RenderDataSourceHost* host) { return Slot<RenderDataSourceHost>().Set(host); }
RenderSettingsHost* SetRenderSettingsHost(RenderSettingsHost* host) { return Slot<RenderSettingsHost>().Set(host); }

}  // namespace pv
