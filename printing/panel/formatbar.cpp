#include "printing/panel/formatbar.h"

#include "platform/stringtable.h"
#include "printing/panel/clickable.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>

#include <cmath>

namespace pv {
namespace {

constexpr int kProgressLabelMin = 120;
constexpr int kProgressLabelWidth = 100;
constexpr int kProgressLabelLeft = 300;
constexpr int kProgressLeft = kProgressLabelLeft + kProgressLabelWidth;

}  // namespace

FormatBar::FormatBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PicBar"));
  setCursor(Qt::PointingHandCursor);
  m_image = new ClickableLabel(this);
  m_image->setObjectName(QStringLiteral("Image4"));
  m_image->setPixmap(QIcon(QStringLiteral(":/plavik/images/print_chooseformat.svg")).pixmap(16, 16));
  m_image->setGeometry(4, 3, 16, 16);
  m_name = new ClickableLabel(LoadResString(28044), this);
  m_name->setObjectName(QStringLiteral("LblFormatName"));
  m_name->setGeometry(24, 2, kProgressLabelLeft - 30, 18);
  QFont bold = m_name->font();
  bold.setBold(true);
  m_name->setFont(bold);
  m_progressLabel = new QLabel(LoadResString(28043), this);
  m_progressLabel->setObjectName(QStringLiteral("ProgressLabel"));
  m_progressLabel->setGeometry(kProgressLabelLeft, 2, kProgressLeft - kProgressLabelLeft - 4, 18);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("ProgressBar"));
  m_progress->setTextVisible(false);
  m_progress->setGeometry(kProgressLeft, 4, 100, 14);
  m_progressLabel->hide();
  m_progress->hide();
  connect(m_image, &ClickableLabel::clicked, this, &FormatBar::clicked);
  connect(m_name, &ClickableLabel::clicked, this, &FormatBar::clicked);
}

void FormatBar::SetFormatCaption(const QString& caption) {
  m_name->setText(caption);
  FitFormatName();
}

void FormatBar::FitFormatName() {
  // A long format code is cut by the progress' place: whole in the tooltip.
  const bool cut = m_name->fontMetrics().horizontalAdvance(m_name->text()) > m_name->contentsRect().width();
  m_name->setToolTip(cut ? m_name->text() : QString());
}

void FormatBar::ShowProgress(bool visible) {
  m_progressLabel->setVisible(visible);
  m_progress->setVisible(visible);
  if (visible) m_progressLabel->repaint();
}

void FormatBar::SetProgress(double minimum, double maximum, double value) {
  // The bar counts in whole steps; the job's values are whole numbers.
  m_progress->setRange(int(std::lround(minimum)), int(std::lround(maximum)));
  m_progress->setValue(int(std::lround(value)));
  m_progress->repaint();
}

void FormatBar::resizeEvent(QResizeEvent*) {
  // The progress takes the right half of the bar; the format name the rest.
  const int labelLeft = std::max(kProgressLabelMin, width() / 2);
  const int left = labelLeft + kProgressLabelWidth;
  m_name->resize(std::max(0, labelLeft - m_name->x() - 4), m_name->height());
  m_progressLabel->move(labelLeft, m_progressLabel->y());
  m_progress->move(left, m_progress->y());
  m_progress->resize(std::max(0, width() - (left + 5)), m_progress->height());
  FitFormatName();
}

void FormatBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  event->accept();
  emit clicked();
}

void FormatBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int W = width();
  const int H = height();
  p.fillRect(rect(), palette().color(QPalette::Button));
  if (W < 3 || H < 3) return;
  const auto row = [&](int y, int x1, int x2, QColor c) { p.fillRect(QRect(QPoint(x1, y), QPoint(x2, y)), c); };
  const auto column = [&](int x, QColor c) { p.fillRect(QRect(x, 0, 1, H), c); };
  const QColor grey(128, 128, 128);
  row(0, 1, W - 1, Qt::white);
  row(1, 1, W - 1, QColor(220, 220, 220));
  column(0, Qt::black);
  column(1, Qt::white);
  row(H - 2, 0, W - 1, grey);
  row(H - 1, 0, W - 1, Qt::black);
  column(W - 1, Qt::black);
  column(W - 2, grey);
}

}  // namespace pv
