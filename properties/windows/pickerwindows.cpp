#include "properties/windows/pickerwindows.h"

#include "platform/stringtable.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace pv {

namespace {

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* b : buttons) row->addWidget(b);
  return row;
}

}  // namespace

// ---- Shapes ---------------------------------------------------------------

ShapePickerWindow::ShapePickerWindow(QWidget* parent)
    : QDialog(parent),
      grid_(new ImageGridWidget(model_.Grid(), this)),
      ok_(new QPushButton(model_.OkCaption(), this)),
      cancel_(new QPushButton(model_.CancelCaption(), this)) {
  setWindowTitle(model_.Caption());
  grid_->setMinimumSize(7 * 56 + 30, 2 * 56 + 20);
  ok_->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(ButtonRow({ok_, cancel_}));
  connect(grid_->surface(), &ImageGridSurface::released, this, [this] { ok_->setEnabled(model_.OkEnabled()); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &ShapePickerWindow::reject);
}

void ShapePickerWindow::reject() {
  model_.Cancel();
  QDialog::reject();
}

// ---- Clip-art ---------------------------------------------------------------

ClipArtPickerWindow::ClipArtPickerWindow(const QString& root, const std::vector<ClipCategory>& categories,
                                         QWidget* parent)
    : QDialog(parent),
      model_(root),
      list_(new QListWidget(this)),
      grid_(new ImageGridWidget(model_.Grid(), this)),
      categoryLabel_(new QLabel(LoadResString(11501), this)),
      fileLabel_(new QLabel(LoadResString(11502), this)),
      ok_(new QPushButton(model_.OkCaption(), this)),
      cancel_(new QPushButton(model_.CancelCaption(), this)) {
  setWindowTitle(model_.Caption());
  list_->setMinimumWidth(170);
  grid_->setMinimumSize(4 * 92 + 30, 3 * 92 + 10);
  auto* layout = new QGridLayout(this);
  layout->addWidget(categoryLabel_, 0, 0);
  layout->addWidget(fileLabel_, 0, 1);
  layout->addWidget(list_, 1, 0);
  layout->addWidget(grid_, 1, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(1, 1);
  layout->addLayout(ButtonRow({ok_, cancel_}), 2, 0, 1, 2);

  model_.Load(categories);
  for (const ClipCategory& c : model_.Categories()) {
    auto* item = new QListWidgetItem(c.label, list_);
    item->setData(Qt::UserRole, c.code);
  }
  if (model_.CurrentCategory() >= 0) list_->setCurrentRow(model_.CurrentCategory());
  Sync();

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    model_.SelectCategory(row);
    Sync();
  });
  connect(grid_->surface(), &ImageGridSurface::released, this, [this] { Sync(); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &ClipArtPickerWindow::reject);
}

void ClipArtPickerWindow::Sync() {
  categoryLabel_->setText(model_.CategoryCountLabel());
  fileLabel_->setText(model_.FileCountLabel());
  ok_->setEnabled(model_.OkEnabled());
}

void ClipArtPickerWindow::reject() {
  model_.Cancel();
  QDialog::reject();
}

// ---- Backgrounds and borders ---------------------------------------------------

BackgroundPickerWindow::BackgroundPickerWindow(QWidget* parent)
    : QDialog(parent),
      grid_(new ImageGridWidget(model_.Grid(), this)),
      countLabel_(new QLabel(model_.CountLabel(), this)),
      ok_(new QPushButton(model_.OkCaption(), this)),
      remove_(new QPushButton(model_.RemoveCaption(), this)),
      cancel_(new QPushButton(model_.CancelCaption(), this)) {
  grid_->setMinimumSize(4 * 110 + 30, 3 * 90 + 10);
  ok_->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(countLabel_);
  layout->addWidget(grid_, 1);
  auto* buttons = ButtonRow({ok_, cancel_});
  buttons->insertWidget(0, remove_);
  layout->addLayout(buttons);
  connect(grid_->surface(), &ImageGridSurface::released, this, [this] { Sync(); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(remove_, &QPushButton::clicked, this, [this] {
    model_.Remove();
    QDialog::accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &BackgroundPickerWindow::reject);
}

void BackgroundPickerWindow::SetMode(bool bMode) {
  model_.SetMode(bMode);
  setWindowTitle(model_.Caption());
  Sync();
}

void BackgroundPickerWindow::Sync() {
  countLabel_->setText(model_.CountLabel());
  ok_->setEnabled(model_.OkEnabled());
}

void BackgroundPickerWindow::reject() {
  model_.Cancel();
  QDialog::reject();
}

// ---- Series copy -----------------------------------------------------------

ArrayWindow::ArrayWindow(QWidget* parent)
    : QDialog(parent),
      ok_(new QPushButton(LoadResString(11105), this)),
      cancel_(new QPushButton(LoadResString(11106), this)) {
  setWindowTitle(model_.Caption());
  auto* frame = new QGroupBox(LoadResString(11100), this);
  auto* form = new QGridLayout(frame);
  for (int i = 0; i < 4; ++i) {
    auto* box = new QLineEdit(model_.Text[static_cast<std::size_t>(i)], frame);
    auto* label = new QLabel(LoadResString(11101 + i), frame);
    label->setBuddy(box);
    box->installEventFilter(this);
    form->addWidget(label, i, 0);
    form->addWidget(box, i, 1);
    boxes_[static_cast<std::size_t>(i)] = box;
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(ButtonRow({ok_, cancel_}));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 4; ++i) model_.Text[static_cast<std::size_t>(i)] = boxes_[static_cast<std::size_t>(i)]->text();
    if (model_.Confirm()) accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &ArrayWindow::reject);
}

bool ArrayWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

void ArrayWindow::reject() {
  model_.Cancel();
  QDialog::reject();
}

}  // namespace pv
