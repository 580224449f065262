#pragma once
// The settings the label drawing reads (PRINT_LOW, PRINTCIRCLE and the
// printer's resolution), live from the program's settings.
#include "render/hosts.h"

namespace pv {

class ProgramRenderSettings : public RenderSettingsHost {
 public:
  bool PrintLow() override;
  bool PrintCircle() override;
  std::int32_t PrinterDpiY() override;
};

}  // namespace pv
