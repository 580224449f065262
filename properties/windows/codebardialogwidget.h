#pragma once
// The barcode properties dialog (dlgCodeBar): the thin modal window over
// CodeBarDialogModel. Closing it by its title bar is "Annulla".
#include "properties/codebardialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace pv {

class CodeBarDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CodeBarDialog(QWidget* parent = nullptr, CodeBarDialogModel::FormatNames names = {});

  // BarcodeSettings into the controls.
  void SetData();

  CodeBarDialogModel& model() { return m_model; }
  QComboBox* formatList() const { return m_format; }
  QComboBox* orientationList() const { return m_orientation; }
  QCheckBox* option(int i) const { return m_checks[static_cast<std::size_t>(i)]; }
  // 0 reduction, 1 border.
  QLineEdit* numberBox(int i) const { return m_numbers[static_cast<std::size_t>(i)]; }
  QLineEdit* contentBox() const { return m_content; }
  // 0 "Testo generico", 1 "Campo dati".
  QRadioButton* source(int i) const { return m_sources[static_cast<std::size_t>(i)]; }
  QPushButton* fieldButton() const { return m_field; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }

  void accept() override;
  void reject() override;

 private:
  // The controls into the model, and back.
  void Pull();
  void Sync();

  CodeBarDialogModel m_model;
  QComboBox* m_format;
  QComboBox* m_orientation;
  std::array<QCheckBox*, 6> m_checks{};
  std::array<QLineEdit*, 2> m_numbers{};
  QLineEdit* m_content;
  std::array<QRadioButton*, 2> m_sources{};
  QPushButton* m_field;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace pv
