#include "render/hosts.h"

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
template <class T>
struct Slot {
  T fallback;
  T* current = nullptr;
  T& get() { return current ? *current : fallback; }
  T* set(T* host) {
    T* previous = current;
    current = host;
    return previous;
  }
};
Slot<RenderCanvasHost>& CanvasSlot() { static Slot<RenderCanvasHost> s; return s; }
Slot<RenderPrintHost>& PrintSlot() { static Slot<RenderPrintHost> s; return s; }
Slot<RenderDataSourceHost>& DataSlot() { static Slot<RenderDataSourceHost> s; return s; }
Slot<RenderSettingsHost>& SettingsSlot() { static Slot<RenderSettingsHost> s; return s; }
}  // namespace

RenderCanvasHost& RenderCanvas() { return CanvasSlot().get(); }
RenderPrintHost& RenderPrint() { return PrintSlot().get(); }
RenderDataSourceHost& RenderDataSources() { return DataSlot().get(); }
RenderSettingsHost& RenderSettings() { return SettingsSlot().get(); }

RenderCanvasHost* SetRenderCanvasHost(RenderCanvasHost* host) { return CanvasSlot().set(host); }
RenderPrintHost* SetRenderPrintHost(RenderPrintHost* host) { return PrintSlot().set(host); }
RenderDataSourceHost* SetRenderDataSourceHost(RenderDataSourceHost* host) { return DataSlot().set(host); }
RenderSettingsHost* SetRenderSettingsHost(RenderSettingsHost* host) { return SettingsSlot().set(host); }

}  // namespace pv
