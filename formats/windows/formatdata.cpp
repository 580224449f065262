#include "formats/windows/formatdata.h"

#include "core/database.h"
#include "formats/windows/dlgformat.h"
#include "formats/formatimport.h"
#include "formats/windows/formatlist.h"
#include "formats/formatstore.h"
#include "formats/numbertext.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace pv {

namespace {

constexpr int kPanelWidth = 180;
constexpr int kLineHeight = 16;
const char* const kCommandImages[3] = {":/plavik/images/format_new.svg", ":/plavik/images/format_edit.svg",
                                       ":/plavik/images/format_delete.svg"};

QString Cross(double a, double b, const QString& between) { return GeneralNumber(a) + between + GeneralNumber(b); }

QString OrDash(const QString& text) {
  const QString t = Trim(text);
  return t.isEmpty() ? QStringLiteral("-") : t;
}

// Shows `text` in `label`, `width` pixels wide, wrapped onto as many lines as
// it needs; a word longer than a line cuts the text to one line. The tooltip
// holds it whole. Returns the height it takes.
int ShowWrapped(QLabel* label, const QString& text, int width) {
  const QFontMetrics metrics(label->font());
  bool wordTooLong = false;
  for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    wordTooLong = wordTooLong || metrics.horizontalAdvance(word) > width;
  }
  label->setWordWrap(!wordTooLong);
  label->setText(wordTooLong ? metrics.elidedText(text, Qt::ElideRight, width) : text);
  label->setToolTip(text);
  return std::max(kLineHeight, wordTooLong ? metrics.height() : label->heightForWidth(width));
}

}  // namespace

// The left panel: the summary and, around the sheet drawing, its shadow.
class FormatData::Panel : public QWidget {
 public:
  explicit Panel(FormatData* view) : QWidget(view), m_view(view) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QWidget* page = m_view->PagePicture();
    if (!page->isVisibleTo(this)) return;
    const QRect r = page->geometry();
    QPainter p(this);
    const QColor shadow(200, 200, 200);
    p.fillRect(QRect(r.left() + 2, r.top() + r.height(), r.width(), 2), shadow);
    p.fillRect(QRect(r.left() + r.width(), r.top() + 2, 2, r.height()), shadow);
  }

 private:
  FormatData* m_view;
};

// The sheet drawing: one unit a millimetre of the sheet.
class FormatData::Page : public QWidget {
 public:
  explicit Page(FormatData* view, QWidget* parent) : QWidget(parent), m_view(view) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const PrintFormat& f = m_view->m_current;
    if (!(f.sheetwidth > 0) || !(f.sheetdepth > 0)) return;
    QPainter p(this);
    p.scale(width() / f.sheetwidth, height() / f.sheetdepth);
    QPen pen(palette().color(QPalette::WindowText));
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (const QRectF& label : m_view->m_preview.labels) p.drawRect(label);
  }

 private:
  FormatData* m_view;
};

FormatData::FormatData(QWidget* parent) : FormatDataView(parent) {
  m_panel = new Panel(this);
  m_panel->setObjectName(QStringLiteral("Picture1"));
  QFont small = m_panel->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  m_panel->setFont(small);
  for (QLabel*& heading : m_heading) {
    heading = new QLabel(m_panel);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  m_heading[0]->setObjectName(QStringLiteral("lblCode"));
  m_heading[1]->setObjectName(QStringLiteral("lblDescription"));
  for (int i = 0; i < 8; ++i) {
    auto* caption = new QLabel(m_panel);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* value = new QLabel(m_panel);
    value->setObjectName(QStringLiteral("lblValue%1").arg(i + 1));
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_captions[static_cast<size_t>(i)] = caption;
    m_values[static_cast<size_t>(i)] = value;
  }
  PlaceSummary({}, {});
  m_page = new Page(this, m_panel);
  m_page->setObjectName(QStringLiteral("PicPage"));
  m_page->hide();

  m_container = new QWidget(this);
  m_container->setObjectName(QStringLiteral("PicContainer"));
  m_rule = new QFrame(m_container);
  m_rule->setFrameShape(QFrame::HLine);
  m_rule->setFrameShadow(QFrame::Sunken);
  m_count = new QLabel(m_container);
  m_count->setObjectName(QStringLiteral("lblSelect"));
  for (int i = 0; i < 3; ++i) {
    auto* button = new QToolButton(m_container);
    button->setObjectName(QStringLiteral("Command%1").arg(i));
    button->setIcon(QIcon(QString::fromLatin1(kCommandImages[i])));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setToolTip(LoadResString(13108 + i));
    connect(button, &QToolButton::clicked, this, [this, i] { Command(i); });
    m_commands[static_cast<size_t>(i)] = button;
  }

  m_list = new QTreeWidget(m_container);
  m_list->setObjectName(QStringLiteral("ListView1"));
  SetupFormatColumns(m_list);
  m_list->header()->setSectionsClickable(true);
  m_list->header()->setSortIndicatorShown(false);
  connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { OnItemClicked(item); });
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnDoubleClicked(); });
  connect(m_list->header(), &QHeaderView::sectionClicked, this, &FormatData::OnHeaderClicked);

  m_count->setText(LoadResString(15005) + QStringLiteral("0"));
  Layout();
}

