#include "app/window/install.h"

#include "app/hosts.h"
#include "app/window/dlgabout.h"
#include "app/window/mainwnd.h"
#include "app/window/popups.h"
#include "document/hosts.h"
#include "document/labelfile.h"
#include "document/model.h"

#include <QApplication>
#include <QPointer>

namespace pv {

namespace {

class SplashHost : public ShellSplashHost {
 public:
  void Show() override {
    m_splash = new dlgAbout();
    m_splash->setAttribute(Qt::WA_DeleteOnClose);
    m_splash->setWindowFlag(Qt::SplashScreen);
    m_splash->show();
    QCoreApplication::processEvents();
  }
  void Repaint() override {
    if (m_splash) m_splash->repaint();
  }
  void Unload() override {
    if (m_splash) m_splash->close();
    m_splash = nullptr;
  }

 private:
  QPointer<dlgAbout> m_splash;
};

class WindowHost : public ShellWindowHost {
 public:
  bool Load() override { return GetMainWnd().Form_Load(); }
  void Show() override {
    MainWnd& w = GetMainWnd();
    w.show();
    w.Form_Resize();
  }
  void SetStatusBar() override { GetMainWnd().SetStatusBar(); }
};

class ViewsHost : public ShellViewsHost {
 public:
  void DataSourceManagerInit() override { GetMainWnd().DataBaseData()->Init(); }
  void WizardInit() override { GetMainWnd().ModelData()->Init(); }
  void PrintPanelInit() override { GetMainWnd().PreviewData()->Init(); }
  void FormatArchiveRefreshData(const QString& code) override { GetMainWnd().FormatData()->RefreshData(code); }
};

class PopUpHost : public ShellPopUpHost {
 public:
  bool PopUpLoaded(int index) const override {
    return index >= 0 && index < PopUpCount && pv::PopUpLoaded[static_cast<std::size_t>(index)] != VbFalse;
  }
  void UnloadPopUp(int index) override {
    if (QWidget* w = PopUpWindow(index)) w->close();
    // A window that did not say it unloaded is forgotten all the same.
    PopUpUnloaded(index);
  }
};

// The header and names of the open document.
class DocumentHost : public ShellDocumentHost {
 public:
  double LabelWidth() const override { return Header.LabelWidth; }
  double LabelHeight() const override { return Header.LabelHeight; }
  QString LabelFormatCode() const override { return Header.LabelFormatCode; }
  void SetLabelSize(double width, double height) override {
    Header.LabelWidth = width;
    Header.LabelHeight = height;
  }
  void SetLabelFormatCode(const QString& code) override { Header.LabelFormatCode = code; }
  void ClearNames() override {
    BackgroundName = FixedName(QString());
    BorderName = FixedName(QString());
    DocFileName.clear();
  }
  void NewDocument() override { pv::NewDocument(); }
};

class DocumentWindowHost : public MainWindowHost {
 public:
  void SetStatusBar() override {
    if (MainWnd* w = MainWndInstance()) w->SetStatusBar();
  }
  void SetCaption(const QString& caption) override {
    if (MainWnd* w = MainWndInstance()) w->setWindowTitle(caption);
  }
};

class DocumentPrintPanelHost : public PrintPanelHost {
 public:
  void ResetPrinterInformation() override {
    if (MainWnd* w = MainWndInstance()) w->PreviewData()->ResetPrinterInformation();
  }
};

}  // namespace

void InstallMainWindow() {
  static SplashHost splash;
  static WindowHost window;
  static ViewsHost views;
  static PopUpHost popups;
  static DocumentHost document;
  static DocumentWindowHost documentWindow;
  static DocumentPrintPanelHost printPanel;
  SetShellSplashHost(&splash);
  SetShellWindowHost(&window);
  SetShellViewsHost(&views);
  SetShellPopUpHost(&popups);
  SetShellDocumentHost(&document);
  SetMainWindowHost(&documentWindow);
  SetPrintPanelHost(&printPanel);
}

}  // namespace pv
