#include "datasources/windows/oledbsourceselection.h"

#include "datasources/windows/mnemonic.h"
#include "platform/stringtable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace pv {

OLEDBSourceSelection::OLEDBSourceSelection(OLEDBSourceSelectionModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_type(new QComboBox(this)),
      m_file(new QLineEdit(this)),
      m_browse(new QToolButton(this)),
      m_tableOption(new QRadioButton(WithMnemonic(LoadResString(25010), u'T'))),
      m_queryOption(new QRadioButton(WithMnemonic(LoadResString(25008), u'Q'))),
      m_tables(new QComboBox),
      m_query(new QLineEdit),
      m_check(new QCheckBox(WithMnemonic(LoadResString(25003), u'I'))),
      m_user(new QLineEdit),
      m_password(new QLineEdit),
      m_userCaption(new QLabel(WithMnemonic(LoadResString(25006), u'U'))),
      m_passwordCaption(new QLabel(WithMnemonic(LoadResString(25005), u'P'))) {
  for (const auto& t : OLEDBSourceSelectionModel::Types()) m_type->addItem(t.text, t.code);
  m_type->setToolTip(LoadResString(25015));
  m_file->setToolTip(LoadResString(25014));
  m_browse->setText(LoadResString(25012));
  m_browse->setToolTip(LoadResString(25013));
  m_tableOption->setToolTip(LoadResString(25011));
  m_queryOption->setToolTip(LoadResString(25009));
  m_check->setToolTip(LoadResString(25004));
  m_user->setToolTip(LoadResString(25002));
  m_password->setToolTip(LoadResString(25001));
  m_password->setEchoMode(QLineEdit::Password);
  m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  m_type->setObjectName(QStringLiteral("Combo1_0"));
  m_file->setObjectName(QStringLiteral("Text1_0"));
  m_browse->setObjectName(QStringLiteral("Command1"));
  m_tables->setObjectName(QStringLiteral("Combo1_1"));
  m_query->setObjectName(QStringLiteral("Text1_1"));

  m_userCaption->setBuddy(m_user);
  m_passwordCaption->setBuddy(m_password);

  auto* layout = new QGridLayout(this);
  auto* typeCaption = new QLabel(WithMnemonic(LoadResString(25017), u'S'), this);
  typeCaption->setBuddy(m_type);
  layout->addWidget(typeCaption, 0, 0, 1, 2);
  layout->addWidget(m_type, 1, 0, 1, 2);
  auto* fileCaption = new QLabel(WithMnemonic(LoadResString(25016), u'O'), this);
  fileCaption->setBuddy(m_file);
  layout->addWidget(fileCaption, 2, 0, 1, 2);
  layout->addWidget(m_file, 3, 0);
  layout->addWidget(m_browse, 3, 1);
  auto* frame1 = new QGroupBox(LoadResString(25007), this);
  auto* f1 = new QVBoxLayout(frame1);
  f1->addWidget(m_tableOption);
  f1->addWidget(m_queryOption);
  f1->addWidget(m_tables);
  f1->addWidget(m_query);
  layout->addWidget(frame1, 4, 0, 1, 2);
  auto* frame2 = new QGroupBox(LoadResString(25000), this);
  auto* f2 = new QGridLayout(frame2);
  f2->addWidget(m_check, 0, 0, 1, 2);
  f2->addWidget(m_userCaption, 1, 0);
  f2->addWidget(m_user, 1, 1);
  f2->addWidget(m_passwordCaption, 2, 0);
  f2->addWidget(m_password, 2, 1);
  layout->addWidget(frame2, 5, 0, 1, 2);

  connect(m_type, &QComboBox::activated, this, [this](int index) {
    ReadBoxes();
    m_model.SelectType(index);
    Sync();
  });
  connect(m_browse, &QToolButton::clicked, this, [this] {
    ReadBoxes();
    m_model.Browse();
    Sync();
  });
  connect(m_tableOption, &QRadioButton::clicked, this, [this] {
    ReadBoxes();
    m_model.ChooseOption(0);
    Sync();
  });
  connect(m_queryOption, &QRadioButton::clicked, this, [this] {
    ReadBoxes();
    m_model.ChooseOption(1);
    Sync();
  });
  connect(m_tables, &QComboBox::activated, this, [this](int index) {
    ReadBoxes();
    m_model.tableIndex = index;
    m_model.ClickTableList();
    Sync();
  });
  for (QLineEdit* box : {m_file, m_query, m_user, m_password}) {
    connect(box, &QLineEdit::textEdited, this, [this] { ReadBoxes(); });
  }
  connect(m_check, &QCheckBox::toggled, this, [this](bool on) {
    m_model.usePassword = on;
    EnableCredentials(on);
  });
  Sync();
}

void OLEDBSourceSelection::EnableCredentials(bool on) {
  for (QWidget* w : {static_cast<QWidget*>(m_user), static_cast<QWidget*>(m_password),
                     static_cast<QWidget*>(m_userCaption), static_cast<QWidget*>(m_passwordCaption)}) {
    w->setEnabled(on);
  }
}

void OLEDBSourceSelection::ReadBoxes() {
  m_model.fileText = m_file->text();
  m_model.queryText = m_query->text();
  m_model.user = m_user->text();
  m_model.password = m_password->text();
  m_model.usePassword = m_check->isChecked();
}

void OLEDBSourceSelection::Sync() {
  const OLEDBSourceSelectionModel& m = m_model;
  const QSignalBlocker b1(m_type), b2(m_tables), b3(m_check);
  m_type->setCurrentIndex(m.typeIndex);
  m_file->setText(m.fileText);
  m_file->setEnabled(m.fileEnabled);
  m_file->setReadOnly(m.fileLocked);
  m_tableOption->setEnabled(m.tableOption.enabled);
  m_queryOption->setEnabled(m.queryOption.enabled);
  m_tableOption->setAutoExclusive(false);
  m_queryOption->setAutoExclusive(false);
  m_tableOption->setChecked(m.tableOption.checked);
  m_queryOption->setChecked(m.queryOption.checked);
  m_tableOption->setAutoExclusive(true);
  m_queryOption->setAutoExclusive(true);
  m_tables->clear();
  m_tables->addItems(m.tables);
  m_tables->setCurrentIndex(m.tableIndex);
  m_tables->setEnabled(m.tableListEnabled);
  m_tables->setVisible(m.tableListVisible);
  m_query->setText(m.queryText);
  m_query->setEnabled(m.queryEnabled);
  m_query->setVisible(m.queryVisible);
  m_check->setChecked(m.usePassword);
  EnableCredentials(m.usePassword);
  m_user->setText(m.user);
  m_password->setText(m.password);
}

}  // namespace pv
