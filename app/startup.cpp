#include "app/startup.h"

#include "app/dialogs.h"
#include "app/hosts.h"
#include "app/ini.h"
#include "app/settings.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"
#include "document/hosts.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

namespace pv {

bool Main() {
  ShellSplash().Show();
  const QString ini = IniFileName();
  DefaultPath = IniToText(ReadIni(ini, QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH")));
  WriteIni(ini, QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH"), QVariant(DefaultPath));
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

void InstallMessageBox() {
  SetMsgBoxHandler([](const MsgBoxRequest& r) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(r.title);
    box.setText(r.text);
    switch (r.icon) {
      case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
      case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
      case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
      case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
      case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (r.buttons) {
      case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
      case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
      case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes: return MsgAnswer::Yes;
      case QMessageBox::No: return MsgAnswer::No;
      case QMessageBox::Cancel: return MsgAnswer::Cancel;
      case QMessageBox::Ok: return MsgAnswer::Ok;
      default: return r.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
  });
}

namespace {

class DocumentFileDialogs : public FileDialogHost {
 public:
  int ShowOpenDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title) override {
    return pv::ShowOpenDialog(defaultExt, filter, fileName, title);
  }
  int ShowSaveDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title) override {
    return pv::ShowSaveDialog(defaultExt, filter, fileName, title);
  }
};

}  // namespace

void InstallCommonDialogs() {
  static DocumentFileDialogs dialogs;
  SetFileDialogHost(&dialogs);
}

}  // namespace pv
