// The merge source of the print run: the registration chosen in the panel's
// data-source list opened with the run's filter and sort, its records
// counted into pages; the choice, the give-up and the run's sort and filter.
#include "core/database.h"
#include "core/settings.h"
#include "datasources/registrations.h"
#include "datasources/sourcerecordset.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"
#include "printing/engine.h"
#include "printing/panelhost.h"

#include <QCoreApplication>

#include <optional>
#include <utility>

namespace pv {
namespace {

constexpr int kNoRecords = 31025;
constexpr int kCannotOpen = 31026;

// A refusal of the source (a sort or filter it cannot take): the database
// failure text; the caller keeps what was in force.
void ShowRefusal(const DbError& e) { MsgBox(DataAccessErrorText(e), MsgIcon::Exclamation, MsgButtons::Ok); }

// The merge recordset lives in Qt's SQL connections: it is closed with the
// application, before those are gone.
void CloseWithTheApplication() {
  static bool registered = false;
  if (registered || QCoreApplication::instance() == nullptr) return;
  registered = true;
  qAddPostRoutine([] { PrintRun().Reset(); });
}

}  // namespace

PrintEngine::PrintEngine() : m_mergeSource(std::make_unique<SourceRecordset>()) {}

PrintEngine::~PrintEngine() = default;

bool PrintEngine::GetMergeInformation() {
  const std::int32_t perPage = LabelsPerPage(m_run.m_Format.Sheet);
  if (perPage <= 0) return false;

  PrintPanelControls& controls = PrintControls();
  ProgramSettings().PrintStopPage = ToVbBool(controls.StopPageChecked());
  m_pageNumber = 1;
  // Nothing to merge: the message, with the source's own reason as its
  // details when there is one, then back to the data-source list's
  // no-merge entry.
  const auto cannotMerge = [this, &controls](int message, const QString& reason = QString()) {
    m_mergeSource->Close();
    MsgBox(LoadResString(message), reason, MsgIcon::Information, MsgButtons::Ok);
    controls.SelectNoMergeEntry();
    return false;
  };

  // The registration may have gone since the list was filled; the shared
  // recordset may not be readable. Both leave nothing to merge.
  std::optional<Registration> registration;
  try {
    if (m_run.m_RegistrationId >= 1) registration = RegistrationStore(rsRegistrations).Find(m_run.m_RegistrationId);
  } catch (const DbError& e) {
    return cannotMerge(kCannotOpen, e.Description());
  }
  if (!registration) return cannotMerge(kCannotOpen);

  // The sort goes on after the filter at every open, so that the order the
  // sort dialog shows is the order printed.
  CloseWithTheApplication();
  try {
    m_mergeSource->Open(*registration);
    if (!m_run.m_Filter.isEmpty()) m_mergeSource->SetFilter(m_run.m_Filter);
    if (!m_run.m_Sort.isEmpty()) m_mergeSource->SetSort(m_run.m_Sort);
  } catch (const DbError& e) {
    // A read the user cancelled is no failure: it goes back to the caller.
    if (e.Number() == DbErrCancelled) throw;
    // The reader's reason (a time or memory limit, a reader that stopped, a
    // damaged file, a missing table) is the user's only clue.
    return cannotMerge(kCannotOpen, e.Description());
  }

  const std::int32_t records = m_mergeSource->RecordCount();
  m_run.m_PageCount = records;
  if (records <= 0) return cannotMerge(kNoRecords);

  m_run.SetToLabels(records, perPage);
  controls.SetControlInformation();
  controls.RefreshPreview();
  return true;
}

bool PrintEngine::MergeOrKeep(const PrintRunValues& before, bool recount) {
  // The source open so far waits aside until the new one is open.
  const std::int32_t page = m_pageNumber;
  std::unique_ptr<SourceRecordset> kept = std::exchange(m_mergeSource, std::make_unique<SourceRecordset>());
  try {
    return GetMergeInformation();
  } catch (const DbError&) {
    // Cancelled, the only failure GetMergeInformation lets through: the
    // source and the run as they were.
    m_mergeSource = std::move(kept);
    m_run = before;
    m_pageNumber = page;
  }
  PrintPanelControls& controls = PrintControls();
  if (recount && Merging()) {
    // The run changed in a way the source does not (the format's grid, a
    // filter the source already took): its pages are counted again.
    const std::int32_t records = m_mergeSource->RecordCount();
    if (records <= 0) {
      controls.SelectNoMergeEntry();
      return false;
    }
    m_run.SetToLabels(records, LabelsPerPage(m_run.m_Format.Sheet));
  }
  controls.SetControlInformation();
  controls.RefreshPreview();
  return Merging();
}

void PrintEngine::ChooseMergeSource(std::int32_t registrationId) {
  const PrintRunValues before = m_run;
  m_run.m_RegistrationId = registrationId;
  m_run.m_Filter.clear();
  m_run.m_Sort.clear();
  if (!MergeOrKeep(before, false)) return;
  PrintPanelControls& controls = PrintControls();
  controls.ShowManualOptions(false);
  controls.RefreshPreview();
}

void PrintEngine::GiveUpMergeSource() {
  m_run.m_RegistrationId = -1;
  m_mergeSource->Close();
  ResetPrinterInformation();
  PrintPanelControls& controls = PrintControls();
  controls.ShowManualOptions(true);
  controls.RefreshPreview();
}

bool PrintEngine::SetPrintSort(const QString& sort) {
  if (Merging()) {
    try {
      m_mergeSource->SetSort(sort);
    } catch (const DbError& e) {
      if (e.Number() != DbErrCancelled) ShowRefusal(e);
      return false;
    }
  }
  m_run.m_Sort = sort;
  return true;
}

bool PrintEngine::SetPrintFilter(const QString& filter) {
  if (!Merging()) {
    m_run.m_Filter = filter;
    return true;
  }
  // Tried on the open source first: a filter it refuses leaves the run as
  // it was instead of ending the merge.
  try {
    m_mergeSource->SetFilter(filter);
  } catch (const DbError& e) {
    if (e.Number() != DbErrCancelled) ShowRefusal(e);
    return false;
  }
  m_run.m_Filter = filter;
  MergeOrKeep(m_run, true);
  return true;
}

QStringList PrintEngine::MergeFieldNames() const { return Merging() ? m_mergeSource->FieldNames() : QStringList{}; }

SourceRecordset* PrintEngine::MergeRecordset() { return Merging() ? m_mergeSource.get() : nullptr; }

bool PrintPanelControls::StopPageChecked() { return ProgramSettings().PrintStopPage != 0; }

void PrintPanelControls::SelectNoMergeEntry() { PrintRun().GiveUpMergeSource(); }

}  // namespace pv
