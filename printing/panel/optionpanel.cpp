#include "printing/panel/optionpanel.h"

#include "core/settings.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "printing/engine.h"
#include "printing/panel/clickable.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace pv {
namespace {

constexpr int kMinWidth = 180;
constexpr int kMargin = 6;
constexpr int kBoxWidth = 52;
constexpr int kRow = 19;
constexpr int kListHeight = 24;
constexpr int kNoMerge = 31028;
constexpr int kModeRow = 30;  // two lines: the count mode captions are long

// Tooltip ids of the page filter buttons and their captions.
constexpr int kRangeTips[4] = {13320, 13321, 13322, 13323};

ClickableLabel* Caption(QWidget* parent, int id, const QRect& where, bool wrap = false) {
  auto* l = new ClickableLabel(LoadResString(id), parent);
  l->setGeometry(where);
  l->setWordWrap(wrap);
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return l;
}

// One option button of a group with its caption beside it, on row `id` of
// rows `rowHeight` high; a click on the caption clicks the button (when it
// is enabled).
struct Choice {
  QRadioButton* button;
  ClickableLabel* caption;
};
Choice AddChoice(QWidget* parent, QButtonGroup* group, int id, const QString& name, int captionId, int tipId,
                 int rowHeight, int inner) {
  auto* b = new QRadioButton(parent);
  b->setObjectName(name.arg(id));
  b->setGeometry(2, 1 + id * rowHeight + (rowHeight - kRow) / 2, 18, kRow);
  b->setToolTip(LoadResString(tipId));
  group->addButton(b, id);
  ClickableLabel* l =
      Caption(parent, captionId, QRect(22, 1 + id * rowHeight, inner - 20, rowHeight), rowHeight > kRow);
  l->setToolTip(LoadResString(tipId));
  QObject::connect(l, &ClickableLabel::clicked, b, [b] {
    if (b->isEnabled()) b->click();
  });
  return {b, l};
}

// The width of the text area of `list` drawn `width` pixels wide.
int TextAreaWidth(const QComboBox* list, int width) {
  QStyleOptionComboBox opt;
  opt.initFrom(list);
  opt.rect = QRect(0, 0, width, kListHeight);
  return list->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list).width();
}

// The width `list` needs to show `text` whole (the style draws the text one
// pixel in from each side of its area).
int ListWidthFor(const QComboBox* list, const QString& text) {
  QStyleOptionComboBox opt;
  opt.initFrom(list);
  opt.currentText = text;
  const QFontMetrics fm = list->fontMetrics();
  const QSize contents(fm.horizontalAdvance(text) + 2, fm.height());
  int width = list->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, contents, list).width();
  // Styles differ in what they add around the text: the text area decides.
  width += std::max(0, contents.width() - TextAreaWidth(list, width));
  return width;
}

}  // namespace

