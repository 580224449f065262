#pragma once
// The print-format archive view ("tbr_formats"): every format in a list, a
// summary and a small drawing of the sheet of the format last clicked, and
// the commands to create, edit and delete formats.

#include "views/views.h"
#include "formats/printformat.h"
#include "formats/sheetpreview.h"
#include "platform/db/dberror.h"

#include <array>

class QFrame;
class QLabel;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pv {

class FormatData : public FormatDataView {
  Q_OBJECT
 public:
  explicit FormatData(QWidget* parent = nullptr);

  void RefreshData(const QString& Code) override;
  void ShowSummary(bool bMode) override;
  void Import() override;
  // Asks, then removes the current format.
  void Delete();
  // Stores the current format by code and selects it; false when the store
  // failed (reported).
  bool SaveData();
  void p_RedrawPreview();

  // The commands: 0 new, 1 edit, 2 delete.
  void Command(int index);

  const PrintFormat& CurrentFormat() const { return m_current; }
  QTreeWidget* List() const { return m_list; }
  QWidget* PagePicture() const { return m_page; }
  // The labels the sheet drawing shows.
  const SheetPreview& Preview() const { return m_preview; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Panel;
  class Page;

  void Layout();
  // Shows the two headings and the eight values, each as tall as it wraps.
  void PlaceSummary(const std::array<QString, 2>& headings, const std::array<QString, 8>& values);
  void OnItemClicked(QTreeWidgetItem* item);
  void OnDoubleClicked();
  void OnHeaderClicked(int column);
  void EditInDialog(const PrintFormat& start);
  void ReportDbError(const DbError& error);

  PrintFormat m_current;
  bool m_itemClicked = false;
  QPoint m_pageCentre;
  SheetPreview m_preview;
  int m_sortColumn = 0;
  Qt::SortOrder m_sortOrder = Qt::AscendingOrder;  // flipped by every header click
  bool m_sorted = false;

  QWidget* m_panel = nullptr;  // a Panel
  QWidget* m_page = nullptr;   // a Page
  QLabel* m_heading[2] = {};
  std::array<QLabel*, 8> m_captions{};
  std::array<QLabel*, 8> m_values{};
  QWidget* m_container = nullptr;
  QFrame* m_rule = nullptr;
  QLabel* m_count = nullptr;
  std::array<QToolButton*, 3> m_commands{};
  QTreeWidget* m_list = nullptr;
};

}  // namespace pv
