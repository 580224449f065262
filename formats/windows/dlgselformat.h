#pragma once
// The dialog in which the user picks the print format for the open
// document among the formats of its label size. A click on a row marks that
// format as the last one used for its size.

#include <QDialog>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace pv {

class DlgSelFormat : public QDialog {
  Q_OBJECT
 public:
  // The document's label size (Header) chooses the formats.
  explicit DlgSelFormat(QWidget* parent = nullptr);

  // Fills the list again and clears the last-used mark of every format of
  // the label size.
  void RefreshData();

  // The code of the row last clicked; empty when none was.
  QString FormatCode() const { return m_formatCode; }
  bool RetCode() const { return m_retCode; }

  QTreeWidget* List() const { return m_list; }
  QPushButton* OKButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

 private:
  void OnItemClicked(QTreeWidgetItem* item);

  QTreeWidget* m_list = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  QString m_formatCode;
  bool m_retCode = false;
};

}  // namespace pv