OptionPanel::OptionPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Picture1"));

  // The data-source list is as wide as the column; the column is wide
  // enough for the list's own entry, "no merge", at the font in use.
  m_registrations = new QComboBox(this);
  m_registrations->setObjectName(QStringLiteral("CmbRegistration"));
  m_width = std::max(kMinWidth, ListWidthFor(m_registrations, LoadResString(kNoMerge)) + 2 * kMargin);
  const int inner = m_width - 2 * kMargin;
  const int boxLeft = m_width - kMargin - kBoxWidth;

  // The count mode: pages or labels.
  m_groups[0] = new QWidget(this);
  m_groups[0]->setObjectName(QStringLiteral("Picture3_0"));
  m_groups[0]->setGeometry(kMargin - 2, 4, inner + 4, 2 * kModeRow + 2);
  m_countModeGroup = new QButtonGroup(this);
  for (int i = 0; i < 2; ++i) {
    const Choice c = AddChoice(m_groups[0], m_countModeGroup, i, QStringLiteral("Option2_%1"), 13300 + i, 13313 + i,
                               kModeRow, inner);
    m_countMode[static_cast<std::size_t>(i)] = c.button;
    m_captions[static_cast<std::size_t>(3 + i)] = c.caption;
    connect(c.button, &QRadioButton::clicked, this, [this, i] { CountModeDisplay(i); });
  }

  // The count, the first and the last label.
  const int boxTop[3] = {72, 100, 134};
  const int captionIds[3] = {13302, 13305, 13306};
  const int captionIndex[3] = {0, 1, 2};
  const int tips[3] = {13315, 13318, 13319};
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    m_captions[static_cast<std::size_t>(captionIndex[i])] =
        Caption(this, captionIds[i], QRect(kMargin, boxTop[i] - 5, boxLeft - kMargin - 4, 32), true);
    m_text[k] = new SelectAllLineEdit(this);
    m_text[k]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    m_text[k]->setGeometry(boxLeft, boxTop[i], kBoxWidth, 22);
    m_text[k]->setAlignment(Qt::AlignRight);
    m_text[k]->setToolTip(LoadResString(tips[i]));
  }

  m_line = new QFrame(this);
  m_line->setObjectName(QStringLiteral("Line1_0"));
  m_line->setFrameShape(QFrame::HLine);
  m_line->setFrameShadow(QFrame::Sunken);
  m_line->setGeometry(kMargin, 164, inner, 2);

  // The page filter.
  m_captions[6] = Caption(this, 13307, QRect(kMargin, 170, inner, kRow));
  m_groups[1] = new QWidget(this);
  m_groups[1]->setObjectName(QStringLiteral("Picture3_1"));
  m_groups[1]->setGeometry(kMargin - 2, 190, inner + 4, 4 * kRow + 2);
  m_rangeGroup = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    const Choice c =
        AddChoice(m_groups[1], m_rangeGroup, i, QStringLiteral("Option1_%1"), 13308 + i, kRangeTips[i], kRow, inner);
    m_range[static_cast<std::size_t>(i)] = c.button;
    m_captions[static_cast<std::size_t>(7 + i)] = c.caption;
  }

  // The merge note, in the place of the options it stands for.
  m_note[0] = new QLabel(LoadResString(28012), this);
  m_note[0]->setObjectName(QStringLiteral("Label3_0"));
  m_note[0]->setWordWrap(true);
  m_note[0]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_note[0]->setGeometry(kMargin, 8, inner, 150);
  m_note[0]->hide();

  // Manual paper.
  m_stopPage = new QCheckBox(this);
  m_stopPage->setObjectName(QStringLiteral("Check1_0"));
  m_stopPage->setGeometry(kMargin, 278, 18, 18);
  m_stopPage->setToolTip(LoadResString(13316));
  m_captions[5] = Caption(this, 13303, QRect(kMargin + 22, 272, inner - 22, 32), true);
  m_captions[5]->setToolTip(LoadResString(13316));
  connect(m_captions[5], &ClickableLabel::clicked, m_stopPage, &QCheckBox::click);

  // The apply command.
  m_applyImage = new ClickableLabel(this);
  m_applyImage->setObjectName(QStringLiteral("Image2"));
  m_applyImage->setPixmap(QIcon(QStringLiteral(":/plavik/images/print_apply.svg")).pixmap(16, 16));
  m_applyImage->setGeometry(kMargin, 314, 16, 16);
  m_applyImage->setToolTip(LoadResString(13324));
  m_applyImage->setCursor(Qt::PointingHandCursor);
  m_applyCaption = Caption(this, 13312, QRect(kMargin + 22, 312, inner - 22, 20));
  m_applyCaption->setObjectName(QStringLiteral("Label2"));
  m_applyCaption->setToolTip(LoadResString(13324));
  m_applyCaption->setCursor(Qt::PointingHandCursor);
  QFont bold = m_applyCaption->font();
  bold.setBold(true);
  m_applyCaption->setFont(bold);
  connect(m_applyImage, &ClickableLabel::clicked, this, &OptionPanel::applyRequested);
  connect(m_applyCaption, &ClickableLabel::clicked, this, &OptionPanel::applyRequested);

  // The data-source choice.
  m_note[1] = new QLabel(LoadResString(28011), this);
  m_note[1]->setObjectName(QStringLiteral("Label3_1"));
  m_note[1]->setGeometry(kMargin, 346, inner, kRow);
  m_registrations->setGeometry(kMargin, 366, inner, kListHeight);
  connect(m_registrations, &QComboBox::activated, this, &OptionPanel::registrationChosen);
  connect(m_registrations, &QComboBox::currentIndexChanged, this, &OptionPanel::FitRegistrationList);

  // What the page drawing writes: the page caption and the warning.
  m_select = new QLabel(this);
  m_select->setObjectName(QStringLiteral("lblSelect"));
  m_select->setGeometry(kMargin, 400, inner, kRow);
  m_warning = new QLabel(QStringLiteral("Attenzione: le etichette escono dall'area stampabile della stampante."), this);
  m_warning->setObjectName(QStringLiteral("lblWarning"));
  m_warning->setWordWrap(true);
  m_warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_warning->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));
  m_warning->setGeometry(kMargin, 422, inner, 48);
  m_warning->hide();

  for (std::size_t i = 0; i < m_captions.size(); ++i) m_captions[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
  // Created first to size the panel, the list comes last in the tab order.
  setTabOrder(m_stopPage, m_registrations);
  m_countMode[0]->setChecked(true);
  m_range[0]->setChecked(true);
}

