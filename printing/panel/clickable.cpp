#include "printing/panel/clickable.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QTimer>

namespace pv {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  // The click is this label's: accepted before the command runs, or the
  // release would go on to the parent, which may act on the same click
  // (the format bar opens its chooser a second time).
  event->accept();
  emit clicked();
}

void SelectAllLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  selectAll();
  // A mouse press that gave the focus places the cursor after this event:
  // select again once it has.
  QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

}  // namespace pv
