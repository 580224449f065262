#include "datasources/models/managermodel.h"

#include "core/database.h"
#include "core/hosts.h"
#include "datasources/sourcedialogs.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

namespace pv {

namespace {

void ReportStoreFailure(const DbError& e) { MsgBox(DataAccessErrorText(e), MsgIcon::Exclamation); }

}  // namespace

DataBaseDataModel::DataBaseDataModel(Recordset& registrations, SourceRecordset::ReaderFactory factory)
    : m_store(registrations), m_records(std::move(factory)) {}

void DataBaseDataModel::LoadSourceList() {
  m_entries.clear();
  try {
    for (const Registration& r : m_store.All()) m_entries.push_back({r.id, r.label});
  } catch (const DbError&) {
    // The list keeps what was read.
  }
  SelectViewed();
}

void DataBaseDataModel::SelectViewed() {
  selection = -1;
  if (!m_onView) return;
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].id == m_viewedId) selection = static_cast<int>(i);
  }
  if (selection < 0) DropView();  // its registration is gone
}

void DataBaseDataModel::DropView() {
  m_records.Close();
  m_ConnectionString.clear();
  m_SortString.clear();
  m_FilterString.clear();
  m_onView = false;
  m_viewedId = 0;
}

bool DataBaseDataModel::HasSelection() const {
  return selection >= 0 && selection < static_cast<int>(m_entries.size());
}

std::optional<Registration> DataBaseDataModel::Selected() {
  if (!HasSelection()) return std::nullopt;
  return m_store.Find(m_entries[static_cast<size_t>(selection)].id);
}

bool DataBaseDataModel::Command_Click(int index) {
  bool done = true;
  try {
    switch (index) {
      case CmdNew: done = New(); break;
      case CmdEdit: done = Edit(); break;
      case CmdDelete: done = Delete(); break;
      case CmdView: done = View(); break;
      case CmdSort:
      case CmdFilter:
        // Both need the rows of a source on view.
        if (m_ConnectionString.isEmpty()) {
          MsgBoxRes(14014, MsgIcon::Information);
        } else if (index == CmdSort) {
          SortTable();
        } else {
          done = FilterTable();
        }
        break;
      default: break;
    }
  } catch (const DbError&) {
    done = false;
  }
  if (done) ShellViews().PrintPanelInit();
  return done;
}

bool DataBaseDataModel::New() {
  const std::optional<Registration> values = m_dialog ? m_dialog(nullptr) : std::nullopt;
  if (!values || values->label.isEmpty()) return true;
  return StoreAndReload([&] { m_store.Add(*values); });
}

bool DataBaseDataModel::StoreAndReload(const std::function<void()>& store) {
  bool stored = true;
  try {
    store();
  } catch (const DbError& e) {
    ReportStoreFailure(e);
    stored = false;
  }
  LoadSourceList();
  return stored;
}

bool DataBaseDataModel::Edit() {
  if (!HasSelection()) return true;
  const std::optional<Registration> found = Selected();
  if (!found) return false;
  if (found->system) {
    MsgBoxRes(31023, MsgIcon::Information);
    return true;
  }
  Registration shown = *found;
  shown.label = m_entries[static_cast<size_t>(selection)].label;
  const std::optional<Registration> values = m_dialog ? m_dialog(&shown) : std::nullopt;
  if (!values || values->label.isEmpty()) return true;
  const bool stored = StoreAndReload([&] { m_store.Rewrite(found->id, *values); });
  // Records on view that were read from what the edit replaced go.
  if (stored && found->id == m_viewedId &&
      (values->connectionString != found->connectionString || values->recordSetName != found->recordSetName)) {
    DropView();
    SelectViewed();
  }
  return stored;
}

bool DataBaseDataModel::Delete() {
  if (!HasSelection()) return false;
  const Entry entry = m_entries[static_cast<size_t>(selection)];
  if (MsgBox(LoadResString(31013) + entry.label, MsgIcon::Question, MsgButtons::YesNoCancel) != MsgAnswer::Yes) {
    return true;
  }
  const std::optional<Registration> found = m_store.Find(entry.id);
  if (!found) return false;
  if (found->system) {
    MsgBoxRes(31024, MsgIcon::Information);
    return true;
  }
  try {
    m_store.Remove(entry.id);
  } catch (const DbError& e) {
    ReportStoreFailure(e);
    return false;
  }
  m_entries.erase(m_entries.begin() + selection);
  SelectViewed();
  return true;
}

bool DataBaseDataModel::View() {
  if (!HasSelection()) return true;
  m_SortString.clear();
  m_FilterString.clear();
  try {
    const std::optional<Registration> found = Selected();
    if (!found) throw DbError(DbErrNoCurrentRecord, QString());
    m_records.Open(*found);
    m_ConnectionString = EffectiveConnectionString(*found);
    m_viewedId = found->id;
  } catch (const DbError& e) {
    // The read closed the records it replaced: nothing is on view, and no
    // entry stays selected over an empty grid. A read the user cancelled is
    // no failure to report.
    DropView();
    SelectViewed();
    if (e.Number() != DbErrCancelled) MsgBoxRes(31017, MsgIcon::Information);
    return false;
  }
  m_onView = true;
  return true;
}

void DataBaseDataModel::SortTable() {
  if (!m_records.MoveFirst()) {
    MsgBoxRes(31021, MsgIcon::Information);
    return;
  }
  try {
    const QString sort = SourceDialogSet().ShowSortDialog(m_records.FieldNames(), m_SortString);
    if (sort.isEmpty()) return;
    m_records.SetSort(sort);
    m_records.Requery();
    m_SortString = sort;
  } catch (const DbError& e) {
    if (e.Number() != DbErrCancelled) MsgBoxRes(31022, MsgIcon::Information);
  }
}

bool DataBaseDataModel::FilterTable() {
  const FilterDialogAnswer answer =
      SourceDialogSet().ShowFilterDialog(m_records.FieldNames(), m_FilterString, &m_records);
  if (answer.RetCode == 0) return true;
  m_records.SetFilter(answer.sFilter);
  m_records.Requery();
  m_FilterString = answer.sFilter;
  return true;
}

}  // namespace pv
