#include "app/editorsettings.h"

#include "core/settings.h"

namespace pv {

std::int16_t ProgramEditorServices::AutoInsert() { return SettingAutoInsert; }
float ProgramEditorServices::GridX() { return SettingGridX; }
float ProgramEditorServices::GridY() { return SettingGridY; }
bool ProgramEditorServices::ShowGrid() { return SettingShowGrid != 0; }
bool ProgramEditorServices::ShowRule() { return SettingShowRule != 0; }
bool ProgramEditorServices::Snap() { return SettingSnap != 0; }

}  // namespace pv
