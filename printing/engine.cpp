#include "printing/engine.h"

#include "datasources/sourcerecordset.h"
#include "platform/hostslot.h"
#include "platform/msgbox.h"
#include "printing/panelhost.h"

namespace pv {

std::int32_t CountMode = 0;
std::int32_t PageCount = 0;
std::int32_t FirstLabel = 0;
std::int32_t LastLabel = 0;
std::int32_t RangePages = 0;

void ResetRunValues() { CountMode = PageCount = FirstLabel = LastLabel = RangePages = 0; }

void SetRunToLabels(std::int32_t labels, std::int32_t perPage) {
  const Pagination pages = PaginateLabels(labels, perPage);
  PageCount = pages.PageCount;
  FirstLabel = 1;
  LastLabel = pages.LastLabel;
  CountMode = 0;
  RangePages = 3;
}

void ShowPrintingError(const QString& reason) {
  MsgBox(QStringLiteral("Printing error: 1"), reason, MsgIcon::Critical, MsgButtons::Ok);
}

PrintEngine& PrintRun() {
  static PrintEngine engine;
  return engine;
}

bool PrintEngine::Merging() const { return m_MergeActive && m_mergeSource->IsOpen(); }

void PrintEngine::Reset() {
  m_PageNumber = 1;
  m_LabelCounter = 0;
  m_LabelIndex = 0;
  m_MergeActive = false;
  m_Format = PanelFormat{};
  m_RegistrationId = -1;
  m_PrintSort.clear();
  m_PrintFilter.clear();
  m_mergeSource->Close();
}

// Without a panel the engine runs on its own (the lab-print tool, tests).
PV_DEFINE_HOST_SLOT(PrintPanelControls, Headless)
PV_DEFINE_HOST_ACCESSORS(PrintPanelControls, PrintControls, SetPrintPanelControls)

}  // namespace pv
