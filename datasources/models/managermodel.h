#pragma once
// The data-source manager DataBaseData without its widgets: the list of
// registrations, the six commands (New, Edit, Delete, View, Sort, Filter),
// and the records on view with their sort and filter.
//
// After every command that did not fail the print panel reloads its list of
// registrations. A failed store is reported and keeps the list as stored; a
// source that does not open on View leaves nothing on view (31017); a read
// the user cancels (DbErrCancelled) leaves the same with no message.
//
// The records on view are always those of the selected entry: a rebuilt
// list selects the entry on view again, and a read that failed or was
// cancelled, an edit or a delete of the entry on view leave nothing on view
// and nothing selected.

#include "datasources/registrations.h"
#include "datasources/sourcerecordset.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace pv {

class DataBaseDataModel {
 public:
  enum Command { CmdNew = 0, CmdEdit = 1, CmdDelete = 2, CmdView = 3, CmdSort = 4, CmdFilter = 5 };

  struct Entry {
    qint64 id = 0;
    QString label;
  };

  // The registration dialog: shown empty (nullptr) or with a registration to
  // edit; the six values confirmed, nothing when cancelled.
  using RegistrationDialog = std::function<std::optional<Registration>(const Registration* edit)>;

  // `registrations`: the shared recordset over rst_registrations.
  explicit DataBaseDataModel(Recordset& registrations, SourceRecordset::ReaderFactory factory = {});

  void SetRegistrationDialog(RegistrationDialog dialog) { m_dialog = std::move(dialog); }

  // Reloads the list.
  void Init() { LoadSourceList(); }
  void LoadSourceList();
  const std::vector<Entry>& Entries() const { return m_entries; }
  int selection = -1;

  // Runs a command; false when it failed (the print panel is not reloaded).
  bool Command_Click(int index);

  // The records on view: shown (DataView) or not (NullView).
  bool OnView() const { return m_onView; }
  SourceRecordset& Records() { return m_records; }
  QString m_SortString;
  QString m_FilterString;
  QString m_ConnectionString;

 private:
  bool New();
  bool Edit();
  bool Delete();
  bool View();
  void SortTable();
  bool FilterTable();
  bool HasSelection() const;
  // Nothing on view: no rows, no connection, no sort or filter.
  void DropView();
  // The selection goes to the entry on view, or to none; records whose
  // entry is no longer listed go.
  void SelectViewed();
  std::optional<Registration> Selected();
  // Runs a change of the store, reports its failure, and reloads the list.
  bool StoreAndReload(const std::function<void()>& store);

  RegistrationStore m_store;
  RegistrationDialog m_dialog;
  std::vector<Entry> m_entries;
  SourceRecordset m_records;
  bool m_onView = false;
  qint64 m_viewedId = 0;  // the registration whose records are on view
};

}  // namespace pv
