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
PV_DEFINE_HOST_ACCESSORS(EditorServices, Services, SetEditorServices)

}  // namespace pv
