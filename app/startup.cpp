#include "app/startup.h"

#include "core/hosts.h"
#include "core/ini.h"
#include "core/settings.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

namespace pv {

bool Main() {
  ShellSplash().Show();
  const QString ini = IniFileName();
  QString& clipArt = ProgramSettings().DefaultPath;
  clipArt = ReadClipArtSetting(ini);
  WriteIni(ini, QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH"), QVariant(clipArt));
  ShellSplash().Repaint();
  if (!ShellWindow().Load()) return false;
  ShellWindow().Show();
  ShellSplash().Unload();
  return true;
}

bool ConfirmEndProgram() {
  if (MsgBoxRes(15045, MsgIcon::Question, MsgButtons::YesNoCancel) != MsgAnswer::Yes) return false;
  SaveSettings();
  return true;
}

}  // namespace pv
