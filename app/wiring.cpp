#include "app/wiring.h"

#include "app/dialogs.h"
#include "app/editorsettings.h"
#include "app/hosts.h"
#include "app/messagebox.h"
#include "app/readerwaitdialog.h"
#include "app/rendersettings.h"
#include "app/window/services.h"
#include "app/window/shellhosts.h"
#include "app/window/views.h"
#include "datasources/readers/numericlocale.h"
#include "datasources/windows/install.h"
#include "document/hosts.h"
#include "editor/editorhosts.h"
#include "editor/pickers.h"
#include "editor/services.h"
#include "editor/view/editcard.h"
#include "editor/view/editcardhosts.h"
#include "formats/install.h"
#include "platform/msgbox.h"
#include "printing/install.h"
#include "printing/panel/previewdata.h"
#include "printing/panelhost.h"
#include "properties/install.h"
#include "render/hosts.h"
#include "render/libraries.h"

namespace pv {

namespace {

// The parts of the program that are not built yet. Each function is the one
// place where the finished part will be installed; until then it installs
// what the program does today without it.

// The floating property windows and the insert pickers (properties/): today
// no window loads and every picker answers "cancelled".
void InstallPropertyWindowsAndPickers() {
  InstallPropertyWindows();
  InstallPropertyPickers();
}

// The print panel and the print run (printing/): the engine lays out, merges
// and draws the pages; until the main window makes its panel, the engine
// runs without one.
void InstallPrintPanel() {
  static MainWndPrintPanelHost printPanel;
  static PrintPanelControls noPanelControls;  // the engine's own behaviour without a panel
  SetPrintPanelHost(&printPanel);
  SetPrintPanelControls(&noPanelControls);
  InstallPrintEngine();
  // The panel the main window makes becomes the engine's panel controls.
  ViewFactories().PreviewData = [](QWidget* parent) -> PreviewDataView* {
    auto* panel = new PreviewData(parent);
    panel->InstallAsPrintControls();
    return panel;
  };
}

// The data-source manager, its sort and filter dialogs and the captions of
// the predefined merge fields (datasources/).
void InstallDataSources() {
  static RenderDataSourceHost dataSources;
  SetRenderDataSourceHost(&dataSources);
  InstallDataSourceWindows();
  InstallReaderWaitDialog();
}

// The new-label wizard and the print-format archive (formats/).
void InstallFormatsAndWizard() {
  InstallWizard();
  InstallFormats();
}

}  // namespace

void InstallProgramHosts() {
  // Numbers in the C form whatever the user's locale: the readers of users'
  // databases parse and write decimals through the C library.
  UseCNumericLocale();

  // Dialogs and message boxes.
  static QtMessageBoxes messageBoxes;
  static QtCommonDialogs commonDialogs;
  static ColorDialogHost colorDialog;
  SetMessageBoxHost(&messageBoxes);
  SetCommonDialogHost(&commonDialogs);
  SetColorDialogHost(&colorDialog);

  // Start-up, shutdown and the main window.
  static SplashWindowHost splash;
  static MainWndShellHost window;
  static MainWndViewsHost views;
  static MainWndPopUpHost popUps;
  static ShellDocumentHost document;  // the open document's header and names
  static EditorStyleHost style;
  static MainWndCommands commands;
  static MainWndDocumentHost documentWindow;
  SetShellSplashHost(&splash);
  SetShellWindowHost(&window);
  SetShellViewsHost(&views);
  SetShellPopUpHost(&popUps);
  SetShellDocumentHost(&document);
  SetShellStyleHost(&style);
  SetCommands(&commands);
  SetMainWindowHost(&documentWindow);

  // Label drawing: the real libraries and the program's settings.
  static RenderLibraries libraries;
  static ProgramRenderSettings renderSettings;
  SetRenderLibraries(&libraries);
  SetRenderSettingsHost(&renderSettings);

  // The label editor: its services and drawing, and its view, which becomes
  // the document's canvas and editor and gives the drawing its font scale
  // (CanvasHost, EditorHost, RenderCanvasHost) as the main window makes it.
  static ProgramEditorServices editorServices;
  static EditCardDrawing editorDrawing;
  SetEditorServices(&editorServices);
  SetEditCardDrawing(&editorDrawing);
  ViewFactories().EditCard = [](QWidget* parent) -> EditCardView* {
    auto* view = new EditCard(parent);
    view->AttachToDocument();
    return view;
  };

  InstallPropertyWindowsAndPickers();
  InstallPrintPanel();
  InstallDataSources();
  InstallFormatsAndWizard();
}

}  // namespace pv
