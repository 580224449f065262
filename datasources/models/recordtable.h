#pragma once
// The records on view as a read-only table model: each cell is read from the
// recordset by its row index when it is shown, so a table of any size shows
// at once.

#include <QAbstractTableModel>

namespace pv {

class SourceRecordset;

class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit RecordTableModel(SourceRecordset& records, QObject* parent = nullptr);
  // Reads the shape again (after the recordset opened, was sorted or filtered).
  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  SourceRecordset& m_records;
  int m_rows = 0;
  int m_columns = 0;
};

// A value of a record as the grid shows it.
QString CellText(const QVariant& value);

}  // namespace pv
