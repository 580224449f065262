#include "properties/windows/textwindowwidget.h"

#include "platform/stringtable.h"
#include "properties/windows/icons.h"

#include <QHBoxLayout>
#include <QTextCursor>
#include <QVBoxLayout>

namespace pv {

TextWindow::TextWindow(QWidget* owner) : PopUpFrame(1, owner) {
  setWindowTitle(LoadResString(12500));
  auto* column = new QVBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setMinimumSize(260, 120);
  auto* row = new QHBoxLayout;
  for (std::size_t i = 0; i < 5; ++i) {
    auto* b = new QPushButton(this);
    if (i < 4) {
      b->setIcon(PropertyIcon(8000 + static_cast<int>(i)));
      b->setIconSize(QSize(20, 20));
      b->setToolTip(LoadResString(12501 + static_cast<int>(i)));
    } else {
      b->setText(LoadResString(9200));
      row->addStretch();
    }
    b->setFocusPolicy(Qt::NoFocus);
    const int k = static_cast<int>(i);
    connect(b, &QPushButton::clicked, this, [this, k] { Click(k); });
    row->addWidget(b);
    buttons_[i] = b;
  }
  column->addWidget(text_);
  column->addLayout(row);
  // What the user types; the model's own fills are not the user's.
  connect(text_, &QPlainTextEdit::textChanged, this, [this] {
    if (!syncing_) model_.Type(text_->toPlainText());
  });
}

void TextWindow::TextApply(int iCode, const QVariant& sValue) {
  model_.Apply(iCode, sValue);
  Sync();
}

void TextWindow::Click(int i) {
  const QTextCursor c = text_->textCursor();
  model_.Select(c.selectionStart(), c.selectionEnd() - c.selectionStart());
  model_.Command1_Click(i);
  if (i < 4) Sync();
  text_->setFocus();
}

void TextWindow::Sync() {
  syncing_ = true;
  if (text_->toPlainText() != model_.Text) text_->setPlainText(model_.Text);
  QTextCursor c = text_->textCursor();
  c.setPosition(model_.SelStart);
  c.setPosition(model_.SelStart + model_.SelLength, QTextCursor::KeepAnchor);
  text_->setTextCursor(c);
  syncing_ = false;
}

}  // namespace pv
