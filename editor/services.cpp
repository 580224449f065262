#include "editor/services.h"

#include "app/settings.h"
#include "libs/pictor2/pictor2.h"

namespace pv {

std::int16_t EditorServices::AutoInsert() { return SettingAutoInsert; }
float EditorServices::GridX() { return SettingGridX; }
float EditorServices::GridY() { return SettingGridY; }
bool EditorServices::ShowGrid() { return SettingShowGrid != 0; }
bool EditorServices::ShowRule() { return SettingShowRule != 0; }
bool EditorServices::Snap() { return SettingSnap != 0; }

double EditorServices::ImageAspect(const QString& path) { return PictorImageAspect(path.toUtf8().constData()); }

PV_DEFINE_HOST_SLOT(EditorServices, Wired)

EditorServices& Services() { return Slot<EditorServices>().Get(); }
EditorServices* SetEditorServices(EditorServices* services) { return Slot<EditorServices>().Set(services); }

}  // namespace pv
