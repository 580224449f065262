#pragma once
// The one service behind every message box of the program. The title is
// always the application title (string 1000). The composition root installs
// the real box; tests install a host that answers and records.

#include "platform/hostslot.h"

#include <QString>

namespace pv {

enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct MsgBoxRequest {
  QString text;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  QString title;
  QString detail;  // the reason behind the message, shown as the box's details
};

// Shows the box and returns the answer. The default is the program without a
// window: the text goes to standard error and the answer is Ok, or Cancel
// for a question.
class MessageBoxHost {
 public:
  virtual ~MessageBoxHost() = default;
  virtual MsgAnswer Show(const MsgBoxRequest& request);
};
PV_DECLARE_HOST_SLOT(MessageBoxHost)

// Shows a box and returns the answer.
MsgAnswer MsgBox(const QString& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
// The same with the reason behind it as the box's details.
MsgAnswer MsgBox(const QString& text, const QString& detail, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok);
// The same, with the text of string-table entry `number`.
MsgAnswer MsgBoxRes(int number, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);

// Takes no ownership; returns the previous instance; nullptr = the default.
MessageBoxHost* SetMessageBoxHost(MessageBoxHost* host);

}  // namespace pv
