#include "app/window/mainwnd.h"

#include "core/settings.h"
#include "app/window/edittoolbar.h"
#include "app/window/pictures.h"
#include "views/popups.h"
#include "app/window/services.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "platform/stringtable.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>

#include <algorithm>

namespace pv {

// ---- The banner and its navigation images -----------------------------------

class BannerBar : public QWidget {
 public:
  explicit BannerBar(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
  void SetPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (m_picture.isNull()) {
      p.fillRect(rect(), QColor(0x1a, 0x4f, 0x93));
      return;
    }
    const QSizeF size = m_picture.deviceIndependentSize();
    p.drawPixmap(QPointF(0, 0), m_picture);
    // Wider than the picture: its last column carries on to the right edge;
    // below it, the banner's bottom colour.
    if (width() > size.width()) {
      const qreal ratio = m_picture.devicePixelRatio();
      const QRectF source((size.width() - 1) * ratio, 0, ratio, size.height() * ratio);
      p.drawPixmap(QRectF(size.width(), 0, width() - size.width(), size.height()), m_picture, source);
    }
    if (height() > size.height())
      p.fillRect(QRectF(0, size.height(), width(), height() - size.height()), QColor(0x10, 0x37, 0x66));
  }

 private:
  QPixmap m_picture;
};

class NavigationImage : public QWidget {
 public:
  NavigationImage(QWidget* parent, std::function<void()> onClick) : QWidget(parent), m_onClick(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
  }
  void SetPicture(int id) {
    m_id = id;
    m_picture = id != 0 ? ResPicture(id) : QPixmap();
    update();
  }
  int Picture() const { return m_id; }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (m_picture.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_onClick) m_onClick();
  }

 private:
  std::function<void()> m_onClick;
  QPixmap m_picture;
  int m_id = 0;
};

// ---- Number texts of the status bar ---------------------------------------

QString FormatSizeNumber(double value) {
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale.toString(value, 'f', 3).trimmed();
}

QString StatusLabelSizeText(double width, double height) {
  return LoadResString(15039) + FormatSizeNumber(width) + QStringLiteral(" x ") + FormatSizeNumber(height);
}

QString StatusCoordText(float x, float y) {
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return QStringLiteral("X: ") + locale.toString(static_cast<double>(x), 'f', 1) + QStringLiteral("  Y: ") +
         locale.toString(static_cast<double>(y), 'f', 1);
}

// ---- The window -------------------------------------------------------------

namespace {

// Client-area places of the design (left, top, width, height).
constexpr QRect kNavRect[3] = {QRect(5, 7, 200, 50), QRect(261, 8, 200, 50), QRect(494, 6, 200, 50)};
constexpr int kStatusIconLeft[3] = {6, 231, 453};
constexpr QRect kStatusRect[3] = {QRect(21, 585, 205, 13), QRect(249, 585, 202, 13), QRect(468, 585, 313, 13)};
constexpr int kToolbarWidth = 31;
constexpr int kEditorStrip = 36;

// The image list of the toolbar (list index 1-16: resource number).
constexpr int kImageList[16] = {2100, 2101, 2102, 2112, 2113, 2103, 2104, 2105,
                                2106, 2107, 2108, 2109, 2110, 2111, 2114, 2115};

struct ToolItem {
  const char* key;
  int image;  // 0: spacer
  int tooltip;
};
constexpr ToolItem kToolItems[] = {
    {"edit_select", 1, 8002}, {"edit_rotate", 2, 8003},  {"edit_selectall", 3, 8004}, {"edit_undo", 4, 8005},
    {"edit_redo", 5, 8006},   {"edit_space1", 0, 0},     {"edit_zoomin", 6, 8007},    {"edit_zoomout", 7, 8008},
    {"edit_space2", 0, 0},    {"edit_copy", 8, 8009},    {"edit_cut", 9, 8010},       {"edit_delete", 10, 8011},
    {"edit_paste", 11, 8012}, {"edit_array", 12, 8013},  {"edit_clone", 13, 8014},    {"edit_space3", 0, 0},
    {"edit_align", 14, 8015}, {"edit_shadow", 15, 8016}, {"edit_field", 16, 8036},
};

QString EditMenuKey(int index) {
  switch (index) {
    case 0: return QStringLiteral("edit_field");
    case 2: return QStringLiteral("edit_cut");
    case 3: return QStringLiteral("edit_copy");
    case 4: return QStringLiteral("edit_paste");
    case 5: return QStringLiteral("edit_delete");
    case 7: return QStringLiteral("edit_clone");
    case 9: return QStringLiteral("edit_resize");
    default: return QString();
  }
}

QPointer<MainWnd>& Instance() {
  static QPointer<MainWnd> instance;
  return instance;
}

}  // namespace

