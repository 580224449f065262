#include "app/wiring.h"

#include "app/dialogs.h"
#include "app/editorsettings.h"
#include "core/hosts.h"
#include "app/messagebox.h"
#include "app/popupeditorhost.h"
#include "app/readerwaitdialog.h"
#include "app/rendersettings.h"
#include "app/window/services.h"
#include "app/window/shellhosts.h"
#include "views/views.h"
#include "app/wizardwindowhost.h"
#include "datasources/readers/numericlocale.h"
#include "datasources/sourcedialogs.h"
#include "datasources/windows/databasedata.h"
#include "datasources/windows/sourcedialogwindows.h"
#include "document/hosts.h"
#include "editor/pickers.h"
#include "editor/services.h"
#include "editor/view/editcard.h"
#include "editor/view/editcardhosts.h"
#include "formats/windows/formatdata.h"
#include "formats/windows/modeldata.h"
#include "formats/wizardhost.h"
#include "platform/commondialogs.h"
#include "platform/hostslot.h"
#include "platform/msgbox.h"
#include "printing/panel/previewdata.h"
#include "printing/panelhost.h"
#include "properties/windows/popupwindows.h"
#include "properties/windows/propertypickers.h"
#include "render/hosts.h"

#include <memory>

// Every install of the program's hosts and services is here. Slots left at
// the interface's own default on purpose, because that default is what the
// program does:
//   PopUpEditor          the floating windows call the main window's editor;
//   RenderLibraries      the drawing calls the real text, shape and picture
//                        libraries;
//   ShellDocumentHost    start-up works on the open document;
//   PrintPanelControls   until the print panel is made, the engine runs
//                        without one.

namespace pv {

namespace {

// The editor view's installs, for as long as it lives.
class EditCardInstalls : public ViewInstalls {
 public:
  explicit EditCardInstalls(EditCard& view)
      : m_canvas(view.Canvas()), m_editor(view.DocumentEditor()), m_scale(view.DrawingFontScale()) {}

 private:
  ScopedHost<CanvasHost> m_canvas;
  ScopedHost<EditorHost> m_editor;
  ScopedHost<RenderCanvasHost> m_scale;
};

// The print panel's install, for as long as it lives.
class PrintPanelInstalls : public ViewInstalls {
 public:
  explicit PrintPanelInstalls(PreviewData& panel) : m_controls(panel) {}

 private:
  ScopedHost<PrintPanelControls> m_controls;
};

// The main window's five views.
class ProgramViews : public ViewFactory {
 public:
  ModelDataView* MakeModelData(QWidget* parent) override { return new ModelData(parent); }
  EditCardView* MakeEditCard(QWidget* parent) override {
    auto* view = new EditCard(parent);
    AttachEditCard(*view);
    return view;
  }
  DataBaseDataView* MakeDataBaseData(QWidget* parent) override { return new DataBaseData(parent); }
  FormatDataView* MakeFormatData(QWidget* parent) override { return new FormatData(parent); }
  PreviewDataView* MakePreviewData(QWidget* parent) override {
    auto* panel = new PreviewData(parent);
    AttachPrintPanel(*panel);
    return panel;
  }
};

}  // namespace

void AttachEditCard(EditCard& view) { view.KeepInstalls(std::make_unique<EditCardInstalls>(view)); }

void AttachPrintPanel(PreviewData& panel) { panel.KeepInstalls(std::make_unique<PrintPanelInstalls>(panel)); }

void InstallProgramHosts() {
  // Numbers in the C form whatever the user's locale: the readers of users'
  // databases parse and write decimals through the C library.
  UseCNumericLocale();

  // Dialogs and message boxes.
  static QtMessageBoxes messageBoxes;
  static QtCommonDialogs commonDialogs;
  static QtColorDialog colorDialog;
  SetMessageBoxHost(&messageBoxes);
  SetCommonDialogHost(&commonDialogs);
  SetColorDialogHost(&colorDialog);

  // Start-up, shutdown, the main window and its views.
  static SplashWindowHost splash;
  static MainWndShellHost window;
  static MainWndViewsHost views;
  static MainWndPopUpHost popUps;
  static EditorStyleHost style;
  static MainWndCommands commands;
  static MainWndDocumentHost documentWindow;
  static ProgramViews viewFactory;
  SetShellSplashHost(&splash);
  SetShellWindowHost(&window);
  SetShellViewsHost(&views);
  SetShellPopUpHost(&popUps);
  SetShellStyleHost(&style);
  SetCommands(&commands);
  SetMainWindowHost(&documentWindow);
  SetViewFactory(&viewFactory);

  // Label drawing: the program's settings. The editor view and the print
  // panel install the rest while they live (AttachEditCard,
  // AttachPrintPanel).
  static ProgramRenderSettings renderSettings;
  SetRenderSettingsHost(&renderSettings);

  // The label editor: its services, its drawing (the interface's own is the
  // object drawing), its pickers and the floating property windows.
  static ProgramEditorServices editorServices;
  static EditCardDrawing editorDrawing;
  static PropertyPickers pickers;
  SetEditorServices(&editorServices);
  SetEditCardDrawing(&editorDrawing);
  SetEditorPickers(&pickers);
  SetPropertyWindows(&ProgramPopUpWindows());
  static MainWndPopUpEditor popUpEditor;
  SetPopUpEditor(&popUpEditor);

  // The print run: the main window's side of the print panel.
  static MainWndPrintPanelHost printPanel;
  SetPrintPanelHost(&printPanel);

  // The data-source manager's sort and filter dialogs, and the wait for a
  // data source being read.
  static SourceDialogWindows sourceDialogs;
  SetSourceDialogs(&sourceDialogs);

  // While a data source is read, the window stays alive and tells the user
  // (the reader program's wait).
  InstallReaderWaitDialog();

  // The new-label wizard's side of the main window.
  static MainWndWizardHost wizardWindow;
  SetWizardWindowHost(&wizardWindow);
}

}  // namespace pv