void FormatData::ReportDbError(const DbError& error) { MsgBox(DataAccessErrorText(error)); }

void FormatData::RefreshData(const QString& Code) {
  m_list->clear();
  std::vector<PrintFormat> formats;
  try {
    formats = AllFormats();
  } catch (const DbError& e) {
    ReportDbError(e);
  }
  QList<QTreeWidgetItem*> items;
  for (const PrintFormat& f : formats) {
    items << MakeFormatItem(f);
  }
  m_list->addTopLevelItems(items);
  FitFormatColumns(m_list);
  if (m_sorted) m_list->sortItems(m_sortColumn, m_sortOrder);

  const QString code = Trim(Code);
  m_list->clearSelection();
  m_list->setCurrentItem(nullptr);
  if (!code.isEmpty()) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = m_list->topLevelItem(i);
      if (FormatItemCode(item).compare(code, Qt::CaseInsensitive) == 0) {
        m_list->setCurrentItem(item);
        item->setSelected(true);
        m_list->scrollToItem(item);
        break;
      }
    }
  }
  m_count->setText(LoadResString(15005) + QString::number(m_list->topLevelItemCount()));
}

bool FormatData::SaveData() {
  m_current.Code = Trim(m_current.Code);
  try {
    StoreFormat(m_current);
  } catch (const DbError& e) {
    ReportDbError(e);
    return false;
  }
  RefreshData(m_current.Code);
  return true;
}

void FormatData::Delete() {
  m_current.Code = Trim(m_current.Code);
  if (MsgBox(LoadResString(15001) + m_current.Code, MsgIcon::Question, MsgButtons::YesNoCancel) != MsgAnswer::Yes)
    return;
  try {
    if (!DeleteFormat(m_current.Code)) return;
  } catch (const DbError& e) {
    ReportDbError(e);
    return;
  }
  RefreshData(QString());
  // No row is selected now: the summary and the drawing go with the format.
  m_current = PrintFormat{};
  m_itemClicked = false;
  ShowSummary(false);
}

void FormatData::Import() {
  if (ImportOldFormats()) RefreshData(QString());
}

void FormatData::EditInDialog(const PrintFormat& start) {
  EditFormat() = start;
  bool stored = false;
  {
    DlgFormat dialog(this);
    dialog.exec();
    stored = dialog.RetCode();
  }
  if (!stored) return;
  m_current = EditFormat();
  if (SaveData()) ShowSummary(false);
}

void FormatData::Command(int index) {
  switch (index) {
    case 0: EditInDialog(PrintFormat{}); break;
    case 1: EditInDialog(m_current); break;
    case 2: Delete(); break;
    default: break;
  }
}

void FormatData::OnItemClicked(QTreeWidgetItem* item) {
  m_itemClicked = true;
  if (item == nullptr) return;
  try {
    if (std::optional<PrintFormat> f = FindFormat(FormatItemCode(item))) {
      m_current = *f;
      ShowSummary(false);
    }
  } catch (const DbError& e) {
    ReportDbError(e);
  }
}

void FormatData::OnDoubleClicked() {
  if (m_itemClicked) Command(1);
}

