#include "editor/services.h"

#ifdef PLAVIK_EDITOR_WITH_SETTINGS
#include "app/settings.h"
#endif
#ifdef PLAVIK_EDITOR_WITH_PICTOR2
#include "libs/pictor2/pictor2.h"
#endif

namespace pv {

namespace {
EditorServices g_defaultServices;
EditorServices* g_services = &g_defaultServices;
}  // namespace

#ifdef PLAVIK_EDITOR_WITH_SETTINGS
std::int16_t EditorServices::AutoInsert() { return SettingAutoInsert; }
float EditorServices::GridX() { return SettingGridX; }
float EditorServices::GridY() { return SettingGridY; }
bool EditorServices::ShowGrid() { return SettingShowGrid != 0; }
bool EditorServices::ShowRule() { return SettingShowRule != 0; }
bool EditorServices::Snap() { return SettingSnap != 0; }
#else
std::int16_t EditorServices::AutoInsert() { return 0; }
float EditorServices::GridX() { return 5.0f; }
float EditorServices::GridY() { return 5.0f; }
bool EditorServices::ShowGrid() { return true; }
bool EditorServices::ShowRule() { return true; }
bool EditorServices::Snap() { return true; }
#endif

double EditorServices::ImageAspect(const QString& path) {
#ifdef PLAVIK_EDITOR_WITH_PICTOR2
  return PictorImageAspect(path.toUtf8().constData());
#else
  (void)path;
  return 1.0;
#endif
}

EditorServices& Services() { return *g_services; }

EditorServices* SetEditorServices(EditorServices* services) {
  EditorServices* previous = g_services == &g_defaultServices ? nullptr : g_services;
  g_services = services ? services : &g_defaultServices;
  return previous;
}

}  // namespace pv
