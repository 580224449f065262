#include "app/rendersettings.h"

#include "core/settings.h"

namespace pv {

bool ProgramRenderSettings::PrintLow() { return IsTrue(ProgramSettings().PrintLow); }
bool ProgramRenderSettings::PrintCircle() { return IsTrue(ProgramSettings().PrintCircle); }
std::int32_t ProgramRenderSettings::PrinterDpiY() { return ProgramSettings().Printer.DpiY; }

}  // namespace pv