MainWnd::MainWnd(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainWnd"));
  BuildControls();
  BuildMenus();
  BuildDesktopKeys();
  m_client->installEventFilter(this);
  // The design size of the client area, below the menu bar.
  resize(DesignWidth, DesignHeight + menuBar()->sizeHint().height());
  // The views at their design places from the start: what the load pushes
  // into them (the settings, the first document) meets views of their real
  // size, before the window is ever shown.
  LayoutViews(DesignWidth, DesignHeight);
}

MainWnd::~MainWnd() {
  if (Instance() == this) Instance() = nullptr;
}

template <typename T>
static T* AdoptView(T* view, QWidget* parent, const char* name) {
  if (view == nullptr) view = new T(parent);
  view->setParent(parent);
  view->setObjectName(QString::fromLatin1(name));
  return view;
}

void MainWnd::BuildControls() {
  m_client = new QWidget(this);
  m_client->setObjectName(QStringLiteral("client"));
  setCentralWidget(m_client);

  auto* banner = new BannerBar(m_client);
  banner->setObjectName(QStringLiteral("TopBar"));
  banner->setGeometry(0, 0, DesignWidth, TopBarHeight);
  m_topBar = banner;
  for (int i = 0; i < 3; ++i) {
    auto* nav = new NavigationImage(banner, [this, i]() { Image4_Click(i); });
    nav->setObjectName(QStringLiteral("Image4_%1").arg(i));
    nav->setGeometry(kNavRect[i]);
    m_nav[static_cast<std::size_t>(i)] = nav;
  }

  ViewFactory& f = ViewFactories();
  m_modelData = AdoptView(f.MakeModelData(m_client), m_client, "ModelData");
  m_editCard = AdoptView(f.MakeEditCard(m_client), m_client, "EditCard");
  connect(m_editCard, &EditCardView::StatusCoordChanged, this, &MainWnd::SetStatusCoord);
  connect(m_editCard, &EditCardView::EditMenuRequested, this, [this] { PopupMenu(m_popupEdit); });
  m_dataBaseData = AdoptView(f.MakeDataBaseData(m_client), m_client, "DataBaseData");
  m_formatData = AdoptView(f.MakeFormatData(m_client), m_client, "FormatData");
  m_previewData = AdoptView(f.MakePreviewData(m_client), m_client, "PreviewData");
  // Until the first view is chosen only the wizard, the first of them, shows.
  for (QWidget* v : QList<QWidget*>{m_editCard, m_dataBaseData, m_formatData, m_previewData}) v->hide();

  m_toolbar = new EditToolbar(m_client);
  m_toolbar->setObjectName(QStringLiteral("SWBCoolbar2"));
  m_toolbar->setGeometry(DesignWidth - kToolbarWidth, TopBarHeight, kToolbarWidth, DesignHeight - TopBarHeight - 20);
  connect(m_toolbar, &EditToolbar::ToolbarButtonClick, this, &MainWnd::ToolbarButtonClick);
  connect(m_toolbar, &EditToolbar::ToolbarButtonMenu, this, &MainWnd::ToolbarButtonMenu);

  QFont statusFont = font();
  statusFont.setPixelSize(11);
  const char* icons[3] = {"status_size", "status_coord", "status_printer"};
  for (int i = 0; i < 3; ++i) {
    auto* icon = new QLabel(m_client);
    icon->setObjectName(QStringLiteral("Image1_%1").arg(i));
    icon->setGeometry(kStatusIconLeft[i], 585, 12, 13);
    icon->setPixmap(NamedPicture(QString::fromLatin1(icons[i])));
    m_statusIcon[static_cast<std::size_t>(i)] = icon;
    auto* label = new QLabel(m_client);
    label->setObjectName(QStringLiteral("lblStatusBar_%1").arg(i));
    label->setGeometry(kStatusRect[i]);
    label->setFont(statusFont);
    label->setTextFormat(Qt::PlainText);
    m_status[static_cast<std::size_t>(i)] = label;
  }
}

