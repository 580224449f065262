#include "datasources/windows/cuttexttips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace pv {

bool CutTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                            const QModelIndex& index) {
  if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  const QString text = index.data(Qt::DisplayRole).toString();
  // The width the text takes on one line.
  QStyleOptionViewItem oneLine = option;
  oneLine.features &= ~QStyleOptionViewItem::WrapText;
  if (!text.isEmpty() && sizeHint(oneLine, index).width() > option.rect.width()) {
    QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
  } else {
    QToolTip::hideText();
  }
  return true;
}

}  // namespace pv