void FormatData::OnHeaderClicked(int column) {
  m_sortColumn = column;
  m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  m_sorted = true;
  m_list->header()->setSortIndicatorShown(true);
  m_list->header()->setSortIndicator(column, m_sortOrder);
  m_list->sortItems(column, m_sortOrder);
}

void FormatData::ShowSummary(bool bMode) {
  (void)bMode;
  if (Trim(m_current.Code).isEmpty()) {
    PlaceSummary({}, {});
  } else {
    PlaceSummary(
        {LoadResString(13111) + QStringLiteral(" ") + Trim(m_current.Code),
         LoadResString(13112) + QStringLiteral(" ") + Trim(m_current.Description)},
        {OrDash(m_current.Category), OrDash(m_current.printer),
         Cross(m_current.Width, m_current.Height, QStringLiteral(" x ")),
         Cross(m_current.sheetwidth, m_current.sheetdepth, QStringLiteral(" x ")), GeneralNumber(m_current.LeftMargin),
         GeneralNumber(m_current.TopMargin), GeneralNumber(m_current.horizpitch), GeneralNumber(m_current.vertipitch)});
  }
  p_RedrawPreview();
}

void FormatData::PlaceSummary(const std::array<QString, 2>& headings, const std::array<QString, 8>& values) {
  const int headingWidth = kPanelWidth - 12;
  int y = 8;
  for (size_t i = 0; i < headings.size(); ++i) {
    const int height = ShowWrapped(m_heading[i], headings[i], headingWidth);
    m_heading[i]->setGeometry(6, y, headingWidth, height);
    y += height + 2;
  }
  y = std::max(y + 10, 54);
  // The captions in one column as wide as the longest, up to half the panel.
  std::array<QString, 8> captions;
  int captionWidth = 0;
  for (size_t i = 0; i < captions.size(); ++i) {
    captions[i] = LoadResString(13100 + static_cast<int>(i));
    captionWidth = std::max(captionWidth, QFontMetrics(m_captions[i]->font()).horizontalAdvance(captions[i]));
  }
  captionWidth = std::min(captionWidth, kPanelWidth / 2);
  const int valueLeft = 4 + captionWidth + 4;
  const int valueWidth = kPanelWidth - valueLeft - 2;
  for (size_t i = 0; i < values.size(); ++i) {
    QLabel* caption = m_captions[i];
    const int height =
        std::max(ShowWrapped(caption, captions[i], captionWidth), ShowWrapped(m_values[i], values[i], valueWidth));
    caption->setGeometry(4, y, captionWidth, height);
    m_values[i]->setGeometry(valueLeft, y, valueWidth, height);
    y += height + 2;
  }
}

void FormatData::p_RedrawPreview() {
  m_preview = MakeSheetPreview(m_current);
  const bool fits = m_panel->height() > 450;
  if (!m_preview.visible || !fits) {
    m_page->hide();
    m_panel->update();
    return;
  }
  const QSize size = m_preview.size;
  m_page->setGeometry(m_pageCentre.x() - size.width() / 2, m_pageCentre.y() - size.height() / 2, size.width(),
                      size.height());
  m_page->show();
  m_page->update();
  m_panel->update();
}

void FormatData::Layout() {
  const int h = height();
  m_panel->setGeometry(0, 0, kPanelWidth, h);
  m_container->setGeometry(kPanelWidth + 1, 0, std::max(0, width() - kPanelWidth - 1), h);
  const int cw = m_container->width();
  m_rule->setGeometry(0, 18, cw, 2);
  m_count->setGeometry(4, 1, std::max(0, cw - 4 - 3 * 20), 17);
  for (int i = 0; i < 3; ++i) m_commands[static_cast<size_t>(i)]->setGeometry(cw - (3 - i) * 20, 0, 19, 18);
  m_list->setGeometry(0, 20, cw, std::max(0, h - 20));
  if (h > 450) {
    m_pageCentre =
        QPoint(static_cast<int>(RoundHalfEven(kPanelWidth / 2.0)), static_cast<int>(RoundHalfEven(h - 120.0)));
  }
  p_RedrawPreview();
}

void FormatData::resizeEvent(QResizeEvent* event) {
  FormatDataView::resizeEvent(event);
  Layout();
}

}  // namespace pv
