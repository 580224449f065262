#include "formats/wizardhost.h"

namespace pv {

PV_DEFINE_HOST_SLOT(WizardWindowHost, Wired)
PV_DEFINE_HOST_ACCESSORS(WizardWindowHost, WizardWindow, SetWizardWindowHost)

}  // namespace pv
