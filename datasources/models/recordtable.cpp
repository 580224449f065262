#include "datasources/models/recordtable.h"

#include "datasources/sourcerecordset.h"
#include "platform/exactdecimal.h"
#include "platform/format.h"

#include <QDate>
#include <QDateTime>

namespace pv {

RecordTableModel::RecordTableModel(SourceRecordset& records, QObject* parent)
    : QAbstractTableModel(parent), m_records(records) {
  Reload();
}

void RecordTableModel::Reload() {
  beginResetModel();
  const bool open = m_records.IsOpen();
  m_rows = open ? m_records.RecordCount() : 0;
  m_columns = open ? m_records.FieldCount() : 0;
  endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int RecordTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows || index.column() >= m_columns) return {};
  try {
    return CellText(m_records.ValueAt(index.row(), index.column()));
  } catch (const DbError&) {
    return {};
  }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= m_columns) return {};
  try {
    return m_records.FieldName(section);
  } catch (const DbError&) {
    return {};
  }
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QString CellText(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return QString();
  switch (value.metaType().id()) {
    case QMetaType::QDate: return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: {
      const QDateTime t = value.toDateTime();
      if (t.time() == QTime(0, 0)) return t.date().toString(QStringLiteral("dd/MM/yyyy"));
      return t.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    }
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("Vero") : QStringLiteral("Falso");
    case QMetaType::Double: return Format(value, QString());
    default:
      // An exact decimal as a double is: with the decimal comma, every digit.
      if (IsExactDecimal(value)) return Format(value, QString());
      return value.toString();
  }
}

}  // namespace pv
