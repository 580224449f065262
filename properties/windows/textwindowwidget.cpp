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
  m_text = new QPlainTextEdit(this);
  m_text->setMinimumSize(260, 120);
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
    m_buttons[i] = b;
  }
  column->addWidget(m_text);
  column->addLayout(row);
  // What the user types; the model's own fills are not the user's.
  connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
    if (!m_syncing) m_model.Type(m_text->toPlainText());
  });
}

void TextWindow::TextApply(int iCode, const QVariant& sValue) {
  m_model.Apply(iCode, sValue);
  Sync();
}

void TextWindow::Click(int i) {
  const QTextCursor c = m_text->textCursor();
  m_model.Select(c.selectionStart(), c.selectionEnd() - c.selectionStart());
  m_model.Command1_Click(i);
  if (i < 4) Sync();
  m_text->setFocus();
}

void TextWindow::Sync() {
  m_syncing = true;
  if (m_text->toPlainText() != m_model.Text) m_text->setPlainText(m_model.Text);
  QTextCursor c = m_text->textCursor();
  c.setPosition(m_model.SelStart);
  c.setPosition(m_model.SelStart + m_model.SelLength, QTextCursor::KeepAnchor);
  m_text->setTextCursor(c);
  m_syncing = false;
}

}  // namespace pv
