#include "platform/msgbox.h"

#include "platform/stringtable.h"

#include <cstdio>

namespace pv {

MsgAnswer MessageBoxHost::Show(const MsgBoxRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.title.toUtf8().constData(), request.text.toUtf8().constData());
  if (!request.detail.isEmpty()) std::fprintf(stderr, "%s\n", request.detail.toUtf8().constData());
  return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

PV_DEFINE_HOST_SLOT(MessageBoxHost, Headless)

MessageBoxHost* SetMessageBoxHost(MessageBoxHost* host) { return Slot<MessageBoxHost>().Set(host); }

MsgAnswer MsgBox(const QString& text, MsgIcon icon, MsgButtons buttons) {
  return MsgBox(text, QString(), icon, buttons);
}

MsgAnswer MsgBox(const QString& text, const QString& detail, MsgIcon icon, MsgButtons buttons) {
  return Slot<MessageBoxHost>().Get().Show(MsgBoxRequest{text, icon, buttons, LoadResString(1000), detail});
}

MsgAnswer MsgBoxRes(int number, MsgIcon icon, MsgButtons buttons) {
  return MsgBox(LoadResString(number), icon, buttons);
}

}  // namespace pv
