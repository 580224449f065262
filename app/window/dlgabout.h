#pragma once
// dlgAbout: the product picture, the legal notice, the program file's name
// and its version. Shown modeless as the splash while the program starts,
// and modal as the About box.

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pv {

class dlgAbout : public QDialog {
  Q_OBJECT
 public:
  inline static constexpr int WindowHeight = 270;  // 4050 twips

  explicit dlgAbout(QWidget* parent = nullptr);

  QLabel* Image1() const { return m_image; }
  QPlainTextEdit* Text1() const { return m_text; }
  QLabel* Label1(int index) const { return m_labels[index]; }
  QPushButton* Command1() const { return m_close; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* m_image = nullptr;
  QPlainTextEdit* m_text = nullptr;
  QLabel* m_labels[3] = {};
  QPushButton* m_close = nullptr;
};

// The legal notice: string 20007, then strings 20000-20006, each two CR LF
// pairs apart.
QString AboutLegalNotice();
// "Filename: " and the program file's name without extension, upper case,
// with ".EXE".
QString AboutFileNameLine(const QString& programFile);
// "Release: " and the version, each number with its leading blank.
QString AboutReleaseLine(int major, int minor, int revision);
// The program's own version.
int ProgramVersionMajor();
int ProgramVersionMinor();
int ProgramVersionRevision();

}  // namespace pv