QAction* MainWnd::AddItem(MenuArray& array, QMenu* menu, int index, int message, void (MainWnd::*handler)(int)) {
  auto* action = new QAction(this);
  action->setObjectName(QStringLiteral("%1_%2").arg(array.name).arg(index));
  action->setData(message);
  connect(action, &QAction::triggered, this, [this, handler, index]() { (this->*handler)(index); });
  menu->addAction(action);
  if (array.items.size() <= index) array.items.resize(index + 1, nullptr);
  array.items[index] = action;
  return action;
}

void MainWnd::AddSeparator(MenuArray& array, QMenu* menu, int index) {
  menu->addSeparator();
  if (array.items.size() <= index) array.items.resize(index + 1, nullptr);
}

MainWnd::MenuArray* MainWnd::FindArray(const QString& name) {
  for (MenuArray& a : m_arrays) {
    if (a.name == name) return &a;
  }
  return nullptr;
}

const MainWnd::MenuArray* MainWnd::FindArray(const QString& name) const {
  for (const MenuArray& a : m_arrays) {
    if (a.name == name) return &a;
  }
  return nullptr;
}

QAction* MainWnd::MenuItem(const QString& array, int index) const {
  const MenuArray* a = FindArray(array);
  if (a == nullptr || index < 0 || index >= a->items.size()) return nullptr;
  return a->items[index];
}

