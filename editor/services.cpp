#include "editor/services.h"

#include "libs/pictor2/pictor2.h"

namespace pv {

std::int16_t EditorServices::AutoInsert() { return 0; }
float EditorServices::GridX() { return 0.0f; }
float EditorServices::GridY() { return 0.0f; }
bool EditorServices::ShowGrid() { return false; }
bool EditorServices::ShowRule() { return false; }
bool EditorServices::Snap() { return false; }

double EditorServices::ImageAspect(const QString& path) { return PictorImageAspect(path.toUtf8().constData()); }

PV_DEFINE_HOST_SLOT(EditorServices, Wired)
PV_DEFINE_HOST_ACCESSORS(EditorServices, Services, SetEditorServices)

}  // namespace pv
