#include "formats/windows/dlgformat.h"

#include "formats/numbertext.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace pv {

PrintFormat& EditFormat() {
  static PrintFormat format;
  return format;
}

namespace {

constexpr int kGeneralTab = 0;
constexpr int kSizesTab = 1;
constexpr int kFirstSizeField = 4;
constexpr int kFirstPageField = 6;  // the fields that follow the tab in every mode

// Caption string of each field.
constexpr int kCaptions[kFormatFieldCount] = {11703, 11704, 11705, 11706, 11716, 11717, 11714, 11715,
                                              11718, 11719, 11720, 11721, 11722, 11723, 11724, 11725};

}  // namespace

DlgFormat::DlgFormat(QWidget* parent) : QDialog(parent) {
  setWindowTitle(LoadResString(11700));
  setModal(true);

  for (int i = 0; i < kFormatFieldCount; ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Text1_%1").arg(i));
    edit->installEventFilter(this);
    m_text[static_cast<size_t>(i)] = edit;
  }
  auto row = [this](QFormLayout* form, int field) {
    auto* caption = new QLabel(LoadResString(kCaptions[field]));
    caption->setBuddy(Text1(field));
    form->addRow(caption, Text1(field));
  };

  // Generale: the four texts and the type.
  auto* general = new QWidget;
  auto* generalLayout = new QVBoxLayout(general);
  auto* texts = new QFormLayout;
  for (int i = 0; i < 4; ++i) row(texts, i);
  generalLayout->addLayout(texts);
  m_typeFrame = new QGroupBox(LoadResString(11707), general);
  m_typeFrame->setObjectName(QStringLiteral("fraType"));
  auto* typeLayout = new QVBoxLayout(m_typeFrame);
  for (int i = 0; i < 4; ++i) {
    auto* option = new QRadioButton(LoadResString(11708 + i), m_typeFrame);
    option->setObjectName(QStringLiteral("Option1_%1").arg(i));
    typeLayout->addWidget(option);
    m_option[static_cast<size_t>(i)] = option;
  }
  generalLayout->addWidget(m_typeFrame);
  generalLayout->addStretch();

  // Dimensioni: label and page.
  auto* sizes = new QWidget;
  auto* sizesLayout = new QHBoxLayout(sizes);
  m_labelFrame = new QGroupBox(LoadResString(11712), sizes);
  m_labelFrame->setObjectName(QStringLiteral("fraLabel"));
  auto* labelForm = new QFormLayout(m_labelFrame);
  for (int i = 4; i <= 9; ++i) row(labelForm, i);
  m_pageFrame = new QGroupBox(LoadResString(11713), sizes);
  m_pageFrame->setObjectName(QStringLiteral("fraPage"));
  auto* pageForm = new QFormLayout(m_pageFrame);
  for (int i = 10; i <= 15; ++i) row(pageForm, i);
  sizesLayout->addWidget(m_labelFrame);
  sizesLayout->addWidget(m_pageFrame);

  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("SSTab1"));
  m_tabs->addTab(general, LoadResString(11701));
  m_tabs->addTab(sizes, LoadResString(11702));

  m_ok = new QPushButton(LoadResString(11726), this);
  m_ok->setObjectName(QStringLiteral("OKButton"));
  m_ok->setDefault(true);
  m_cancel = new QPushButton(LoadResString(11727), this);
  m_cancel->setObjectName(QStringLiteral("CancelButton"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addLayout(buttons);

  // The values of EditFormat.
  const PrintFormat& f = EditFormat();
  const QString texts4[4] = {f.Code, f.Description, f.Category, f.printer};
  for (int i = 0; i < 4; ++i) Text1(i)->setText(Trim(texts4[i]));
  const std::array<double, 12> numbers = FormatNumbers(f);
  for (int i = 0; i < 12; ++i) Text1(kFirstSizeField + i)->setText(GeneralNumber(numbers[static_cast<size_t>(i)]));
  if (f.Type >= 0 && f.Type <= 3) Option1(f.Type)->setChecked(true);

  // The size fields take input only while their tab shows.
  for (int i = kFirstSizeField; i < kFormatFieldCount; ++i) Text1(i)->setEnabled(false);
  m_labelFrame->setEnabled(false);
  m_pageFrame->setEnabled(false);
  m_tabs->setCurrentIndex(kGeneralTab);
  m_shownTab = kGeneralTab;

  connect(m_tabs, &QTabWidget::currentChanged, this, &DlgFormat::OnTabChanged);
  connect(m_ok, &QPushButton::clicked, this, &DlgFormat::OnOk);
  connect(m_cancel, &QPushButton::clicked, this, &DlgFormat::OnCancel);

  // The code box takes what is typed first.
  Text1(0)->setFocus(Qt::OtherFocusReason);
}

void DlgFormat::NoDatabase() {
  m_noDatabase = true;
  for (QRadioButton* option : m_option) option->setEnabled(false);
  Text1(4)->setEnabled(false);
  Text1(5)->setEnabled(false);
  m_typeFrame->setEnabled(false);
}

void DlgFormat::OnTabChanged(int index) {
  const int left = m_shownTab;
  m_shownTab = index;
  if (left == kGeneralTab) {
    const int first = m_noDatabase ? kFirstPageField : kFirstSizeField;
    for (int i = first; i < kFormatFieldCount; ++i) Text1(i)->setEnabled(true);
    m_labelFrame->setEnabled(true);
    m_pageFrame->setEnabled(true);
    m_typeFrame->setEnabled(false);
  } else if (left == kSizesTab) {
    for (int i = kFirstSizeField; i < kFormatFieldCount; ++i) Text1(i)->setEnabled(false);
    m_labelFrame->setEnabled(false);
    m_pageFrame->setEnabled(false);
    if (!m_noDatabase) m_typeFrame->setEnabled(true);
  }
}

bool DlgFormat::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, edit, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

void DlgFormat::Refuse(const FormatCheck& check) {
  MsgBoxRes(check.message, MsgIcon::Information);
  if (check.field < 0) return;
  QLineEdit* edit = Text1(check.field);
  const int tab = check.field < kFirstSizeField ? kGeneralTab : kSizesTab;
  if (m_tabs->currentIndex() != tab) m_tabs->setCurrentIndex(tab);
  if (edit->isEnabled()) edit->setFocus(Qt::OtherFocusReason);
}

void DlgFormat::OnOk() {
  FormatFieldTexts texts;
  for (int i = 0; i < kFormatFieldCount; ++i) texts[static_cast<size_t>(i)] = Text1(i)->text();
  PrintFormat f = EditFormat();
  const FormatCheck check = CheckFormatTexts(texts, f);
  if (!check.ok()) {
    Refuse(check);
    return;
  }
  for (int i = 0; i < 4; ++i) {
    if (Option1(i)->isChecked()) f.Type = static_cast<std::int16_t>(i);
  }
  EditFormat() = f;
  m_retCode = true;
  accept();
}

void DlgFormat::OnCancel() {
  m_retCode = false;
  reject();
}

}  // namespace pv
