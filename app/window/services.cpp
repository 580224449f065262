#include "app/window/services.h"

#include "core/settings.h"
#include "app/window/dlgabout.h"
#include "app/window/dlgoptions.h"
#include "app/window/helpwindow.h"
#include "app/window/mainwnd.h"
#include "document/labelfile.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QColorDialog>

namespace pv {

bool MainWndCommands::NewDocument() { return pv::NewDocument(); }
bool MainWndCommands::OpenDocument() { return pv::OpenDocument(); }
bool MainWndCommands::SaveDocument(bool bSaveAs) { return pv::SaveDocument(bSaveAs); }
void MainWndCommands::ShowPrinterSetup() { pv::ShowPrinterSetup(); }
void MainWndCommands::SaveSettings() { pv::SaveSettings(); }

void MainWndCommands::EndProgram() {
  if (MainWnd* w = MainWndInstance()) w->close();
  QCoreApplication::exit(0);
}

void MainWndCommands::ShowOptions(QWidget* owner) {
  dlgOptions dialog(owner);
  dialog.exec();
}

void MainWndCommands::ShowAbout(QWidget* owner) {
  dlgAbout about(owner);
  about.exec();
}

void MainWndCommands::ShowHelp(QWidget* owner, bool search) {
  const QString file = MainWndInstance() != nullptr ? MainWndInstance()->HelpFile() : QString();
  HelpWindow& help = GetHelpWindow(owner);
  if (search) {
    help.ShowSearch(file);
  } else {
    help.ShowContents(file);
  }
}

QString LiveUpdateText() {
  return QStringLiteral(
      "L'aggiornamento in linea non è disponibile per questa installazione. "
      "Le nuove versioni del programma si installano con il sistema di pacchetti.");
}

void MainWndCommands::LiveUpdate() { MsgBox(LiveUpdateText(), MsgIcon::Information, MsgButtons::Ok); }

PV_DEFINE_HOST_SLOT(MainWndCommands, Wired)
PV_DEFINE_HOST_ACCESSORS(MainWndCommands, Commands, SetCommands)
std::optional<QColor> QtColorDialog::ChooseColor(const QColor& initial, QWidget* owner) {
  const QColor c = QColorDialog::getColor(initial, owner != nullptr ? owner : MainWndInstance());
  if (!c.isValid()) return std::nullopt;
  return c;
}

}  // namespace pv
