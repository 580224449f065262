#include "render/hosts.h"
#include "platform/hostslot.h"

#include "platform/runtime.h"
#include "platform/stringtable.h"

namespace pv {

float RenderCanvasHost::FontRatio() { return 0.0f; }

QString RenderPrintHost::GetFieldValue(QString& fieldName, QString&) { return Trim(fieldName); }
float RenderPrintHost::OCXFontRatio() { return 0.0f; }

QString RenderDataSourceHost::GetPredefinedFieldCaption(QString& key) {
  key = Trim(key);
  if (key == QLatin1String(PredefinedCounterKey)) return LoadResString(32005);
  if (key == QLatin1String(PredefinedDateKey)) return LoadResString(32006);
  if (key == QLatin1String(PredefinedRandomKey)) return LoadResString(32007);
  return key;
}

bool RenderSettingsHost::PrintLow() { return false; }
bool RenderSettingsHost::PrintCircle() { return false; }
std::int32_t RenderSettingsHost::PrinterDpiY() { return 0; }

namespace {
HostSlot<RenderCanvasHost>& CanvasSlot() { static HostSlot<RenderCanvasHost> s; return s; }
HostSlot<RenderPrintHost>& PrintSlot() { static HostSlot<RenderPrintHost> s; return s; }
HostSlot<RenderDataSourceHost>& DataSlot() { static HostSlot<RenderDataSourceHost> s; return s; }
HostSlot<RenderSettingsHost>& SettingsSlot() { static HostSlot<RenderSettingsHost> s; return s; }
}  // namespace

RenderCanvasHost& RenderCanvas() { return CanvasSlot().Get(); }
RenderPrintHost& RenderPrint() { return PrintSlot().Get(); }
RenderDataSourceHost& RenderDataSources() { return DataSlot().Get(); }
RenderSettingsHost& RenderSettings() { return SettingsSlot().Get(); }

RenderCanvasHost* SetRenderCanvasHost(RenderCanvasHost* host) { return CanvasSlot().Set(host); }
RenderPrintHost* SetRenderPrintHost(RenderPrintHost* host) { return PrintSlot().Set(host); }
RenderDataSourceHost* SetRenderDataSourceHost(RenderDataSourceHost* host) { return DataSlot().Set(host); }
RenderSettingsHost* SetRenderSettingsHost(RenderSettingsHost* host) { return SettingsSlot().Set(host); }

}  // namespace pv
