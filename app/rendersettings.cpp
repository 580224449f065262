#include "app/rendersettings.h"

#include "core/settings.h"

namespace pv {

bool ProgramRenderSettings::PrintLow() { return IsTrue(pv::PrintLow); }
bool ProgramRenderSettings::PrintCircle() { return IsTrue(pv::PrintCircle); }
std::int32_t ProgramRenderSettings::PrinterDpiY() { return pv::PrinterDpiY; }

}  // namespace pv
