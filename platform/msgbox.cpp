#include "platform/msgbox.h"

#include "platform/stringtable.h"

#include <cstdio>
#include <utility>

namespace pv {
namespace {
MsgBoxHandler& Handler() {
  static MsgBoxHandler h;
  return h;
}
}  // namespace

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler) { return std::exchange(Handler(), std::move(handler)); }

MsgAnswer MsgBox(const QString& text, MsgIcon icon, MsgButtons buttons) {
  MsgBoxRequest req{text, icon, buttons, LoadResString(1000)};
  if (Handler()) return Handler()(req);
  std::fprintf(stderr, "%s: %s\n", req.title.toUtf8().constData(), text.toUtf8().constData());
  return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

MsgAnswer MsgBoxRes(int number, MsgIcon icon, MsgButtons buttons) { return MsgBox(LoadResString(number), icon, buttons); }

}  // namespace pv
