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
  for (std::size_t i = 0; i < 5; ++i) m_labels[i] = new QLabel(LoadResString(captions[i]), this);

  m_combo = new QComboBox(this);
  m_combo->setEditable(true);
  m_combo->setInsertPolicy(QComboBox::NoInsert);
  m_combo->setMinimumContentsLength(18);
  m_size = new QLineEdit(this);
  m_size->setMaximumWidth(60);
  m_swatch = new ColorSwatch(this);
  m_swatch->setFixedSize(60, 22);

  auto* styles = new QHBoxLayout;
  auto* aligns = new QHBoxLayout;
  for (std::size_t i = 0; i < 4; ++i) {
    m_checks[i] = ToggleButton(7000 + static_cast<int>(i), this);
    m_options[i] = ToggleButton(7004 + static_cast<int>(i), this);
    styles->addWidget(m_checks[i]);
    aligns->addWidget(m_options[i]);
  }
  styles->addStretch();
  aligns->addStretch();
  m_default = new QCheckBox(LoadResString(12203), this);
  m_apply = new QPushButton(LoadResString(9200), this);

  grid->addWidget(m_labels[0], 0, 0);
  grid->addWidget(m_combo, 0, 1);
  grid->addWidget(m_labels[1], 1, 0);
  grid->addWidget(m_size, 1, 1, Qt::AlignLeft);
  grid->addWidget(m_labels[2], 2, 0);
  grid->addWidget(m_swatch, 2, 1, Qt::AlignLeft);
  grid->addWidget(m_labels[3], 3, 0);
  grid->addLayout(styles, 3, 1);
  grid->addWidget(m_labels[4], 4, 0);
  grid->addLayout(aligns, 4, 1);
  grid->addWidget(m_default, 5, 0);
  grid->addWidget(m_apply, 5, 1, Qt::AlignRight);

  // The user's changes only: each reaction runs in the model, then the
  // controls follow it.
  for (std::size_t i = 0; i < 4; ++i) {
    const int k = static_cast<int>(i);
    connect(m_checks[i], &QToolButton::clicked, this, [this, k](bool on) {
      m_model.ClickCheck(k, on);
      Sync();
    });
    connect(m_options[i], &QToolButton::clicked, this, [this, k] {
      m_model.ClickOption(k);
      Sync();
    });
  }
  connect(m_combo, &QComboBox::activated, this, [this](int entry) {
    m_model.ChooseFont(entry);
    Sync();
  });
  connect(m_combo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { m_model.TypeFontName(t); });
  connect(m_size, &QLineEdit::textEdited, this, [this](const QString& t) { m_model.TypeSize(t); });
  connect(m_swatch, &ColorSwatch::clicked, this, [this] {
    m_model.ClickColor(this);
    Sync();
  });
  connect(m_default, &QCheckBox::clicked, this, [this](bool on) { m_model.SetDefault(on); });
  connect(m_apply, &QPushButton::clicked, this, [this] { m_model.Command1_Click(); });

  m_model.Load(fonts != nullptr ? *fonts : LoadScreenFontNames());
  {
    const QSignalBlocker block(m_combo);
    m_combo->addItems(m_model.Fonts);
  }
  Sync();
}

void FontWindow::FontApply(int iCode, const QVariant& sValue) {
  m_model.Apply(iCode, sValue);
  Sync();
}

void FontWindow::Sync() {
  {
    const QSignalBlocker block(m_combo);
    m_combo->setCurrentIndex(m_model.FontEntry);
    if (m_combo->currentText() != m_model.FontText) m_combo->setEditText(m_model.FontText);
  }
  if (m_size->text() != m_model.SizeText) m_size->setText(m_model.SizeText);
  for (std::size_t i = 0; i < 4; ++i) {
    m_checks[i]->setChecked(m_model.Check[i] != 0);
    m_options[i]->setChecked(m_model.Option[i]);
  }
  m_swatch->SetColor(m_model.Color);
  m_default->setChecked(m_model.Default);
}

}  // namespace pv
