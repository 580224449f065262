#pragma once
// dlgOptions: the program settings in memory (clip-art folder and hints,
// the editor's grid and display options, the printer calibration, the print
// options). OK stores them after the range checks; Cancel stores nothing.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace pv {

class dlgOptions : public QDialog {
  Q_OBJECT
 public:
  explicit dlgOptions(QWidget* parent = nullptr);

  // The checks and, when they pass, the storing of the settings. False
  // (after the message) leaves the dialog open and stores nothing.
  bool OKButton_Click();
  void CancelButton_Click();
  // "Elenco stampanti": the calibration list; its choice goes into the two
  // calibration fields.
  void Command1_Click();
  // The tab-change step for the current tab.
  void SSTab1_Click();

  QTabWidget* SSTab1() const { return m_tab; }
  QCheckBox* Check1(int i) const { return m_check1[i]; }
  QCheckBox* Check2(int i) const { return m_check2[i]; }
  QCheckBox* Check3() const { return m_check3; }
  QCheckBox* Check4(int i) const { return m_check4[i]; }
  QCheckBox* Check5() const { return m_check5; }
  QLineEdit* Text1(int i) const { return m_text1[i]; }
  QLineEdit* Text2(int i) const { return m_text2[i]; }
  QLineEdit* Text3() const { return m_text3; }
  QGroupBox* Frame1() const { return m_frame1; }
  QGroupBox* Frame2() const { return m_frame2; }
  QPushButton* OKButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }
  QPushButton* Command1() const { return m_command1; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillFromSettings();

  QTabWidget* m_tab = nullptr;
  QCheckBox* m_check1[5] = {};
  QCheckBox* m_check2[2] = {};
  QCheckBox* m_check3 = nullptr;
  QCheckBox* m_check4[4] = {};
  QCheckBox* m_check5 = nullptr;
  QLineEdit* m_text1[2] = {};
  QLineEdit* m_text2[2] = {};
  QLineEdit* m_text3 = nullptr;
  QGroupBox* m_frame1 = nullptr;
  QGroupBox* m_frame2 = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_command1 = nullptr;
};

}  // namespace pv