void MainWnd::BuildMenus() {
  const QStringList names = {QStringLiteral("popmnufile"), QStringLiteral("popmnushow"), QStringLiteral("popupmnuhelp"),
                             QStringLiteral("mnu_edit"),   QStringLiteral("mnu_align"),  QStringLiteral("mnu_size"),
                             QStringLiteral("mnu_rotate"), QStringLiteral("mnu_shadow"), QStringLiteral("mnu_modello")};
  for (const QString& n : names) m_arrays.append(MenuArray{n, {}});
  MenuArray& file = *FindArray(QStringLiteral("popmnufile"));
  MenuArray& show = *FindArray(QStringLiteral("popmnushow"));
  MenuArray& help = *FindArray(QStringLiteral("popupmnuhelp"));
  MenuArray& edit = *FindArray(QStringLiteral("mnu_edit"));
  MenuArray& align = *FindArray(QStringLiteral("mnu_align"));
  MenuArray& size = *FindArray(QStringLiteral("mnu_size"));
  MenuArray& rotate = *FindArray(QStringLiteral("mnu_rotate"));
  MenuArray& shadow = *FindArray(QStringLiteral("mnu_shadow"));
  MenuArray& modello = *FindArray(QStringLiteral("mnu_modello"));

  // Menu bar.
  m_mnuFile = menuBar()->addMenu(QString());
  m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
  m_mnuFile->menuAction()->setData(32008);
  AddItem(file, m_mnuFile, 0, 32009, &MainWnd::popmnufile_Click)->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
  AddItem(file, m_mnuFile, 1, 32010, &MainWnd::popmnufile_Click)->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
  AddItem(file, m_mnuFile, 2, 32011, &MainWnd::popmnufile_Click)->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  AddItem(file, m_mnuFile, 3, 32012, &MainWnd::popmnufile_Click);
  AddSeparator(file, m_mnuFile, 4);
  AddItem(file, m_mnuFile, 5, 32013, &MainWnd::popmnufile_Click);
  AddItem(file, m_mnuFile, 6, 32014, &MainWnd::popmnufile_Click);
  AddSeparator(file, m_mnuFile, 7);
  AddItem(file, m_mnuFile, 8, 32015, &MainWnd::popmnufile_Click);
  AddSeparator(file, m_mnuFile, 9);
  AddItem(file, m_mnuFile, 10, 32016, &MainWnd::popmnufile_Click)->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));

  m_mnushow = menuBar()->addMenu(QString());
  m_mnushow->setObjectName(QStringLiteral("mnushow"));
  m_mnushow->menuAction()->setData(32017);
  AddItem(show, m_mnushow, 0, 32018, &MainWnd::popmnushow_Click)->setShortcut(QKeySequence(Qt::Key_F5));
  AddSeparator(show, m_mnushow, 1);
  AddItem(show, m_mnushow, 2, 32019, &MainWnd::popmnushow_Click)->setShortcut(QKeySequence(Qt::Key_F6));
  AddItem(show, m_mnushow, 3, 32020, &MainWnd::popmnushow_Click)->setShortcut(QKeySequence(Qt::Key_F7));

  m_mnuhelp = menuBar()->addMenu(QString());
  m_mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
  m_mnuhelp->menuAction()->setData(32021);
  AddItem(help, m_mnuhelp, 0, 32022, &MainWnd::popupmnuhelp_Click)->setShortcut(QKeySequence(Qt::Key_F1));
  AddItem(help, m_mnuhelp, 1, 32023, &MainWnd::popupmnuhelp_Click);
  AddSeparator(help, m_mnuhelp, 2);
  AddItem(help, m_mnuhelp, 3, 32024, &MainWnd::popupmnuhelp_Click);
  AddSeparator(help, m_mnuhelp, 4);
  AddItem(help, m_mnuhelp, 5, 32025, &MainWnd::popupmnuhelp_Click);

  // Hidden pop-up menus.
  m_popupEdit = new QMenu(this);
  m_popupEdit->setObjectName(QStringLiteral("popup_edit"));
  AddItem(edit, m_popupEdit, 0, 32030, &MainWnd::mnu_edit_Click);
  AddSeparator(edit, m_popupEdit, 1);
  AddItem(edit, m_popupEdit, 2, 32031, &MainWnd::mnu_edit_Click);
  AddItem(edit, m_popupEdit, 3, 32032, &MainWnd::mnu_edit_Click);
  AddItem(edit, m_popupEdit, 4, 32033, &MainWnd::mnu_edit_Click);
  AddItem(edit, m_popupEdit, 5, 32034, &MainWnd::mnu_edit_Click);
  AddSeparator(edit, m_popupEdit, 6);
  AddItem(edit, m_popupEdit, 7, 32035, &MainWnd::mnu_edit_Click);
  AddSeparator(edit, m_popupEdit, 8);
  AddItem(edit, m_popupEdit, 9, 32036, &MainWnd::mnu_edit_Click);

  m_popupAlign = new QMenu(this);
  m_popupAlign->setObjectName(QStringLiteral("popup_align"));
  m_popupAlign->menuAction()->setData(9000);
  for (int i = 0; i <= 5; ++i) AddItem(align, m_popupAlign, i, 9001 + i, &MainWnd::mnu_align_Click);
  AddSeparator(align, m_popupAlign, 6);
  m_popupSize = new QMenu(this);
  m_popupSize->setObjectName(QStringLiteral("mnu_align_7"));
  AddItem(size, m_popupSize, 6, 9008, &MainWnd::mnu_size_Click);
  AddItem(size, m_popupSize, 7, 9009, &MainWnd::mnu_size_Click);
  m_popupSize->menuAction()->setData(9007);
  m_popupAlign->addMenu(m_popupSize);
  align.items.resize(8, nullptr);
  align.items[7] = m_popupSize->menuAction();
  AddSeparator(align, m_popupAlign, 8);
  for (int i = 9; i <= 12; ++i) AddItem(align, m_popupAlign, i, 9001 + i, &MainWnd::mnu_align_Click);
  AddSeparator(align, m_popupAlign, 13);
  AddItem(align, m_popupAlign, 14, 9014, &MainWnd::mnu_align_Click);
  AddSeparator(align, m_popupAlign, 15);
  m_popupRotate = new QMenu(this);
  m_popupRotate->setObjectName(QStringLiteral("mnu_align_16"));
  for (int i = 13; i <= 16; ++i) AddItem(rotate, m_popupRotate, i, 9016 + (i - 13), &MainWnd::mnu_rotate_Click);
  m_popupRotate->menuAction()->setData(9015);
  m_popupAlign->addMenu(m_popupRotate);
  align.items.resize(17, nullptr);
  align.items[16] = m_popupRotate->menuAction();

  m_popupShadow = new QMenu(this);
  m_popupShadow->setObjectName(QStringLiteral("popup_shadow"));
  m_popupShadow->menuAction()->setData(9023);
  for (int i = 0; i <= 3; ++i) AddItem(shadow, m_popupShadow, i, 9024 + i, &MainWnd::mnu_shadow_Click);
  AddSeparator(shadow, m_popupShadow, 4);
  for (int i = 5; i <= 8; ++i) AddItem(shadow, m_popupShadow, i, 9028 + (i - 5), &MainWnd::mnu_shadow_Click);
  AddSeparator(shadow, m_popupShadow, 9);
  AddItem(shadow, m_popupShadow, 10, 9032, &MainWnd::mnu_shadow_Click);

  m_popupModello = new QMenu(this);
  m_popupModello->setObjectName(QStringLiteral("popup_modello"));
  m_popupModello->menuAction()->setData(9020);
  AddItem(modello, m_popupModello, 0, 9021, &MainWnd::mnu_modello_Click);
  AddSeparator(modello, m_popupModello, 1);
  AddItem(modello, m_popupModello, 2, 9022, &MainWnd::mnu_modello_Click);
}

