#pragma once
// The print panel's small controls: a label that reports a click (captions
// and images that act as commands), and a text box that selects its whole
// text when it receives the focus.

#include <QLabel>
#include <QLineEdit>

namespace pv {

class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class SelectAllLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;

 protected:
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace pv
