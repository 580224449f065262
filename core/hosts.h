#pragma once
// What start-up and shutdown call on the windows and views around them: the
// splash, the main window, the hosted views, the editor's default style, the
// open document and the floating property windows. Each is an interface with
// a process-wide slot (platform/hostslot.h) that the composition root fills.
// The document's default works on the open document (start-up without a
// window); the others must be installed. Setters take no ownership and
// return the previous instance; nullptr puts the default back.

#include "platform/hostslot.h"

#include <QString>

namespace pv {

class ShellSplashHost {
 public:
  virtual ~ShellSplashHost() = default;
  // The About window shown modeless as the splash.
  virtual void Show() {}
  virtual void Repaint() {}
  virtual void Unload() {}
};

class ShellWindowHost {
 public:
  virtual ~ShellWindowHost() = default;
  // Loads the main window: menus, title, caption and help file, then
  // LoadSettings, then the wizard view. Returns false when LoadSettings ended
  // the program. Default: runs LoadSettings.
  virtual bool Load();
  virtual void Show() {}
};

class ShellViewsHost {
 public:
  virtual ~ShellViewsHost() = default;
  virtual void DataSourceManagerInit() {}                                     // DataBaseData.Init
  virtual void WizardInit() {}                                                // ModelData.Init
  virtual void PrintPanelInit() {}                                            // PreviewData.Init
  virtual void FormatArchiveRefreshData(const QString& code) { (void)code; }  // FormatData.RefreshData
};

class ShellStyleHost {
 public:
  virtual ~ShellStyleHost() = default;
  // Gives the editor's DefaultStyle its start values.
  virtual void ResetDefaultStyle() {}
};

class ShellDocumentHost {
 public:
  virtual ~ShellDocumentHost() = default;
  // The document header's label size (mm) and print-format code.
  virtual double LabelWidth() const;
  virtual double LabelHeight() const;
  virtual QString LabelFormatCode() const;
  virtual void SetLabelSize(double width, double height);
  virtual void SetLabelFormatCode(const QString& code);
  // Blank background and border names, no file name.
  virtual void ClearNames();
  // Starts an empty document for the label size in the header.
  virtual void NewDocument();
};

// Window indexes of the floating property windows.
inline constexpr int PopFont = 0;
inline constexpr int PopText = 1;
inline constexpr int PopLinee = 3;
inline constexpr int PopFill = 4;
inline constexpr int PopArtText = 5;

class ShellPopUpHost {
 public:
  virtual ~ShellPopUpHost() = default;
  // Whether the window of that index is loaded (its PopUpLoaded flag).
  virtual bool PopUpLoaded(int index) const {
    (void)index;
    return false;
  }
  // Unloads it (the window clears its flag).
  virtual void UnloadPopUp(int index) { (void)index; }
};

PV_DECLARE_HOST_SLOT(ShellSplashHost)
PV_DECLARE_HOST_SLOT(ShellWindowHost)
PV_DECLARE_HOST_SLOT(ShellViewsHost)
PV_DECLARE_HOST_SLOT(ShellStyleHost)
PV_DECLARE_HOST_SLOT(ShellDocumentHost)
PV_DECLARE_HOST_SLOT(ShellPopUpHost)

ShellSplashHost& ShellSplash();
ShellWindowHost& ShellWindow();
ShellViewsHost& ShellViews();
ShellStyleHost& ShellStyle();
ShellDocumentHost& ShellDocument();
ShellPopUpHost& ShellPopUps();

ShellSplashHost* SetShellSplashHost(ShellSplashHost* host);
ShellWindowHost* SetShellWindowHost(ShellWindowHost* host);
ShellViewsHost* SetShellViewsHost(ShellViewsHost* host);
ShellStyleHost* SetShellStyleHost(ShellStyleHost* host);
ShellDocumentHost* SetShellDocumentHost(ShellDocumentHost* host);
ShellPopUpHost* SetShellPopUpHost(ShellPopUpHost* host);

}  // namespace pv
