#pragma once
// The data-source manager view DataBaseData (the main window's
// "tbr_archive"): the registrations, the six command buttons, and the records
// on view in a read-only grid (managermodel.h).

#include "views/views.h"
#include "datasources/models/managermodel.h"

#include <array>

class QLabel;
class QListWidget;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace pv {

class RecordTableModel;

class DataBaseData : public DataBaseDataView {
  Q_OBJECT
 public:
  explicit DataBaseData(QWidget* parent = nullptr, SourceRecordset::ReaderFactory factory = {});
  ~DataBaseData() override;

  void Init() override;
  void Command_Click(int index);
  DataBaseDataModel& Model() { return m_model; }

  QListWidget* lstRegistrations() const { return m_list; }
  QToolButton* CommandButton(int index) const { return m_commands[static_cast<size_t>(index)]; }
  QTableView* DataView() const { return m_grid; }
  QWidget* NullView() const { return m_nullView; }
  RecordTableModel* Records() const { return m_records; }

 private:
  void Sync();
  void SyncList();
  // Every column as wide as its values on view, up to a limit.
  void FitColumns();

  DataBaseDataModel m_model;
  QListWidget* m_list;
  std::array<QToolButton*, 6> m_commands{};
  QStackedWidget* m_data;
  QWidget* m_nullView;
  QTableView* m_grid;
  RecordTableModel* m_records;
};

}  // namespace pv
