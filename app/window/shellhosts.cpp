#include "app/window/shellhosts.h"

#include "app/window/dlgabout.h"
#include "app/window/mainwnd.h"
#include "views/popups.h"

#include <QCoreApplication>

namespace pv {

void SplashWindowHost::Show() {
  m_splash = new dlgAbout();
  m_splash->setAttribute(Qt::WA_DeleteOnClose);
  m_splash->setWindowFlag(Qt::SplashScreen);
  m_splash->show();
  QCoreApplication::processEvents();
}

void SplashWindowHost::Repaint() {
  if (m_splash) m_splash->repaint();
}

void SplashWindowHost::Unload() {
  if (m_splash) m_splash->close();
  m_splash = nullptr;
}

bool MainWndShellHost::Load() { return GetMainWnd().Form_Load(); }

void MainWndShellHost::Show() {
  MainWnd& w = GetMainWnd();
  w.show();
  w.Form_Resize();
}

void MainWndViewsHost::DataSourceManagerInit() { GetMainWnd().DataBaseData()->Init(); }
void MainWndViewsHost::WizardInit() { GetMainWnd().ModelData()->Init(); }
void MainWndViewsHost::PrintPanelInit() { GetMainWnd().PreviewData()->Init(); }
void MainWndViewsHost::FormatArchiveRefreshData(const QString& code) { GetMainWnd().FormatData()->RefreshData(code); }

bool MainWndPopUpHost::PopUpLoaded(int index) const {
  return index >= 0 && index < PopUpCount && pv::PopUpLoaded[static_cast<std::size_t>(index)] != VbFalse;
}

void MainWndPopUpHost::UnloadPopUp(int index) {
  if (QWidget* w = PopUpWindow(index)) w->close();
  // A window that did not say it unloaded is forgotten all the same.
  PopUpUnloaded(index);
}

void MainWndDocumentHost::SetStatusBar() {
  if (MainWnd* w = MainWndInstance()) w->SetStatusBar();
}

void MainWndDocumentHost::SetCaption(const QString& caption) {
  if (MainWnd* w = MainWndInstance()) w->setWindowTitle(caption);
}

void MainWndPrintPanelHost::ResetPrinterInformation() {
  if (MainWnd* w = MainWndInstance()) w->PreviewData()->ResetPrinterInformation();
}

}  // namespace pv
