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
      m_grid(new ImageGridWidget(m_model.Grid(), this)),
      m_ok(new QPushButton(m_model.OkCaption(), this)),
      m_cancel(new QPushButton(m_model.CancelCaption(), this)) {
  setWindowTitle(m_model.Caption());
  m_grid->setMinimumSize(7 * 56 + 30, 2 * 56 + 20);
  m_ok->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_grid, 1);
  layout->addLayout(ButtonRow({m_ok, m_cancel}));
  connect(m_grid->surface(), &ImageGridSurface::released, this, [this] { m_ok->setEnabled(m_model.OkEnabled()); });
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &ShapePickerWindow::reject);
}

void ShapePickerWindow::reject() {
  m_model.Cancel();
  QDialog::reject();
}

// ---- Clip-art ---------------------------------------------------------------

ClipArtPickerWindow::ClipArtPickerWindow(const QString& root, const std::vector<ClipCategory>& categories,
                                         QWidget* parent)
    : QDialog(parent),
      m_model(root),
      m_list(new QListWidget(this)),
      m_grid(new ImageGridWidget(m_model.Grid(), this)),
      m_categoryLabel(new QLabel(LoadResString(11501), this)),
      m_fileLabel(new QLabel(LoadResString(11502), this)),
      m_ok(new QPushButton(m_model.OkCaption(), this)),
      m_cancel(new QPushButton(m_model.CancelCaption(), this)) {
  setWindowTitle(m_model.Caption());
  m_list->setMinimumWidth(170);
  m_grid->setMinimumSize(4 * 92 + 30, 3 * 92 + 10);
  auto* layout = new QGridLayout(this);
  layout->addWidget(m_categoryLabel, 0, 0);
  layout->addWidget(m_fileLabel, 0, 1);
  layout->addWidget(m_list, 1, 0);
  layout->addWidget(m_grid, 1, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(1, 1);
  layout->addLayout(ButtonRow({m_ok, m_cancel}), 2, 0, 1, 2);

  m_model.Load(categories);
  for (const ClipCategory& c : m_model.Categories()) {
    auto* item = new QListWidgetItem(c.label, m_list);
    item->setData(Qt::UserRole, c.code);
  }
  if (m_model.CurrentCategory() >= 0) m_list->setCurrentRow(m_model.CurrentCategory());
  Sync();

  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
    m_model.SelectCategory(row);
    Sync();
  });
  connect(m_grid->surface(), &ImageGridSurface::released, this, [this] { Sync(); });
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &ClipArtPickerWindow::reject);
}

void ClipArtPickerWindow::Sync() {
  m_categoryLabel->setText(m_model.CategoryCountLabel());
  m_fileLabel->setText(m_model.FileCountLabel());
  m_ok->setEnabled(m_model.OkEnabled());
}

void ClipArtPickerWindow::reject() {
  m_model.Cancel();
  QDialog::reject();
}

// ---- Backgrounds and borders ---------------------------------------------------

BackgroundPickerWindow::BackgroundPickerWindow(QWidget* parent)
    : QDialog(parent),
      m_grid(new ImageGridWidget(m_model.Grid(), this)),
      m_countLabel(new QLabel(m_model.CountLabel(), this)),
      m_ok(new QPushButton(m_model.OkCaption(), this)),
      m_remove(new QPushButton(m_model.RemoveCaption(), this)),
      m_cancel(new QPushButton(m_model.CancelCaption(), this)) {
  m_grid->setMinimumSize(4 * 110 + 30, 3 * 90 + 10);
  m_ok->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_countLabel);
  layout->addWidget(m_grid, 1);
  auto* buttons = ButtonRow({m_ok, m_cancel});
  buttons->insertWidget(0, m_remove);
  layout->addLayout(buttons);
  connect(m_grid->surface(), &ImageGridSurface::released, this, [this] { Sync(); });
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_remove, &QPushButton::clicked, this, [this] {
    m_model.Remove();
    QDialog::accept();
  });
  connect(m_cancel, &QPushButton::clicked, this, &BackgroundPickerWindow::reject);
}

void BackgroundPickerWindow::SetMode(bool bMode) {
  m_model.SetMode(bMode);
  setWindowTitle(m_model.Caption());
  Sync();
}

void BackgroundPickerWindow::Sync() {
  m_countLabel->setText(m_model.CountLabel());
  m_ok->setEnabled(m_model.OkEnabled());
}

void BackgroundPickerWindow::reject() {
  m_model.Cancel();
  QDialog::reject();
}

// ---- Series copy -----------------------------------------------------------

ArrayWindow::ArrayWindow(QWidget* parent)
    : QDialog(parent),
      m_ok(new QPushButton(LoadResString(11105), this)),
      m_cancel(new QPushButton(LoadResString(11106), this)) {
  setWindowTitle(m_model.Caption());
  auto* frame = new QGroupBox(LoadResString(11100), this);
  auto* form = new QGridLayout(frame);
  for (int i = 0; i < 4; ++i) {
    auto* box = new QLineEdit(m_model.Text[static_cast<std::size_t>(i)], frame);
    auto* label = new QLabel(LoadResString(11101 + i), frame);
    label->setBuddy(box);
    box->installEventFilter(this);
    form->addWidget(label, i, 0);
    form->addWidget(box, i, 1);
    m_boxes[static_cast<std::size_t>(i)] = box;
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(ButtonRow({m_ok, m_cancel}));
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 4; ++i)
      m_model.Text[static_cast<std::size_t>(i)] = m_boxes[static_cast<std::size_t>(i)]->text();
    if (m_model.Confirm()) accept();
  });
  connect(m_cancel, &QPushButton::clicked, this, &ArrayWindow::reject);
}

bool ArrayWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

void ArrayWindow::reject() {
  m_model.Cancel();
  QDialog::reject();
}

}  // namespace pv
