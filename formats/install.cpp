#include "formats/install.h"

#include "app/window/views.h"
#include "formats/formatdata.h"

namespace pv {

void InstallFormats() {
  ViewFactories().FormatData = [](QWidget* parent) -> FormatDataView* { return new FormatData(parent); };
}

}  // namespace pv