OptionBoxes OptionPanel::Boxes() const {
  OptionBoxes b;
  b.Count = m_text[0]->text();
  b.First = m_text[1]->text();
  b.Last = m_text[2]->text();
  b.RangePages = std::max(0, m_rangeGroup->checkedId());
  b.CountMode = std::max(0, m_countModeGroup->checkedId());
  b.StopPage = m_stopPage->isChecked();
  return b;
}

void OptionPanel::ShowRunValues() {
  const PrintRunValues& run = PrintRun().Run();
  m_text[0]->setText(QString::number(run.m_PageCount));
  m_text[1]->setText(QString::number(run.m_FirstLabel));
  m_text[2]->setText(QString::number(run.m_LastLabel));
  if (run.m_RangePages >= 0 && run.m_RangePages < 4)
    m_range[static_cast<std::size_t>(run.m_RangePages)]->setChecked(true);
  const int mode = run.m_CountMode == 1 ? 1 : 0;
  m_countMode[static_cast<std::size_t>(mode)]->setChecked(true);
  // Qt sends no click for a value set by code: the display runs here.
  CountModeDisplay(mode);
  m_stopPage->setChecked(IsTrue(ProgramSettings().PrintStopPage));
}

void OptionPanel::FitRegistrationList() {
  QComboBox* list = m_registrations;
  // The open list shows every entry whole.
  int widest = 0;
  for (int i = 0; i < list->count(); ++i) widest = std::max(widest, ListWidthFor(list, list->itemText(i)));
  list->view()->setMinimumWidth(widest);
  // A registration's name longer than the closed box: whole in its tooltip.
  const QString text = list->currentText();
  const bool cut = ListWidthFor(list, text) > list->width();
  list->setToolTip(cut ? text : QString());
}

void OptionPanel::CountModeDisplay(int mode) {
  const bool pages = mode == 0;
  m_captions[0]->setText(LoadResString(pages ? 15033 : 15032));
  for (QRadioButton* b : m_range) b->setEnabled(pages);
  m_text[1]->setEnabled(pages);
  m_text[2]->setEnabled(pages);
}

void OptionPanel::ShowControl(bool bMode) {
  for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10}) m_captions[static_cast<std::size_t>(i)]->setVisible(bMode);
  for (SelectAllLineEdit* t : m_text) t->setVisible(bMode);
  for (QWidget* g : m_groups) g->setVisible(bMode);
  m_line->setVisible(bMode);
  m_note[0]->setVisible(!bMode);
}

}  // namespace pv
