#include "app/window/dlgoptions.h"

#include "core/settings.h"
#include "app/window/dlgcalibrationlist.h"
#include "app/window/pictures.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace pv {

namespace {

QCheckBox* Box(int message, QWidget* parent, const QString& name) {
  auto* box = new QCheckBox(LoadResString(message), parent);
  box->setObjectName(name);
  return box;
}

QLabel* Caption(int message, QWidget* parent, QWidget* buddy = nullptr) {
  auto* label = new QLabel(LoadResString(message), parent);
  label->setWordWrap(true);
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

QLabel* Note(int message, QWidget* parent) {
  auto* label = new QLabel(LoadResString(message), parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, QColor(0x4a, 0x55, 0x68));
  label->setPalette(pal);
  return label;
}

QLineEdit* Field(QWidget* parent, const QString& name, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (width > 0) edit->setFixedWidth(width);
  return edit;
}

int CheckValue(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }
void SetCheck(QCheckBox* box, long long value) { box->setChecked(value != 0); }

}  // namespace

dlgOptions::dlgOptions(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgOptions"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setWindowTitle(LoadResString(11900));

  m_tab = new QTabWidget(this);
  m_tab->setObjectName(QStringLiteral("SSTab1"));

  // Tab 0: general.
  auto* general = new QWidget;
  {
    m_check4[0] = Box(11904, general, QStringLiteral("Check4_0"));
    m_text3 = Field(general, QStringLiteral("Text3"), 0);
    auto* v = new QVBoxLayout(general);
    v->addWidget(m_check4[0]);
    v->addSpacing(12);
    v->addWidget(Caption(11908, general, m_text3));
    v->addWidget(m_text3);
    v->addWidget(Note(11909, general));
    v->addStretch(1);
  }
  // Tab 1: display.
  auto* display = new QWidget;
  {
    m_frame2 = new QGroupBox(LoadResString(11910), display);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_text2[0] = Field(m_frame2, QStringLiteral("Text2_0"), 70);
    m_text2[1] = Field(m_frame2, QStringLiteral("Text2_1"), 70);
    m_check2[0] = Box(11913, m_frame2, QStringLiteral("Check2_0"));
    m_check2[1] = Box(11914, m_frame2, QStringLiteral("Check2_1"));
    auto* g = new QGridLayout(m_frame2);
    g->addWidget(Caption(11911, m_frame2, m_text2[0]), 0, 0);
    g->addWidget(m_text2[0], 0, 1);
    g->addWidget(Caption(11912, m_frame2, m_text2[1]), 1, 0);
    g->addWidget(m_text2[1], 1, 1);
    g->addWidget(m_check2[0], 2, 0, 1, 2);
    g->addWidget(m_check2[1], 3, 0, 1, 2);
    g->setColumnStretch(0, 1);
    m_check3 = Box(11915, display, QStringLiteral("Check3"));
    m_check1[0] = Box(11916, display, QStringLiteral("Check1_0"));
    m_check1[3] = Box(11919, display, QStringLiteral("Check1_3"));
    m_check1[4] = Box(11920, display, QStringLiteral("Check1_4"));
    auto* v = new QVBoxLayout(display);
    v->addWidget(m_frame2);
    v->addWidget(m_check3);
    v->addWidget(m_check1[0]);
    v->addWidget(m_check1[3]);
    v->addWidget(m_check1[4]);
    v->addStretch(1);
  }
  // Tab 2: calibration.
  auto* calibration = new QWidget;
  {
    m_text1[0] = Field(calibration, QStringLiteral("Text1_0"), 70);
    m_text1[1] = Field(calibration, QStringLiteral("Text1_1"), 70);
    m_command1 = new QPushButton(LoadResString(30109), calibration);
    m_command1->setObjectName(QStringLiteral("Command1"));
    connect(m_command1, &QPushButton::clicked, this, &dlgOptions::Command1_Click);
    auto* image1 = new QLabel(calibration);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(NamedPicture(QStringLiteral("options_calibration")));
    auto* line1 = new QFrame(calibration);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    auto* line2 = new QFrame(calibration);
    line2->setObjectName(QStringLiteral("Line2"));
    line2->setFrameShape(QFrame::HLine);
    line2->setFrameShadow(QFrame::Sunken);

    auto* intro = new QVBoxLayout;
    intro->addWidget(Note(11921, calibration));
    intro->addWidget(Note(11922, calibration));
    auto* head = new QHBoxLayout;
    head->addLayout(intro, 1);
    head->addWidget(image1, 0, Qt::AlignTop);

    auto* g = new QGridLayout;
    g->addWidget(Caption(11925, calibration, m_text1[0]), 0, 0);
    g->addWidget(m_text1[0], 0, 1);
    g->addWidget(Note(11926, calibration), 1, 0, 1, 2);
    g->addWidget(line2, 2, 0, 1, 2);
    g->addWidget(Caption(11923, calibration, m_text1[1]), 3, 0);
    g->addWidget(m_text1[1], 3, 1);
    g->addWidget(Note(11924, calibration), 4, 0, 1, 2);
    g->setColumnStretch(0, 1);

    auto* v = new QVBoxLayout(calibration);
    v->addLayout(head);
    v->addWidget(line1);
    v->addLayout(g);
    auto* b = new QHBoxLayout;
    b->addStretch(1);
    b->addWidget(m_command1);
    v->addLayout(b);
    v->addStretch(1);
  }
  // Tab 3: printing.
  auto* printing = new QWidget;
  {
    m_check4[1] = Box(11905, printing, QStringLiteral("Check4_1"));
    m_check4[2] = Box(11906, printing, QStringLiteral("Check4_2"));
    m_check4[3] = Box(11907, printing, QStringLiteral("Check4_3"));
    m_check1[1] = Box(11917, printing, QStringLiteral("Check1_1"));
    m_check1[2] = Box(11918, printing, QStringLiteral("Check1_2"));
    m_frame1 = new QGroupBox(LoadResString(30111), printing);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_check5 = Box(30112, m_frame1, QStringLiteral("Check5"));
    auto* f = new QVBoxLayout(m_frame1);
    f->addWidget(m_check5);
    auto* v = new QVBoxLayout(printing);
    for (QCheckBox* c : {m_check4[1], m_check4[2], m_check4[3], m_check1[1], m_check1[2]}) v->addWidget(c);
    v->addWidget(m_frame1);
    v->addStretch(1);
  }

  m_tab->addTab(general, LoadResString(11901));
  m_tab->addTab(display, LoadResString(11902));
  m_tab->addTab(calibration, LoadResString(11903));
  m_tab->addTab(printing, LoadResString(30110));

  m_ok = new QPushButton(LoadResString(11927), this);
  m_ok->setObjectName(QStringLiteral("OKButton"));
  m_ok->setDefault(true);
  m_cancel = new QPushButton(LoadResString(11928), this);
  m_cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(m_ok, &QPushButton::clicked, this, [this]() { OKButton_Click(); });
  connect(m_cancel, &QPushButton::clicked, this, &dlgOptions::CancelButton_Click);

  auto* image2 = new QLabel(this);
  image2->setObjectName(QStringLiteral("Image2"));
  image2->setPixmap(NamedPicture(QStringLiteral("options")));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(image2);
  bottom->addStretch(1);
  bottom->addWidget(m_ok);
  bottom->addWidget(m_cancel);
  auto* top = new QVBoxLayout(this);
  top->addWidget(m_tab, 1);
  top->addLayout(bottom);
  resize(520, 430);

  for (QLineEdit* e : {m_text3, m_text2[0], m_text2[1], m_text1[0], m_text1[1]}) e->installEventFilter(this);
  connect(m_tab, &QTabWidget::currentChanged, this, [this]() { SSTab1_Click(); });

  m_tab->setCurrentIndex(0);
  SSTab1_Click();
  FillFromSettings();
}

void dlgOptions::FillFromSettings() {
  const Settings& s = ProgramSettings();
  m_text3->setText(s.DefaultPath);
  SetCheck(m_check4[0], s.SettingShowHelp);
  SetCheck(m_check4[1], s.PrintLow);
  SetCheck(m_check4[2], s.PrintStopPage);
  SetCheck(m_check4[3], s.PrintBorder);
  SetCheck(m_check1[0], s.SettingAntialiasing);
  SetCheck(m_check1[1], s.PrintFieldCodeIfNull);
  SetCheck(m_check1[2], s.PrintFieldCode);
  SetCheck(m_check1[3], s.SettingBozza);
  SetCheck(m_check1[4], s.SettingShowRule);
  SetCheck(m_check2[0], s.SettingShowGrid);
  SetCheck(m_check2[1], s.SettingSnap);
  SetCheck(m_check3, s.SettingAutoInsert);
  SetCheck(m_check5, s.PrintCircle);
  m_text1[0]->setText(QString::number(s.CalibrationX));
  m_text1[1]->setText(QString::number(s.CalibrationY));
  m_text2[0]->setText(Trim(StrSingle(s.SettingGridX)));
  m_text2[1]->setText(Trim(StrSingle(s.SettingGridY)));
}

void dlgOptions::SSTab1_Click() {
  for (QLineEdit* e : {m_text3, m_text2[0], m_text2[1], m_text1[0], m_text1[1]}) e->setFocusPolicy(Qt::ClickFocus);
  m_frame1->setEnabled(false);
  m_frame2->setEnabled(false);
  switch (m_tab->currentIndex()) {
    case 0: m_text3->setFocusPolicy(Qt::StrongFocus); break;
    case 1:
      m_text2[0]->setFocusPolicy(Qt::StrongFocus);
      m_text2[1]->setFocusPolicy(Qt::StrongFocus);
      m_frame2->setEnabled(true);
      break;
    case 2:
      m_text1[0]->setFocusPolicy(Qt::StrongFocus);
      m_text1[1]->setFocusPolicy(Qt::StrongFocus);
      break;
    case 3: m_frame1->setEnabled(true); break;
    default: break;
  }
}

bool dlgOptions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      // After the click that brought the focus has placed the cursor.
      QTimer::singleShot(0, edit, [edit]() { edit->selectAll(); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void dlgOptions::Command1_Click() {
  dlgCalibrationList list(this);
  list.exec();
  if (list.ReturnCode) {
    m_text1[0]->setText(QString::number(list.Dx));
    m_text1[1]->setText(QString::number(list.Dy));
  }
}

bool dlgOptions::OKButton_Click() {
  const double calX = Val(m_text1[0]->text());
  const double calY = Val(m_text1[1]->text());
  const double gridX = Val(m_text2[0]->text());
  const double gridY = Val(m_text2[1]->text());
  int failed = 0;
  QLineEdit* box = nullptr;
  if (!(calX >= -1200 && calX <= 1200)) {
    failed = 15037;
    box = m_text1[0];
  } else if (!(calY >= -1200 && calY <= 1200)) {
    failed = 15038;
    box = m_text1[1];
  } else if (!(gridX >= MinGridPitch && gridX <= MaxGridPitch)) {
    failed = 15044;
    box = m_text2[0];
  } else if (!(gridY >= MinGridPitch && gridY <= MaxGridPitch)) {
    failed = 15044;
    box = m_text2[1];
  }
  if (failed != 0) {
    MsgBoxRes(failed, MsgIcon::Information, MsgButtons::Ok);
    // The user is taken to the value to mend: its tab in front, the focus
    // in its box with the text selected.
    for (int i = 0; i < m_tab->count(); ++i) {
      if (m_tab->widget(i)->isAncestorOf(box)) m_tab->setCurrentIndex(i);
    }
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    return false;
  }
  Settings& s = ProgramSettings();
  s.DefaultPath = m_text3->text();
  s.SettingShowHelp = static_cast<std::int16_t>(CheckValue(m_check4[0]));
  s.PrintLow = ToVbBool(m_check4[1]->isChecked());
  s.PrintStopPage = ToVbBool(m_check4[2]->isChecked());
  s.PrintBorder = ToVbBool(m_check4[3]->isChecked());
  s.CalibrationX = CLng(calX);
  s.CalibrationY = CLng(calY);
  s.SettingGridX = static_cast<float>(gridX);
  s.SettingGridY = static_cast<float>(gridY);
  s.SettingAntialiasing = static_cast<std::int16_t>(CheckValue(m_check1[0]));
  s.PrintFieldCodeIfNull = static_cast<std::int16_t>(CheckValue(m_check1[1]));
  s.PrintFieldCode = static_cast<std::int16_t>(CheckValue(m_check1[2]));
  s.SettingBozza = static_cast<std::int16_t>(CheckValue(m_check1[3]));
  s.SettingShowRule = static_cast<std::int16_t>(CheckValue(m_check1[4]));
  s.SettingShowGrid = static_cast<std::int16_t>(CheckValue(m_check2[0]));
  s.SettingSnap = static_cast<std::int16_t>(CheckValue(m_check2[1]));
  s.SettingAutoInsert = static_cast<std::int16_t>(CheckValue(m_check3));
  s.PrintCircle = static_cast<std::int16_t>(CheckValue(m_check5));
  accept();
  return true;
}

void dlgOptions::CancelButton_Click() { reject(); }

}  // namespace pv
