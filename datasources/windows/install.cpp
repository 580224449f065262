#include "datasources/windows/install.h"

#include "app/window/views.h"
#include "datasources/windows/databasedata.h"
#include "datasources/windows/sourcedialogwindows.h"

namespace pv {

void InstallDataSourceWindows() {
  static SourceDialogWindows dialogs;
  SetSourceDialogs(&dialogs);
  ViewFactories().DataBaseData = [](QWidget* parent) -> DataBaseDataView* { return new DataBaseData(parent); };
}

}  // namespace pv
