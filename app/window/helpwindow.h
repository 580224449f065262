#pragma once
// The help window: the program's manual (HTML pages in the program folder's
// help folder) with a search box. A missing manual is reported in the
// window itself.

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace pv {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* owner = nullptr);

  // Shows the manual's first page; false (and the missing-file page) when
  // the file is not there.
  bool ShowContents(const QString& helpFile);
  // The same, with the focus in the search box.
  bool ShowSearch(const QString& helpFile);
  // Finds the next place of the text in the page on show (from the top
  // again when the end is reached). False when it is not there.
  bool Find(const QString& text);
  // Searches every page of the manual for the words of `text` (each of
  // them, in any letter case): the pages that hold them all are listed by
  // title, and a click on one opens it at the first place of the words;
  // without a match the list says so. The number of pages found.
  int Search(const QString& text);

  QTextBrowser* Browser() const { return m_browser; }
  QLineEdit* SearchBox() const { return m_search; }
  // The pages found by the last search, and what it says about them.
  QListWidget* Results() const { return m_results; }
  QLabel* ResultsCaption() const { return m_resultsCaption; }

 private:
  struct Page {
    QString file;
    QString title;
    QString text;  // the page's plain text, for the search
  };
  bool Load(const QString& helpFile);
  // The pages of the manual's folder, read once per manual.
  void IndexPages();
  void OpenResult(QListWidgetItem* item);
  // Before it first shows: as large as designed where the screen has room,
  // centred on its owner, and wholly inside the screen's free area.
  void PlaceOnScreen();
  bool m_placed = false;
  QTextBrowser* m_browser = nullptr;
  QLineEdit* m_search = nullptr;
  QWidget* m_resultsPane = nullptr;
  QLabel* m_resultsCaption = nullptr;
  QListWidget* m_results = nullptr;
  QString m_helpFile;
  QString m_indexed;  // the manual m_pages were read from
  QList<Page> m_pages;
  QStringList m_words;  // of the last search
};

// The one help window of the main window (made on first use).
HelpWindow& GetHelpWindow(QWidget* owner);

}  // namespace pv
