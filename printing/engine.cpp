#include "printing/engine.h"

#include "datasources/sourcerecordset.h"
#include "platform/hostslot.h"
#include "platform/msgbox.h"
#include "printing/panelhost.h"

namespace pv {

void ShowPrintingError(const QString& reason) {
  MsgBox(QStringLiteral("Printing error: 1"), reason, MsgIcon::Critical, MsgButtons::Ok);
}

PrintEngine& PrintRun() {
  static PrintEngine engine;
  return engine;
}

bool PrintEngine::Merging() const { return m_run.m_RegistrationId >= 1 && m_mergeSource->IsOpen(); }

void PrintEngine::Reset() {
  m_run = PrintRunValues{};
  m_pageNumber = 1;
  m_mergeSource->Close();
}

// Without a panel the engine runs on its own (the lab-print tool, tests).
PV_DEFINE_HOST_SLOT(PrintPanelControls, Headless)
PV_DEFINE_HOST_ACCESSORS(PrintPanelControls, PrintControls, SetPrintPanelControls)

}  // namespace pv