void MainWnd::BuildDesktopKeys() {
  struct Key {
    const char* command;
    QKeySequence keys;
  };
  const Key keys[] = {
      {"edit_undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},  {"edit_redo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
      {"edit_cut", QKeySequence(Qt::CTRL | Qt::Key_X)},   {"edit_copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {"edit_paste", QKeySequence(Qt::CTRL | Qt::Key_V)}, {"edit_selectall", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {"edit_delete", QKeySequence(Qt::Key_Delete)},
  };
  for (const Key& k : keys) {
    const QString command = QString::fromLatin1(k.command);
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("key_") + command);
    action->setData(command);
    action->setShortcut(k.keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, command]() {
      if (m_CurrentView == QLatin1String("tbr_editor")) m_editCard->Exec(command, 0);
    });
    addAction(action);
    m_desktopKeys.append(action);
  }
}

QAction* MainWnd::DesktopKey(const QString& command) const {
  for (QAction* a : m_desktopKeys) {
    if (a->data().toString() == command) return a;
  }
  return nullptr;
}

void MainWnd::InitGui() {
  if (m_guiReady) return;
  m_guiReady = true;
  // 1, 5. Captions of the menus and their items from the string table.
  const QList<QMenu*> menus = {m_mnuFile,   m_mnushow,     m_mnuhelp,     m_popupEdit,   m_popupAlign,
                               m_popupSize, m_popupRotate, m_popupShadow, m_popupModello};
  for (QMenu* menu : menus) {
    const int title = menu->menuAction()->data().toInt();
    if (title != 0) menu->setTitle(LoadResString(title));
  }
  for (const MenuArray& a : m_arrays) {
    for (QAction* action : a.items) {
      if (action != nullptr && action->data().toInt() != 0) action->setText(LoadResString(action->data().toInt()));
    }
  }
  // 2. The banner.
  static_cast<BannerBar*>(m_topBar)->SetPicture(ResPicture(PicBanner));
  // 3. The toolbar's image list.
  for (int i = 0; i < 16; ++i) m_toolbar->AddImage(i + 1, ResPicture(kImageList[i]));
  // 4. The toolbar's items.
  for (const ToolItem& item : kToolItems) {
    const QString key = QString::fromLatin1(item.key);
    if (item.image == 0) {
      m_toolbar->AddSpacer(key);
    } else {
      const bool dropDown = key == QLatin1String("edit_align") || key == QLatin1String("edit_shadow");
      m_toolbar->AddButton(item.image, key, LoadResString(item.tooltip), dropDown);
    }
  }
  // The menu bar has its captions now: the client area at its design size.
  if (!isVisible()) resize(DesignWidth, DesignHeight + menuBar()->sizeHint().height());
  UpdateMinimumSize();
}

QWidget* MainWnd::Image4(int index) const {
  if (index < 0 || index > 2) return nullptr;
  return m_nav[static_cast<std::size_t>(index)];
}

int MainWnd::Image4Picture(int index) const {
  if (index < 0 || index > 2) return 0;
  return m_nav[static_cast<std::size_t>(index)]->Picture();
}

