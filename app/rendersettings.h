#pragma once
// Hands the label drawing the settings it reads (PRINT_LOW, PRINTCIRCLE and
// the printer's resolution), live from the program's settings.

namespace pv {

void InstallRenderSettings();

}  // namespace pv
