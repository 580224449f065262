#pragma once
// The one service behind every message box of the program. The title is
// always the application title (string 1000). The program installs the real
// box at start-up; tests install a handler that answers and records.

#include <QString>

#include <functional>

namespace pv {

enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct MsgBoxRequest {
  QString text;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  QString title;
};

using MsgBoxHandler = std::function<MsgAnswer(const MsgBoxRequest&)>;

// Shows a box and returns the answer. Without a handler (headless use) the
// text goes to standard error and the answer is Ok, or Cancel for a question.
MsgAnswer MsgBox(const QString& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
// The same, with the text of string-table entry `number`.
MsgAnswer MsgBoxRes(int number, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);

// Installs a handler and returns the previous one.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);

}  // namespace pv
