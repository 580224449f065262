#pragma once
// The registration dialog dlgSelectSource: the registration's name and the
// selection control between OK and Cancel (selectsource.h). The close box is
// Cancel.

#include "datasources/models/selectsource.h"

#include <QDialog>

class QLineEdit;

namespace pv {

class OLEDBSourceSelection;

class dlgSelectSource : public QDialog {
  Q_OBJECT
 public:
  explicit dlgSelectSource(QWidget* parent = nullptr, OLEDBSourceSelectionModel::ReaderFactory factory = {});
  dlgSelectSourceModel& Model() { return m_model; }
  // Shows the model's public values (see dlgSelectSourceModel::SetValue).
  void SetValue();

  QLineEdit* Text1() const { return m_name; }
  OLEDBSourceSelection* OLEDBSourceSelection1() const { return m_selection; }

  void done(int result) override;

 private:
  dlgSelectSourceModel m_model;
  QLineEdit* m_name;
  OLEDBSourceSelection* m_selection;
};

}  // namespace pv
