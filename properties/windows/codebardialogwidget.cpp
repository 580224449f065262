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
    : QDialog(parent), model_(std::move(names)) {
  setWindowTitle(LoadResString(22000));
  auto* column = new QVBoxLayout(this);

  auto* general = new QGroupBox(LoadResString(22001), this);
  auto* generalForm = new QFormLayout(general);
  format_ = new QComboBox(general);
  format_->addItems(model_.Formats);
  orientation_ = new QComboBox(general);
  orientation_->addItems(model_.Orientations);
  generalForm->addRow(LoadResString(22002), format_);
  generalForm->addRow(LoadResString(22003), orientation_);

  auto* contentFrame = new QGroupBox(LoadResString(22004), this);
  auto* contentGrid = new QGridLayout(contentFrame);
  sources_[0] = new QRadioButton(LoadResString(22007), contentFrame);
  sources_[1] = new QRadioButton(LoadResString(22006), contentFrame);
  auto* group = new QButtonGroup(this);
  group->addButton(sources_[0], 0);
  group->addButton(sources_[1], 1);
  content_ = new QLineEdit(contentFrame);
  field_ = new QPushButton(LoadResString(22005), contentFrame);
  field_->setMaximumWidth(40);
  contentGrid->addWidget(sources_[0], 0, 0);
  contentGrid->addWidget(sources_[1], 0, 1);
  contentGrid->addWidget(content_, 1, 0, 1, 2);
  contentGrid->addWidget(field_, 1, 2);

  auto* display = new QGroupBox(LoadResString(22013), this);
  auto* displayColumn = new QVBoxLayout(display);
  const int captions[6] = {22017, 22016, 22015, 22014, 22010, 22009};
  for (std::size_t i = 0; i < 4; ++i) {
    checks_[i] = new QCheckBox(LoadResString(captions[i]), display);
    displayColumn->addWidget(checks_[i]);
  }

  auto* advanced = new QGroupBox(LoadResString(22008), this);
  auto* advancedForm = new QFormLayout(advanced);
  for (std::size_t i = 4; i < 6; ++i) {
    checks_[i] = new QCheckBox(LoadResString(captions[i]), advanced);
    advancedForm->addRow(checks_[i]);
  }
  numbers_[0] = new QLineEdit(advanced);
  numbers_[1] = new QLineEdit(advanced);
  advancedForm->addRow(LoadResString(22012), numbers_[0]);
  advancedForm->addRow(LoadResString(22011), numbers_[1]);

  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(LoadResString(22019), this);
  cancel_ = new QPushButton(LoadResString(22018), this);
  ok_->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  column->addWidget(general);
  column->addWidget(contentFrame);
  column->addWidget(display);
  column->addWidget(advanced);
  column->addLayout(buttons);

  connect(sources_[0], &QRadioButton::clicked, this, [this] {
    Pull();
    model_.SelectSource(0);
    Sync();
  });
  connect(sources_[1], &QRadioButton::clicked, this, [this] {
    Pull();
    model_.SelectSource(1);
    Sync();
  });
  connect(field_, &QPushButton::clicked, this, [this] {
    Pull();
    model_.ClickField();
    Sync();
  });
  connect(ok_, &QPushButton::clicked, this, &CodeBarDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &CodeBarDialog::reject);
  Sync();
}

void CodeBarDialog::SetData() {
  model_.SetData(BarcodeSettings);
  Sync();
}

void CodeBarDialog::Pull() {
  model_.FormatIndex = format_->currentIndex();
  model_.OrientationIndex = orientation_->currentIndex();
  for (std::size_t i = 0; i < 6; ++i) model_.Checks[i] = checks_[i]->isChecked() ? 1 : 0;
  for (std::size_t i = 0; i < 2; ++i) model_.NumberText[i] = numbers_[i]->text();
  model_.ContentText = content_->text();
}

void CodeBarDialog::Sync() {
  format_->setCurrentIndex(model_.FormatIndex);
  orientation_->setCurrentIndex(model_.OrientationIndex);
  // A check box shows a stored value other than 0 or 1 as ticked; OK then
  // stores the box's own value.
  for (std::size_t i = 0; i < 6; ++i) checks_[i]->setChecked(model_.Checks[i] != 0);
  for (std::size_t i = 0; i < 2; ++i) numbers_[i]->setText(model_.NumberText[i]);
  content_->setText(model_.ContentText);
  sources_[static_cast<std::size_t>(model_.Source)]->setChecked(true);
  content_->setEnabled(model_.ContentEnabled);
  field_->setEnabled(model_.FieldButtonEnabled);
}

void CodeBarDialog::accept() {
  Pull();
  if (!model_.Ok()) {
    if (model_.FocusBox >= 0) {
      QLineEdit* box = numbers_[static_cast<std::size_t>(model_.FocusBox)];
      box->setFocus();
      box->selectAll();
    }
    return;
  }
  QDialog::accept();
}

void CodeBarDialog::reject() {
  model_.Cancel();
  QDialog::reject();
}

}  // namespace pv
