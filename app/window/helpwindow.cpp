#include "app/window/helpwindow.h"

#include "platform/stringtable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

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
  connect(find, &QPushButton::clicked, this, [this]() { Search(m_search->text()); });
  connect(m_search, &QLineEdit::returnPressed, this, [this]() { Search(m_search->text()); });

  // The pages a search found, beside the page on show.
  m_resultsPane = new QWidget(this);
  m_resultsPane->setObjectName(QStringLiteral("ResultsPane"));
  m_resultsCaption = new QLabel(m_resultsPane);
  m_resultsCaption->setObjectName(QStringLiteral("ResultsCaption"));
  m_resultsCaption->setWordWrap(true);
  m_resultsCaption->setTextFormat(Qt::PlainText);
  m_results = new QListWidget(m_resultsPane);
  m_results->setObjectName(QStringLiteral("Results"));
  connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::OpenResult);
  connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::OpenResult);
  auto* pane = new QVBoxLayout(m_resultsPane);
  pane->setContentsMargins(0, 0, 0, 0);
  pane->addWidget(m_resultsCaption);
  pane->addWidget(m_results, 1);
  m_resultsPane->setFixedWidth(220);
  m_resultsPane->hide();

  auto* bar = new QHBoxLayout;
  bar->addWidget(back);
  bar->addWidget(home);
  bar->addStretch(1);
  bar->addWidget(m_search);
  bar->addWidget(find);
  auto* body = new QHBoxLayout;
  body->addWidget(m_resultsPane);
  body->addWidget(m_browser, 1);
  auto* v = new QVBoxLayout(this);
  v->addLayout(bar);
  v->addLayout(body, 1);
  resize(760, 560);
}

bool HelpWindow::Load(const QString& helpFile) {
  m_helpFile = helpFile;
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

void HelpWindow::IndexPages() {
  if (m_indexed == m_helpFile) return;
  m_indexed = m_helpFile;
  m_pages.clear();
  const QFileInfo start(m_helpFile);
  if (!start.isFile()) return;
  QStringList files = start.dir().entryList({QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                                            QDir::Name | QDir::IgnoreCase);
  // The contents page first, then the others by name.
  files.removeAll(start.fileName());
  files.prepend(start.fileName());
  for (const QString& name : files) {
    QFile file(start.dir().filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(file.readAll()));
    Page page;
    page.file = file.fileName();
    page.title = doc.metaInformation(QTextDocument::DocumentTitle).trimmed();
    if (page.title.isEmpty()) page.title = QFileInfo(name).completeBaseName();
    page.text = doc.toPlainText();
    m_pages << page;
  }
}

int HelpWindow::Search(const QString& text) {
  m_words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  m_results->clear();
  if (m_words.isEmpty()) {
    m_resultsPane->hide();
    return 0;
  }
  IndexPages();
  for (const Page& page : m_pages) {
    const bool all = std::all_of(m_words.cbegin(), m_words.cend(),
                                 [&](const QString& w) { return page.text.contains(w, Qt::CaseInsensitive); });
    if (!all) continue;
    auto* item = new QListWidgetItem(page.title, m_results);
    item->setData(Qt::UserRole, page.file);
    item->setToolTip(page.title);
  }
  const QString shown = m_words.join(QLatin1Char(' '));
  const int found = m_results->count();
  m_resultsCaption->setText(found == 0 ? QStringLiteral("Nessuna pagina contiene «%1».").arg(shown)
                                       : QStringLiteral("Pagine che contengono «%1»: %2").arg(shown).arg(found));
  m_resultsPane->show();
  return found;
}

void HelpWindow::OpenResult(QListWidgetItem* item) {
  if (item == nullptr) return;
  const QUrl url = QUrl::fromLocalFile(item->data(Qt::UserRole).toString());
  if (m_browser->source() != url) m_browser->setSource(url);
  // At the first place of the words: the whole text where it stands
  // together, else its first word.
  QTextCursor start = m_browser->textCursor();
  start.movePosition(QTextCursor::Start);
  m_browser->setTextCursor(start);
  if (m_words.isEmpty()) return;
  if (!m_browser->find(m_words.join(QLatin1Char(' ')))) m_browser->find(m_words.first());
}

HelpWindow& GetHelpWindow(QWidget* owner) {
  static QPointer<HelpWindow> window;
  if (window.isNull()) window = new HelpWindow(owner);
  return *window;
}

}  // namespace pv
