#include "app/window/helpwindow.h"

#include "platform/stringtable.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace pv {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(LoadResString(1000) + QStringLiteral(" - Guida"));

  auto* back = new QToolButton(this);
  back->setText(QStringLiteral("Indietro"));
  back->setObjectName(QStringLiteral("Back"));
  auto* home = new QToolButton(this);
  home->setText(QStringLiteral("Sommario"));
  home->setObjectName(QStringLiteral("Home"));
  m_search = new QLineEdit(this);
  m_search->setObjectName(QStringLiteral("Search"));
  m_search->setPlaceholderText(QStringLiteral("Cerca nella guida"));
  m_search->setClearButtonEnabled(true);
  auto* find = new QPushButton(QStringLiteral("Cerca"), this);
  find->setObjectName(QStringLiteral("Find"));

  m_browser = new QTextBrowser(this);
  m_browser->setObjectName(QStringLiteral("Browser"));
  m_browser->setOpenExternalLinks(true);

  connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
  connect(home, &QToolButton::clicked, m_browser, &QTextBrowser::home);
  connect(m_browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  back->setEnabled(false);
  connect(find, &QPushButton::clicked, this, [this]() { Find(m_search->text()); });
  connect(m_search, &QLineEdit::returnPressed, this, [this]() { Find(m_search->text()); });

  auto* bar = new QHBoxLayout;
  bar->addWidget(back);
  bar->addWidget(home);
  bar->addStretch(1);
  bar->addWidget(m_search);
  bar->addWidget(find);
  auto* v = new QVBoxLayout(this);
  v->addLayout(bar);
  v->addWidget(m_browser, 1);
  resize(760, 560);
}

bool HelpWindow::Load(const QString& helpFile) {
  if (!QFileInfo(helpFile).isFile()) {
    m_browser->clearHistory();
    m_browser->setHtml(QStringLiteral("<h2>Guida non disponibile</h2>"
                                      "<p>Il file della guida non è stato trovato:</p><p><tt>%1</tt></p>"
                                      "<p>Reinstallare il programma per ripristinare la guida.</p>")
                           .arg(helpFile.toHtmlEscaped()));
    return false;
  }
  m_browser->setSource(QUrl::fromLocalFile(helpFile));
  m_browser->clearHistory();
  return true;
}

void HelpWindow::PlaceOnScreen() {
  QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect free = screen->availableGeometry();
  // Room for the window manager's frame around the window.
  const QMargins frame(8, 32, 8, 8);
  const QRect room = free.marginsRemoved(frame);
  QSize size = this->size().boundedTo(room.size());
  size = size.expandedTo(minimumSizeHint()).boundedTo(room.size());
  QRect r(QPoint(0, 0), size);
  r.moveCenter(owner != nullptr ? owner->frameGeometry().center() : room.center());
  if (r.right() > room.right()) r.moveRight(room.right());
  if (r.bottom() > room.bottom()) r.moveBottom(room.bottom());
  if (r.left() < room.left()) r.moveLeft(room.left());
  if (r.top() < room.top()) r.moveTop(room.top());
  resize(r.size());
  // A window's position is that of its frame.
  move(r.topLeft() - QPoint(frame.left(), frame.top()));
}

bool HelpWindow::ShowContents(const QString& helpFile) {
  const bool ok = Load(helpFile);
  if (!m_placed) {
    m_placed = true;
    PlaceOnScreen();
  }
  show();
  raise();
  activateWindow();
  return ok;
}

bool HelpWindow::ShowSearch(const QString& helpFile) {
  const bool ok = ShowContents(helpFile);
  m_search->setFocus();
  m_search->selectAll();
  return ok;
}

bool HelpWindow::Find(const QString& text) {
  if (text.isEmpty()) return false;
  if (m_browser->find(text)) return true;
  QTextCursor start = m_browser->textCursor();
  start.movePosition(QTextCursor::Start);
  m_browser->setTextCursor(start);
  return m_browser->find(text);
}

HelpWindow& GetHelpWindow(QWidget* owner) {
  static QPointer<HelpWindow> window;
  if (window.isNull()) window = new HelpWindow(owner);
  return *window;
}

}  // namespace pv
