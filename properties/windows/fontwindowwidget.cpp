#include "properties/windows/fontwindowwidget.h"

#include "platform/stringtable.h"
#include "properties/windows/icons.h"
#include "properties/screenfonts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>

namespace pv {

namespace {
QToolButton* ToggleButton(int picture, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setCheckable(true);
  b->setAutoRaise(false);
  b->setIcon(PropertyIcon(picture));
  b->setIconSize(QSize(20, 20));
  return b;
}
}  // namespace

FontWindow::FontWindow(QWidget* owner, const QStringList* fonts) : PopUpFrame(0, owner) {
  setWindowTitle(LoadResString(12600));
  auto* grid = new QGridLayout(this);
  const int captions[5] = {12601, 12602, 12607, 12603, 12604};
  for (std::size_t i = 0; i < 5; ++i) labels_[i] = new QLabel(LoadResString(captions[i]), this);

  combo_ = new QComboBox(this);
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setMinimumContentsLength(18);
  size_ = new QLineEdit(this);
  size_->setMaximumWidth(60);
  swatch_ = new ColorSwatch(this);
  swatch_->setFixedSize(60, 22);

  auto* styles = new QHBoxLayout;
  auto* aligns = new QHBoxLayout;
  for (std::size_t i = 0; i < 4; ++i) {
    checks_[i] = ToggleButton(7000 + static_cast<int>(i), this);
    options_[i] = ToggleButton(7004 + static_cast<int>(i), this);
    styles->addWidget(checks_[i]);
    aligns->addWidget(options_[i]);
  }
  styles->addStretch();
  aligns->addStretch();
  default_ = new QCheckBox(LoadResString(12203), this);
  apply_ = new QPushButton(LoadResString(9200), this);

  grid->addWidget(labels_[0], 0, 0);
  grid->addWidget(combo_, 0, 1);
  grid->addWidget(labels_[1], 1, 0);
  grid->addWidget(size_, 1, 1, Qt::AlignLeft);
  grid->addWidget(labels_[2], 2, 0);
  grid->addWidget(swatch_, 2, 1, Qt::AlignLeft);
  grid->addWidget(labels_[3], 3, 0);
  grid->addLayout(styles, 3, 1);
  grid->addWidget(labels_[4], 4, 0);
  grid->addLayout(aligns, 4, 1);
  grid->addWidget(default_, 5, 0);
  grid->addWidget(apply_, 5, 1, Qt::AlignRight);

  // The user's changes only: each reaction runs in the model, then the
  // controls follow it.
  for (std::size_t i = 0; i < 4; ++i) {
    const int k = static_cast<int>(i);
    connect(checks_[i], &QToolButton::clicked, this, [this, k](bool on) {
      model_.ClickCheck(k, on);
      Sync();
    });
    connect(options_[i], &QToolButton::clicked, this, [this, k] {
      model_.ClickOption(k);
      Sync();
    });
  }
  connect(combo_, &QComboBox::activated, this, [this](int entry) {
    model_.ChooseFont(entry);
    Sync();
  });
  connect(combo_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { model_.TypeFontName(t); });
  connect(size_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.TypeSize(t); });
  connect(swatch_, &ColorSwatch::clicked, this, [this] {
    model_.ClickColor(this);
    Sync();
  });
  connect(default_, &QCheckBox::clicked, this, [this](bool on) { model_.SetDefault(on); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.Command1_Click(); });

  model_.Load(fonts != nullptr ? *fonts : LoadScreenFontNames());
  {
    const QSignalBlocker block(combo_);
    combo_->addItems(model_.Fonts);
  }
  Sync();
}

void FontWindow::FontApply(int iCode, const QVariant& sValue) {
  model_.Apply(iCode, sValue);
  Sync();
}

void FontWindow::Sync() {
  {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(model_.FontEntry);
    if (combo_->currentText() != model_.FontText) combo_->setEditText(model_.FontText);
  }
  if (size_->text() != model_.SizeText) size_->setText(model_.SizeText);
  for (std::size_t i = 0; i < 4; ++i) {
    checks_[i]->setChecked(model_.Check[i] != 0);
    options_[i]->setChecked(model_.Option[i]);
  }
  swatch_->SetColor(model_.Color);
  default_->setChecked(model_.Default);
}

}  // namespace pv