bool MainWnd::Form_Load() {
  InitGui();
  const QString title = LoadResString(1000);
  QApplication::setApplicationName(title);
  QApplication::setApplicationDisplayName(QString());
  setWindowTitle(title + QStringLiteral(" - ") + LoadResString(15098));
  m_helpFile = ProgramPath(QStringLiteral("help/index.html"));
  if (!LoadSettings()) return false;
  SelectView(QStringLiteral("tbr_template"));
  return true;
}

// ---- Views --------------------------------------------------------------------

void MainWnd::ShowViews(QWidget* visible) {
  const QList<QWidget*> views = {m_modelData, m_previewData, m_formatData, m_dataBaseData, m_editCard};
  for (QWidget* v : views) {
    if (v != visible) v->setVisible(false);
  }
  visible->setVisible(true);
}

void MainWnd::SetNavigation(int lit) {
  const int pictures[3] = {PicTabWizardLit, PicTabEditorLit, PicTabPrintLit};
  for (int i = 0; i < 3; ++i) m_nav[static_cast<std::size_t>(i)]->SetPicture(i == lit ? pictures[i] : 0);
}

void MainWnd::SelectView(const QString& sKey) {
  m_CurrentView = sKey;
  if (sKey != QLatin1String("tbr_editor")) {
    HidePopUp();
  } else {
    ShowPopUp();
  }
  if (sKey == QLatin1String("tbr_template")) {
    ShowViews(m_modelData);
    m_toolbar->setVisible(false);
    SetNavigation(0);
  } else if (sKey == QLatin1String("tbr_editor")) {
    ShowViews(m_editCard);
    m_editCard->SetBaseTool();
    m_toolbar->setVisible(true);
    m_toolbar->raise();
    SetNavigation(1);
  } else if (sKey == QLatin1String("tbr_archive")) {
    ShowViews(m_dataBaseData);
    m_toolbar->setVisible(false);
    SetNavigation(-1);
  } else if (sKey == QLatin1String("tbr_formats")) {
    m_formatData->ShowSummary(true);
    ShowViews(m_formatData);
    m_toolbar->setVisible(false);
    SetNavigation(-1);
  } else if (sKey == QLatin1String("tbr_preview")) {
    ShowViews(m_previewData);
    m_toolbar->setVisible(false);
    SetNavigation(2);
  }
  for (QAction* key : m_desktopKeys) key->setEnabled(sKey == QLatin1String("tbr_editor"));
  m_toolbar->RefreshToolbar();
  SetStatusBar();
}

void MainWnd::HidePopUp() {
  for (int index : PopUpVisitOrder) {
    if (PopUpLoaded[static_cast<std::size_t>(index)] == VbFalse) continue;
    if (QWidget* w = PopUpWindow(index)) w->hide();
  }
}

void MainWnd::ShowPopUp() {
  if (m_CurrentView != QLatin1String("tbr_editor")) return;
  for (int index : PopUpVisitOrder) {
    if (PopUpLoaded[static_cast<std::size_t>(index)] == VbFalse) continue;
    if (QWidget* w = PopUpWindow(index)) w->show();
  }
}

void MainWnd::SetStatusBar() {
  m_status[0]->setText(StatusLabelSizeText(Header.LabelWidth, Header.LabelHeight));
  m_status[1]->setText(QStringLiteral("X,Y: 0,0"));
  m_status[2]->setText(LoadResString(31001) + CurrentPrinterName());
  LayoutStatusBar();
  UpdateMinimumSize();
}

void MainWnd::LayoutStatusBar() {
  // Each field keeps its design gap to the one before it.
  int shift = 0;
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    QLabel* icon = m_statusIcon[k];
    QLabel* label = m_status[k];
    const QRect design = kStatusRect[i];
    const int text = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2;
    const int width = i == 2 ? design.width() : std::max(design.width(), text);
    icon->move(kStatusIconLeft[i] + shift, icon->y());
    label->setGeometry(design.x() + shift, label->y(), width, design.height());
    shift += width - design.width();
  }
}

void MainWnd::UpdateMinimumSize() {
  int clientWidth = kEditorStrip;
  for (const NavigationImage* nav : m_nav) clientWidth = std::max(clientWidth, nav->geometry().right() + 1);
  clientWidth = std::max(clientWidth, m_status[0]->geometry().right() + 1);
  const int views = std::max(m_toolbar->minimumSizeHint().height(), m_editCard->minimumSizeHint().height());
  const int clientHeight = m_topBar->height() + views + 20;
  const int bar = menuBar()->isVisibleTo(this) ? menuBar()->sizeHint().height() : 0;
  setMinimumSize(clientWidth, clientHeight + bar);
}

