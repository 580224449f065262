#pragma once
// The data-source selection control's widgets over its model
// (sourceselection.h).

#include "datasources/models/sourceselection.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace pv {

class OLEDBSourceSelection : public QWidget {
  Q_OBJECT
 public:
  // Shows and changes `model`, which outlives the control.
  OLEDBSourceSelection(OLEDBSourceSelectionModel& model, QWidget* parent = nullptr);
  OLEDBSourceSelectionModel& Model() { return m_model; }
  // Shows the model's state (after code changed it).
  void Sync();
  // Reads what the user typed into the model.
  void ReadBoxes();
  // The user and password boxes take input while the password is ticked.
  void EnableCredentials(bool on);

  QComboBox* TypeList() const { return m_type; }
  QLineEdit* FileBox() const { return m_file; }
  QToolButton* BrowseButton() const { return m_browse; }
  QRadioButton* TableOption() const { return m_tableOption; }
  QRadioButton* QueryOption() const { return m_queryOption; }
  QComboBox* TableList() const { return m_tables; }
  QLineEdit* QueryBox() const { return m_query; }
  QCheckBox* PasswordCheck() const { return m_check; }
  QLineEdit* UserBox() const { return m_user; }
  QLineEdit* PasswordBox() const { return m_password; }

 private:
  OLEDBSourceSelectionModel& m_model;
  QComboBox* m_type;
  QLineEdit* m_file;
  QToolButton* m_browse;
  QRadioButton* m_tableOption;
  QRadioButton* m_queryOption;
  QComboBox* m_tables;
  QLineEdit* m_query;
  QCheckBox* m_check;
  QLineEdit* m_user;
  QLineEdit* m_password;
  QLabel* m_userCaption;
  QLabel* m_passwordCaption;
};

}  // namespace pv
