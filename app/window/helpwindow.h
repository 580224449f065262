#pragma once
// The help window: the program's manual (HTML pages in the program folder's
// help folder) with a search box. A missing manual is reported in the
// window itself.

#include <QString>
#include <QWidget>

class QLineEdit;
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

  QTextBrowser* Browser() const { return m_browser; }
  QLineEdit* SearchBox() const { return m_search; }

 private:
  bool Load(const QString& helpFile);
  // Before it first shows: as large as designed where the screen has room,
  // centred on its owner, and wholly inside the screen's free area.
  void PlaceOnScreen();
  bool m_placed = false;
  QTextBrowser* m_browser = nullptr;
  QLineEdit* m_search = nullptr;
};

// The one help window of the main window (made on first use).
HelpWindow& GetHelpWindow(QWidget* owner);

}  // namespace pv