void MainWnd::SetStatusCoord(float X, float Y) { m_status[1]->setText(StatusCoordText(X, Y)); }

// ---- Layout -------------------------------------------------------------------

void MainWnd::Form_Resize() {
  if (isMinimized()) {
    HidePopUp();
  } else {
    ShowPopUp();
  }
  const int w = m_client->width();
  const int h = m_client->height();
  LayoutViews(w, h);
  for (int i = 0; i < 3; ++i) {
    QLabel* icon = m_statusIcon[static_cast<std::size_t>(i)];
    icon->move(icon->x(), std::max(0, h - 16));
    QLabel* label = m_status[static_cast<std::size_t>(i)];
    label->move(label->x(), std::max(0, h - 16));
  }
  // The banner follows the width; the toolbar stays at the right edge, from
  // below the banner to the bottom of the views.
  const int topBar = m_topBar->height();
  const int viewHeight = std::max(0, h - (topBar + 20));
  m_topBar->resize(std::max(w, 0), topBar);
  m_toolbar->setGeometry(std::max(0, w - kToolbarWidth), topBar, kToolbarWidth, viewHeight);
}

void MainWnd::LayoutViews(int w, int h) {
  const int topBar = m_topBar->height();
  const int viewHeight = std::max(0, h - (topBar + 20));
  const QList<QWidget*> views = {m_modelData, m_editCard, m_dataBaseData, m_formatData, m_previewData};
  for (QWidget* v : views) {
    const int vw = v == m_editCard ? std::max(0, w - kEditorStrip) : std::max(0, w);
    PlaceView(v, QRect(0, topBar, vw, viewHeight));
  }
}

void MainWnd::PlaceView(QWidget* view, const QRect& r) {
  const QSize old = view->size();
  view->setGeometry(r);
  // Qt gives a hidden view its resize event only when it is shown; the
  // view lays itself out for its new size now, as a shown one does.
  if (!view->isVisible() && view->size() != old) {
    QResizeEvent event(view->size(), old);
    QCoreApplication::sendEvent(view, &event);
  }
}

void MainWnd::Image4_Click(int Index) {
  switch (Index) {
    case 0: SelectView(QStringLiteral("tbr_template")); break;
    case 1: SelectView(QStringLiteral("tbr_editor")); break;
    case 2: SelectView(QStringLiteral("tbr_preview")); break;
    default: break;
  }
}

bool MainWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_client && event->type() == QEvent::Resize) Form_Resize();
  return QMainWindow::eventFilter(watched, event);
}

void MainWnd::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void MainWnd::showEvent(QShowEvent* event) {
  // The first time on screen, with the menu bar in its final style: the
  // client area at its design size.
  if (!m_sized) {
    m_sized = true;
    menuBar()->ensurePolished();
    const int bar = menuBar()->heightForWidth(DesignWidth);
    resize(DesignWidth, DesignHeight + (bar > 0 ? bar : menuBar()->sizeHint().height()));
  }
  QMainWindow::showEvent(event);
}

void MainWnd::Refresh() { repaint(); }

void MainWnd::SetMousePointer(int pointer) {
  m_mousePointer = pointer;
  if (pointer == 11) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
  }
}

// ---- Menus, toolbar and the way out -----------------------------------------

bool MainWnd::QueryEndProgram() {
  return MsgBoxRes(15045, MsgIcon::Question, MsgButtons::YesNoCancel) == MsgAnswer::Yes;
}

void MainWnd::closeEvent(QCloseEvent* event) {
  if (m_ending) {
    event->accept();
    return;
  }
  if (!QueryEndProgram()) {
    event->ignore();
    return;
  }
  Commands().SaveSettings();
  m_ending = true;
  event->accept();
  Commands().EndProgram();
}

