#pragma once
// The main window's side of the interfaces start-up, shutdown and the
// document call: the splash (dlgAbout), the main window's load and show, its
// views' start-up calls, the floating windows, the status bar and caption,
// and the print panel's reload. The composition root installs them.

#include "core/hosts.h"
#include "document/hosts.h"

#include <QPointer>

namespace pv {

class dlgAbout;

class SplashWindowHost : public ShellSplashHost {
 public:
  void Show() override;
  void Repaint() override;
  void Unload() override;

 private:
  QPointer<dlgAbout> m_splash;
};

class MainWndShellHost : public ShellWindowHost {
 public:
  bool Load() override;
  void Show() override;
};

class MainWndViewsHost : public ShellViewsHost {
 public:
  void DataSourceManagerInit() override;
  void WizardInit() override;
  void PrintPanelInit() override;
  void FormatArchiveRefreshData(const QString& code) override;
};

class MainWndPopUpHost : public ShellPopUpHost {
 public:
  bool PopUpLoaded(int index) const override;
  void UnloadPopUp(int index) override;
};

// The document's status bar and caption: the main window's, once it exists.
class MainWndDocumentHost : public MainWindowHost {
 public:
  void SetStatusBar() override;
  void SetCaption(const QString& caption) override;
};

// The print panel's reload of the document's print format: the main
// window's print panel view.
class MainWndPrintPanelHost : public PrintPanelHost {
 public:
  void ResetPrinterInformation() override;
};

}  // namespace pv
