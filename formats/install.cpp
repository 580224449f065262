#include "formats/install.h"

#include "app/window/views.h"
#include "formats/formatdata.h"
#include "formats/modeldata.h"

namespace pv {

void InstallFormats() {
  ViewFactories().FormatData = [](QWidget* parent) -> FormatDataView* { return new FormatData(parent); };
}

void InstallWizard() {
  static MainWndWizardHost window;
  SetWizardWindowHost(&window);
  ViewFactories().ModelData = [](QWidget* parent) -> ModelDataView* { return new ModelData(parent); };
}

}  // namespace pv
