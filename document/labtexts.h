#pragma once
// The texts of a label that a .lab file cannot hold as they are. The file
// keeps its texts in Windows-1252, where a character outside it becomes
// '?': saving first names every such text with what the file would keep, so
// that the user can go back and change it before anything is lost.
#include "document/labelfile.h"

#include <QList>
#include <QString>

namespace pv {

struct LostText {
  bool font = false;  // a font name, else a text of an object or the label
  QString text;       // as the label holds it
  QString stored;     // as the file would keep it
  bool operator==(const LostText&) const = default;
};

// Every text of `content` the file cannot hold (header texts, background and
// border names, and each object's text, font name and format), once each,
// in the order the file stores them.
QList<LostText> TextsTheFileCannotHold(const LabFileContent& content);

// The question that names them and asks whether to save anyway.
QString LostTextsQuestion(const QList<LostText>& lost);

}  // namespace pv
