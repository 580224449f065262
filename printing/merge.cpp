#include "app/settings.h"
#include "printing/engine.h"
#include "printing/panelhost.h"

// The merge source of the print run. Placeholders until the merge lands:
// nothing merges and the run stays as the document's format makes it.

namespace pv {

bool PrintEngine::GetMergeInformation() { return false; }

void PrintEngine::ChooseMergeSource(std::int32_t registrationId) {
  m_RegistrationId = registrationId;
  m_PrintSort.clear();
  m_PrintFilter.clear();
}

void PrintEngine::GiveUpMergeSource() {
  m_MergeActive = false;
  m_RegistrationId = -1;
}

bool PrintEngine::SetPrintSort(const QString& sort) {
  m_PrintSort = sort;
  return true;
}

bool PrintEngine::SetPrintFilter(const QString& filter) {
  m_PrintFilter = filter;
  return true;
}

QStringList PrintEngine::MergeFieldNames() const { return {}; }

SourceRecordset* PrintEngine::MergeRecordset() { return nullptr; }

bool PrintPanelControls::StopPageChecked() { return PrintStopPage != 0; }

void PrintPanelControls::SelectNoMergeEntry() { PrintRun().GiveUpMergeSource(); }

}  // namespace pv
