#pragma once
// The text content window's model (popText): the text of the selected text
// object with the box's selection, the four clipboard buttons and
// "Applica". Line breaks show as lines and go back as CR LF, as label files
// hold them. The text goes to the editor only when the user changed it
// since the editor last filled the box.
#include <QString>
#include <QVariant>

namespace pv {

class TextWindowModel {
 public:
  // A text from the editor (the code is not looked at; -20 empties the box).
  void Apply(int iCode, const QVariant& sValue);

  // The user typed: the box now holds `text`.
  void Type(const QString& text);
  // The box's selection: start and length in characters.
  void Select(int start, int length);

  // The buttons: 0 cut, 1 copy, 2 paste, 3 delete, 4 "Applica".
  void Command1_Click(int i);

  QString SelectedText() const;
  // The text as the editor stores it (CR LF between lines).
  QString StoredText() const;

  QString Text;  // with "\n" between lines
  int SelStart = 0;
  int SelLength = 0;
  // The user changed the text since the editor's last fill.
  bool Changed = false;

 private:
  void ReplaceSelection(const QString& with);
};

}  // namespace pv
