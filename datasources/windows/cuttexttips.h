#pragma once
// The grid's cells: a cell too narrow for its text shows the text whole as
// its tooltip; a cell that shows it whole has none.

#include <QStyledItemDelegate>

namespace pv {

class CutTextTips : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};

}  // namespace pv
