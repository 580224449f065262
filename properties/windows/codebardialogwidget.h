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

  CodeBarDialogModel& model() { return model_; }
  QComboBox* formatList() const { return format_; }
  QComboBox* orientationList() const { return orientation_; }
  QCheckBox* option(int i) const { return checks_[static_cast<std::size_t>(i)]; }
  // 0 reduction, 1 border.
  QLineEdit* numberBox(int i) const { return numbers_[static_cast<std::size_t>(i)]; }
  QLineEdit* contentBox() const { return content_; }
  // 0 "Testo generico", 1 "Campo dati".
  QRadioButton* source(int i) const { return sources_[static_cast<std::size_t>(i)]; }
  QPushButton* fieldButton() const { return field_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  void accept() override;
  void reject() override;

 private:
  // The controls into the model, and back.
  void Pull();
  void Sync();

  CodeBarDialogModel model_;
  QComboBox* format_;
  QComboBox* orientation_;
  std::array<QCheckBox*, 6> checks_{};
  std::array<QLineEdit*, 2> numbers_{};
  QLineEdit* content_;
  std::array<QRadioButton*, 2> sources_{};
  QPushButton* field_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace pv
