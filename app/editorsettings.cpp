#include "app/editorsettings.h"

#include "core/settings.h"

namespace pv {

std::int16_t ProgramEditorServices::AutoInsert() { return ProgramSettings().SettingAutoInsert; }
float ProgramEditorServices::GridX() { return ProgramSettings().SettingGridX; }
float ProgramEditorServices::GridY() { return ProgramSettings().SettingGridY; }
bool ProgramEditorServices::ShowGrid() { return ProgramSettings().SettingShowGrid != 0; }
bool ProgramEditorServices::ShowRule() { return ProgramSettings().SettingShowRule != 0; }
bool ProgramEditorServices::Snap() { return ProgramSettings().SettingSnap != 0; }

}  // namespace pv
