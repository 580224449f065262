#include "properties/windows/codebardialogwidget.h"

#include "platform/stringtable.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pv {

CodeBarDialog::CodeBarDialog(QWidget* parent, CodeBarDialogModel::FormatNames names)
    : QDialog(parent), m_model(std::move(names)) {
  setWindowTitle(LoadResString(22000));
  auto* column = new QVBoxLayout(this);

  auto* general = new QGroupBox(LoadResString(22001), this);
  auto* generalForm = new QFormLayout(general);
  m_format = new QComboBox(general);
  m_format->addItems(m_model.Formats);
  m_orientation = new QComboBox(general);
  m_orientation->addItems(m_model.Orientations);
  generalForm->addRow(LoadResString(22002), m_format);
  generalForm->addRow(LoadResString(22003), m_orientation);

  auto* contentFrame = new QGroupBox(LoadResString(22004), this);
  auto* contentGrid = new QGridLayout(contentFrame);
  m_sources[0] = new QRadioButton(LoadResString(22007), contentFrame);
  m_sources[1] = new QRadioButton(LoadResString(22006), contentFrame);
  auto* group = new QButtonGroup(this);
  group->addButton(m_sources[0], 0);
  group->addButton(m_sources[1], 1);
  m_content = new QLineEdit(contentFrame);
  m_field = new QPushButton(LoadResString(22005), contentFrame);
  m_field->setMaximumWidth(40);
  contentGrid->addWidget(m_sources[0], 0, 0);
  contentGrid->addWidget(m_sources[1], 0, 1);
  contentGrid->addWidget(m_content, 1, 0, 1, 2);
  contentGrid->addWidget(m_field, 1, 2);

  auto* display = new QGroupBox(LoadResString(22013), this);
  auto* displayColumn = new QVBoxLayout(display);
  const int captions[6] = {22017, 22016, 22015, 22014, 22010, 22009};
  for (std::size_t i = 0; i < 4; ++i) {
    m_checks[i] = new QCheckBox(LoadResString(captions[i]), display);
    displayColumn->addWidget(m_checks[i]);
  }

  auto* advanced = new QGroupBox(LoadResString(22008), this);
  auto* advancedForm = new QFormLayout(advanced);
  for (std::size_t i = 4; i < 6; ++i) {
    m_checks[i] = new QCheckBox(LoadResString(captions[i]), advanced);
    advancedForm->addRow(m_checks[i]);
  }
  m_numbers[0] = new QLineEdit(advanced);
  m_numbers[1] = new QLineEdit(advanced);
  advancedForm->addRow(LoadResString(22012), m_numbers[0]);
  advancedForm->addRow(LoadResString(22011), m_numbers[1]);

  auto* buttons = new QHBoxLayout;
  m_ok = new QPushButton(LoadResString(22019), this);
  m_cancel = new QPushButton(LoadResString(22018), this);
  m_ok->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);

  column->addWidget(general);
  column->addWidget(contentFrame);
  column->addWidget(display);
  column->addWidget(advanced);
  column->addLayout(buttons);

  connect(m_sources[0], &QRadioButton::clicked, this, [this] {
    Pull();
    m_model.SelectSource(0);
    Sync();
  });
  connect(m_sources[1], &QRadioButton::clicked, this, [this] {
    Pull();
    m_model.SelectSource(1);
    Sync();
  });
  connect(m_field, &QPushButton::clicked, this, [this] {
    Pull();
    m_model.ClickField();
    Sync();
  });
  connect(m_ok, &QPushButton::clicked, this, &CodeBarDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &CodeBarDialog::reject);
  Sync();
}

void CodeBarDialog::SetData() {
  m_model.SetData(BarcodeSettings);
  Sync();
}

void CodeBarDialog::Pull() {
  m_model.FormatIndex = m_format->currentIndex();
  m_model.OrientationIndex = m_orientation->currentIndex();
  for (std::size_t i = 0; i < 6; ++i) m_model.Checks[i] = m_checks[i]->isChecked() ? 1 : 0;
  for (std::size_t i = 0; i < 2; ++i) m_model.NumberText[i] = m_numbers[i]->text();
  m_model.ContentText = m_content->text();
}

void CodeBarDialog::Sync() {
  m_format->setCurrentIndex(m_model.FormatIndex);
  m_orientation->setCurrentIndex(m_model.OrientationIndex);
  // A check box shows a stored value other than 0 or 1 as ticked; OK then
  // stores the box's own value.
  for (std::size_t i = 0; i < 6; ++i) m_checks[i]->setChecked(m_model.Checks[i] != 0);
  for (std::size_t i = 0; i < 2; ++i) m_numbers[i]->setText(m_model.NumberText[i]);
  m_content->setText(m_model.ContentText);
  m_sources[static_cast<std::size_t>(m_model.Source)]->setChecked(true);
  m_content->setEnabled(m_model.ContentEnabled);
  m_field->setEnabled(m_model.FieldButtonEnabled);
}

void CodeBarDialog::accept() {
  Pull();
  if (!m_model.Ok()) {
    if (m_model.FocusBox >= 0) {
      QLineEdit* box = m_numbers[static_cast<std::size_t>(m_model.FocusBox)];
      box->setFocus();
      box->selectAll();
    }
    return;
  }
  QDialog::accept();
}

void CodeBarDialog::reject() {
  m_model.Cancel();
  QDialog::reject();
}

}  // namespace pv
