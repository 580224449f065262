#pragma once
// The sort dialog dlgSort: the sort control OLEDBFilter (four levels of a
// field list and a direction list) between OK and Cancel. sSort is the sort
// string chosen, "" after Cancel or the close box.

#include "datasources/models/sortlevels.h"

#include <QDialog>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;

namespace pv {

// The control's widgets over its model.
class OLEDBFilter : public QWidget {
  Q_OBJECT
 public:
  explicit OLEDBFilter(QWidget* parent = nullptr);
  OLEDBFilterModel& Model() { return m_model; }
  void AddField(const QString& sFieldName);
  QString GetSortString() const { return m_model.GetSortString(); }
  void SetSortString(const QString& sFilter);
  QComboBox* FieldList(int level) const { return m_fields[static_cast<size_t>(level)]; }
  QComboBox* OrderList(int level) const { return m_orders[static_cast<size_t>(level)]; }

 private:
  void Sync();

  OLEDBFilterModel m_model;
  std::array<QLabel*, OLEDBFilterModel::kLevels> m_captions{};
  std::array<QComboBox*, OLEDBFilterModel::kLevels> m_fields{};
  std::array<QComboBox*, OLEDBFilterModel::kLevels> m_orders{};
};

class dlgSort : public QDialog {
  Q_OBJECT
 public:
  explicit dlgSort(QWidget* parent = nullptr);
  OLEDBFilter* OLEDBFilter1() const { return m_control; }
  void SetSortString(const QString& sNewstring) { m_control->SetSortString(sNewstring); }
  QString sSort;

  void done(int result) override;

 private:
  OLEDBFilter* m_control;
};

}  // namespace pv
