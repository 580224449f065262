#pragma once
// The text content window (popText): the thin widget over TextWindowModel.
#include "properties/windows/popupframe.h"
#include "properties/textwindow.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <array>

namespace pv {

class TextWindow : public PopUpFrame {
  Q_OBJECT
 public:
  explicit TextWindow(QWidget* owner);

  void TextApply(int iCode, const QVariant& sValue) override;

  TextWindowModel& model() { return m_model; }
  QPlainTextEdit* textBox() const { return m_text; }
  // 0 cut, 1 copy, 2 paste, 3 delete, 4 "Applica".
  QPushButton* button(int i) const { return m_buttons[static_cast<std::size_t>(i)]; }

  // The box from the model: text and selection.
  void Sync();

 private:
  void Click(int i);

  TextWindowModel m_model;
  QPlainTextEdit* m_text;
  std::array<QPushButton*, 5> m_buttons{};
  bool m_syncing = false;
};

}  // namespace pv
