#include "app/window/edittoolbar.h"

#include <QContextMenuEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pv {

EditToolbar::EditToolbar(QWidget* parent) : QWidget(parent) {
  m_layout = new QVBoxLayout(this);
  m_layout->setContentsMargins(1, 4, 1, 4);
  m_layout->setSpacing(1);
  m_layout->addStretch(1);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void EditToolbar::AddImage(int index, const QPixmap& pixmap) {
  if (index < 1) return;
  while (m_images.size() < index) m_images.append(QPixmap());
  m_images[index - 1] = pixmap;
}

void EditToolbar::AddButton(int imageIndex, const QString& key, const QString& tooltip, bool dropDown) {
  auto* button = new QToolButton(this);
  button->setObjectName(key);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedSize(m_buttonSize, m_buttonSize);
  button->setIconSize(QSize(m_buttonSize - 2, m_buttonSize - 2));
  if (imageIndex >= 1 && imageIndex <= m_images.size()) button->setIcon(QIcon(m_images[imageIndex - 1]));
  button->setToolTip(tooltip);
  button->setContextMenuPolicy(Qt::DefaultContextMenu);
  button->installEventFilter(this);
  connect(button, &QToolButton::clicked, this, [this, key, dropDown]() {
    emit ToolbarButtonClick(key);
    if (dropDown) emit ToolbarButtonMenu(key);
  });
  m_layout->insertWidget(m_layout->count() - 1, button, 0, Qt::AlignHCenter);
  m_items.append(Item{key, button, dropDown});
}

void EditToolbar::AddSpacer(const QString& key) {
  m_layout->insertSpacing(m_layout->count() - 1, 8);
  m_items.append(Item{key, nullptr, false});
}

void EditToolbar::RefreshToolbar() { update(); }

int EditToolbar::ButtonCount() const {
  int n = 0;
  for (const Item& item : m_items) n += item.button != nullptr ? 1 : 0;
  return n;
}

int EditToolbar::FixedHeight() const { return m_layout->minimumSize().height() - ButtonCount() * m_buttonSize; }

QSize EditToolbar::minimumSizeHint() const { return {ButtonSize + 2, FixedHeight() + ButtonCount() * MinButtonSize}; }

void EditToolbar::SetButtonSize(int size) {
  if (size == m_buttonSize) return;
  m_buttonSize = size;
  for (const Item& item : m_items) {
    if (item.button == nullptr) continue;
    item.button->setFixedSize(size, size);
    item.button->setIconSize(QSize(size - 2, size - 2));
  }
  m_layout->activate();
}

void EditToolbar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int buttons = ButtonCount();
  if (buttons == 0) return;
  SetButtonSize(
      std::clamp((height() - FixedHeight()) / buttons, static_cast<int>(MinButtonSize), static_cast<int>(ButtonSize)));
}

QStringList EditToolbar::ItemKeys() const {
  QStringList keys;
  for (const Item& item : m_items) keys << item.key;
  return keys;
}

QToolButton* EditToolbar::Button(const QString& key) const {
  for (const Item& item : m_items) {
    if (item.key == key) return item.button;
  }
  return nullptr;
}

bool EditToolbar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ContextMenu) {
    for (const Item& item : m_items) {
      if (item.button == watched) {
        emit ToolbarButtonMenu(item.key);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void EditToolbar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, width(), 0);
  g.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
  g.setColorAt(1, QColor(0xdc, 0xe5, 0xf1));
  p.fillRect(rect(), g);
  p.setPen(QColor(0xa9, 0xb8, 0xcc));
  p.drawLine(0, 0, 0, height() - 1);
  // Group separators between the buttons.
  p.setPen(QColor(0xb7, 0xc4, 0xd6));
  QToolButton* previous = nullptr;
  bool spacerSeen = false;
  for (const Item& item : m_items) {
    if (item.button == nullptr) {
      spacerSeen = true;
      continue;
    }
    if (spacerSeen && previous != nullptr) {
      const int y = (previous->geometry().bottom() + item.button->geometry().top()) / 2;
      p.drawLine(5, y, width() - 5, y);
    }
    spacerSeen = false;
    previous = item.button;
  }
}

}  // namespace pv
