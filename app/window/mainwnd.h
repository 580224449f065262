#pragma once
// MainWnd, the program's one top-level window: the banner with its three
// navigation tabs, the five views (one visible at a time, chosen by key),
// the menus, the editor toolbar, the status bar, and the floating property
// windows hidden and shown with the editor.

#include "views/views.h"

#include <QMainWindow>
#include <QString>
#include <QVector>

#include <array>

class QAction;
class QLabel;
class QMenu;

namespace pv {

class EditToolbar;
class NavigationImage;

class MainWnd : public QMainWindow {
  Q_OBJECT
 public:
  // Client area at design size, in pixels.
  inline static constexpr int DesignWidth = 704;
  inline static constexpr int DesignHeight = 604;
  inline static constexpr int TopBarHeight = 64;

  explicit MainWnd(QWidget* parent = nullptr);
  ~MainWnd() override;

  // ---- Public operations ---------------------------------------------------
  void HidePopUp();
  bool QueryEndProgram();
  void ShowPopUp();
  void InitGui();
  void SelectView(const QString& sKey);
  void SetStatusBar();
  void SetStatusCoord(float X, float Y);
  // The window's load: InitGui, title, caption, help file, LoadSettings and
  // the wizard view. False when LoadSettings ended the program.
  bool Form_Load();
  // The layout rule for the current client size and window state.
  void Form_Resize();
  void Image4_Click(int Index);
  // Repaints the window at once.
  void Refresh();
  // 11 hourglass, 0 default.
  void SetMousePointer(int pointer);
  int MousePointer() const { return m_mousePointer; }

  // ---- Menu and toolbar handlers (item index as in the menu arrays) -------
  void popmnufile_Click(int Index);
  void popmnushow_Click(int Index);
  void popupmnuhelp_Click(int Index);
  void mnu_edit_Click(int Index);
  void mnu_align_Click(int Index);
  void mnu_size_Click(int Index);
  void mnu_rotate_Click(int Index);
  void mnu_shadow_Click(int Index);
  void mnu_modello_Click(int Index);
  void ToolbarButtonClick(const QString& key);
  void ToolbarButtonMenu(const QString& key);

  // ---- Hosted controls -----------------------------------------------------
  ModelDataView* ModelData() const { return m_modelData; }
  EditCardView* EditCard() const { return m_editCard; }
  DataBaseDataView* DataBaseData() const { return m_dataBaseData; }
  FormatDataView* FormatData() const { return m_formatData; }
  PreviewDataView* PreviewData() const { return m_previewData; }
  EditToolbar* SWBCoolbar2() const { return m_toolbar; }
  QWidget* TopBar() const { return m_topBar; }
  QLabel* lblStatusBar(int index) const { return m_status[static_cast<std::size_t>(index)]; }
  QLabel* Image1(int index) const { return m_statusIcon[static_cast<std::size_t>(index)]; }
  // The navigation image of index 0-2, and the resource number of the
  // picture it shows (0 for none).
  QWidget* Image4(int index) const;
  int Image4Picture(int index) const;
  QString CurrentView() const { return m_CurrentView; }
  QWidget* ClientArea() const { return m_client; }

  // ---- Menus ---------------------------------------------------------------
  QMenu* mnuFile() const { return m_mnuFile; }
  QMenu* mnushow() const { return m_mnushow; }
  QMenu* mnuhelp() const { return m_mnuhelp; }
  QMenu* popup_edit() const { return m_popupEdit; }
  QMenu* popup_align() const { return m_popupAlign; }
  QMenu* popup_shadow() const { return m_popupShadow; }
  QMenu* popup_modello() const { return m_popupModello; }
  // Opens a hidden pop-up menu at the pointer.
  void PopupMenu(QMenu* menu);
  // The item of a menu array by index (nullptr for a separator or none):
  // "popmnufile", "popmnushow", "popupmnuhelp", "mnu_edit", "mnu_align",
  // "mnu_size", "mnu_rotate", "mnu_shadow", "mnu_modello".
  QAction* MenuItem(const QString& array, int index) const;

  // The help file the Help menu opens.
  QString HelpFile() const { return m_helpFile; }

  // The desktop's own keys for the editor's commands (Ctrl+Z, Ctrl+Y,
  // Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A, Delete), by command key
  // ("edit_undo", ...); nullptr for a command without one. They act only
  // while the editor is the current view; a text box with the focus keeps
  // them for its own editing.
  QAction* DesktopKey(const QString& command) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct MenuArray {
    QString name;
    QVector<QAction*> items;  // by index; nullptr where there is none
  };
  void BuildControls();
  void BuildMenus();
  QAction* AddItem(MenuArray& array, QMenu* menu, int index, int message, void (MainWnd::*handler)(int));
  void AddSeparator(MenuArray& array, QMenu* menu, int index);
  MenuArray* FindArray(const QString& name);
  const MenuArray* FindArray(const QString& name) const;
  void ShowViews(QWidget* visible);
  // The views' places for a client area of w x h pixels (Form_Resize).
  void LayoutViews(int w, int h);
  // Sets a view's place; a hidden view is resized at once all the same.
  static void PlaceView(QWidget* view, const QRect& r);
  void SetNavigation(int lit);
  void BuildDesktopKeys();
  // The status fields side by side at the bottom, each as wide as its
  // design place or its text, whichever is wider.
  void LayoutStatusBar();
  // The smallest window that shows every control whole: the navigation
  // images, the status field of the label size, the toolbar's buttons and
  // the editor's panel.
  void UpdateMinimumSize();

  QString m_CurrentView;
  QString m_helpFile;
  int m_mousePointer = 0;
  bool m_guiReady = false;
  bool m_ending = false;
  bool m_sized = false;

  QWidget* m_client = nullptr;
  QWidget* m_topBar = nullptr;
  std::array<NavigationImage*, 3> m_nav{};
  ModelDataView* m_modelData = nullptr;
  EditCardView* m_editCard = nullptr;
  DataBaseDataView* m_dataBaseData = nullptr;
  FormatDataView* m_formatData = nullptr;
  PreviewDataView* m_previewData = nullptr;
  EditToolbar* m_toolbar = nullptr;
  std::array<QLabel*, 3> m_statusIcon{};
  std::array<QLabel*, 3> m_status{};

  QMenu* m_mnuFile = nullptr;
  QMenu* m_mnushow = nullptr;
  QMenu* m_mnuhelp = nullptr;
  QMenu* m_popupEdit = nullptr;
  QMenu* m_popupAlign = nullptr;
  QMenu* m_popupSize = nullptr;
  QMenu* m_popupRotate = nullptr;
  QMenu* m_popupShadow = nullptr;
  QMenu* m_popupModello = nullptr;
  QVector<MenuArray> m_arrays;
  QVector<QAction*> m_desktopKeys;
};

// The program's main window: made on first use, lives to the end.
MainWnd& GetMainWnd();
// The main window if it has been made, else nullptr.
MainWnd* MainWndInstance();
// Destroys the main window (tests start afresh with it).
void DestroyMainWnd();

// The status bar's label-size text for a size in millimetres.
QString StatusLabelSizeText(double width, double height);
// The status bar's coordinate text.
QString StatusCoordText(float x, float y);
// Number pattern "#.#00" of the status bar: at least three decimals... see .cpp.
QString FormatSizeNumber(double value);

}  // namespace pv
