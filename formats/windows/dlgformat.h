#pragma once
// The dialog in which the user creates or edits one print format. The caller
// puts the format into EditFormat, shows the dialog modally and takes
// EditFormat back when RetCode() is true.

#include "formats/printformat.h"
#include "formats/validation.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace pv {

// The format the dialog edits; written by the dialog only when OK is accepted.
PrintFormat& EditFormat();

class DlgFormat : public QDialog {
  Q_OBJECT
 public:
  explicit DlgFormat(QWidget* parent = nullptr);

  bool RetCode() const { return m_retCode; }
  // Type and label size can no longer be changed.
  void NoDatabase();

  QLineEdit* Text1(int index) const { return m_text[static_cast<size_t>(index)]; }
  QRadioButton* Option1(int index) const { return m_option[static_cast<size_t>(index)]; }
  QTabWidget* Tabs() const { return m_tabs; }
  QPushButton* OKButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnTabChanged(int index);
  void OnOk();
  void OnCancel();
  void Refuse(const FormatCheck& check);

  std::array<QLineEdit*, kFormatFieldCount> m_text{};
  std::array<QRadioButton*, 4> m_option{};
  QTabWidget* m_tabs = nullptr;
  QGroupBox* m_typeFrame = nullptr;
  QGroupBox* m_labelFrame = nullptr;
  QGroupBox* m_pageFrame = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  int m_shownTab = 0;
  bool m_retCode = false;
  bool m_noDatabase = false;
};

}  // namespace pv