void MainWnd::popmnufile_Click(int Index) {
  switch (Index) {
    case 0:
      if (MsgBoxRes(16003, MsgIcon::Question, MsgButtons::YesNoCancel) != MsgAnswer::Yes) return;
      Commands().NewDocument();
      SelectView(QStringLiteral("tbr_template"));
      break;
    case 1:
      if (MsgBoxRes(16004, MsgIcon::Question, MsgButtons::YesNoCancel) != MsgAnswer::Yes) return;
      if (Commands().OpenDocument()) SelectView(QStringLiteral("tbr_editor"));
      break;
    case 2: Commands().SaveDocument(false); break;
    case 3: Commands().SaveDocument(true); break;
    case 5:
      Commands().ShowOptions(this);
      m_editCard->SetParameter();
      break;
    case 6:
      // The status bar names the printer in force once the panel has read it.
      Commands().ShowPrinterSetup();
      m_previewData->ReloadPrinterInfo();
      SetStatusBar();
      break;
    case 8: m_formatData->Import(); break;
    case 10:
      if (!QueryEndProgram()) return;
      Commands().SaveSettings();
      m_ending = true;
      Commands().EndProgram();
      break;
    default: break;
  }
}

void MainWnd::popmnushow_Click(int Index) {
  switch (Index) {
    case 0: SelectView(QStringLiteral("tbr_template")); break;
    case 2: SelectView(QStringLiteral("tbr_archive")); break;
    case 3: SelectView(QStringLiteral("tbr_formats")); break;
    default: break;
  }
}

void MainWnd::popupmnuhelp_Click(int Index) {
  switch (Index) {
    case 0: Commands().ShowHelp(this, false); break;
    case 1: Commands().ShowHelp(this, true); break;
    case 3: Commands().LiveUpdate(); break;
    case 5: Commands().ShowAbout(this); break;
    default: break;
  }
}

void MainWnd::mnu_edit_Click(int Index) {
  const QString key = EditMenuKey(Index);
  if (!key.isEmpty()) m_editCard->Exec(key, 0);
}

void MainWnd::mnu_align_Click(int Index) {
  if (MenuItem(QStringLiteral("mnu_align"), Index) != nullptr) m_editCard->Exec(QStringLiteral("mnu_align"), Index);
}

void MainWnd::mnu_size_Click(int Index) {
  if (MenuItem(QStringLiteral("mnu_size"), Index) != nullptr) m_editCard->Exec(QStringLiteral("mnu_size"), Index);
}

void MainWnd::mnu_rotate_Click(int Index) {
  if (MenuItem(QStringLiteral("mnu_rotate"), Index) != nullptr) m_editCard->Exec(QStringLiteral("mnu_rotate"), Index);
}

void MainWnd::mnu_shadow_Click(int Index) {
  if (MenuItem(QStringLiteral("mnu_shadow"), Index) != nullptr) m_editCard->Exec(QStringLiteral("mnu_shadow"), Index);
}

void MainWnd::mnu_modello_Click(int Index) {
  if (MenuItem(QStringLiteral("mnu_modello"), Index) == nullptr) return;
  const QString before = m_CurrentView;
  m_modelData->Apply(Index);
  // Applying a size or a template takes the user to the editor with a new
  // label: it is not the file that was open before, nor the template's file,
  // so its first save asks for a name.
  if (Index == 0 && before != QLatin1String("tbr_editor") && m_CurrentView == QLatin1String("tbr_editor"))
    MakeDocumentUntitled();
}

void MainWnd::ToolbarButtonClick(const QString& key) {
  if (key.contains(QLatin1String("edit_"))) m_editCard->Exec(key, 0);
}

void MainWnd::ToolbarButtonMenu(const QString& key) {
  if (key == QLatin1String("edit_align")) {
    PopupMenu(m_popupAlign);
  } else if (key == QLatin1String("edit_shadow")) {
    PopupMenu(m_popupShadow);
  }
}

void MainWnd::PopupMenu(QMenu* menu) {
  if (menu != nullptr) menu->popup(QCursor::pos());
}

// ---- The one instance ---------------------------------------------------------

MainWnd& GetMainWnd() {
  if (Instance().isNull()) {
    Instance() = new MainWnd();
    if (QCoreApplication* app = QCoreApplication::instance()) {
      QObject::connect(app, &QCoreApplication::aboutToQuit, app, []() { DestroyMainWnd(); });
    }
  }
  return *Instance();
}

MainWnd* MainWndInstance() { return Instance().data(); }

void DestroyMainWnd() { delete Instance().data(); }

}  // namespace pv
