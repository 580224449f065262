#include "properties/windows/fillwindowwidget.h"

#include "core/hosts.h"
#include "platform/stringtable.h"

namespace pv {

namespace {
constexpr int kWidth = 316;
constexpr int kGridTop = 70;
}  // namespace

FillWindow::FillWindow(QWidget* owner) : PopUpFrame(PopFill, owner) {
  setWindowTitle(LoadResString(12200));
  m_kindLabel = new QLabel(LoadResString(12201), this);
  m_kindLabel->setGeometry(8, 4, 170, 18);
  m_kinds = new QComboBox(this);
  for (int k = 0; k < FillKindCount; ++k) m_kinds->addItem(LoadResString(FillKindOf(k).caption));
  m_kinds->setGeometry(8, 22, 170, 24);
  m_opacityLabel = new QLabel(LoadResString(12202), this);
  m_opacityLabel->setGeometry(190, 4, 118, 18);
  m_slider = new QSlider(Qt::Horizontal, this);
  m_slider->setRange(0, 100);
  m_slider->setGeometry(190, 24, 118, 22);
  m_swatchLabel = new QLabel(this);
  m_swatchLabel->setGeometry(8, 48, 140, 18);
  for (std::size_t n = 0; n < 2; ++n) {
    m_swatches[n] = new ColorSwatch(this);
    m_swatches[n]->setGeometry(150 + static_cast<int>(n) * 50, 47, 44, 20);
  }
  m_grid = new ImageGridWidget(m_model.Grid(), this);
  m_grid->setGeometry(8, kGridTop, kWidth - 16, 200);
  m_default = new QCheckBox(LoadResString(12203), this);
  m_apply = new QPushButton(LoadResString(9200), this);

  connect(m_kinds, &QComboBox::activated, this, [this](int kind) {
    m_model.ChooseKind(kind);
    Sync();
  });
  for (std::size_t n = 0; n < 2; ++n) {
    const int k = static_cast<int>(n);
    connect(m_swatches[n], &ColorSwatch::clicked, this, [this, k] {
      m_model.ClickColor(k, this);
      Sync();
    });
  }
  connect(m_grid->surface(), &ImageGridSurface::released, this, [this] { Sync(); });
  // The user's moves only: the model's own placing of the slider is not one.
  connect(m_slider, &QSlider::valueChanged, this, [this](int v) {
    if (!m_syncing) m_model.MoveSlider(v);
  });
  connect(m_default, &QCheckBox::clicked, this, [this](bool on) { m_model.SetDefault(on); });
  connect(m_apply, &QPushButton::clicked, this, [this] { m_model.Command1_Click(); });
  setFixedWidth(kWidth);
  Sync();
}

void FillWindow::FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                           std::int16_t Transparence) {
  m_model.Apply(FillStyle, BackColor1, Backcolor2, Transparence);
  Sync();
}

void FillWindow::Resize(int iMode) {
  FillLayout layout{};
  if (!FillLayoutOf(iMode, layout)) return;
  m_grid->setVisible(layout.gridVisible);
  m_default->setGeometry(8, layout.buttonsTop, 120, 24);
  m_apply->setGeometry(kWidth - 108, layout.buttonsTop, 100, 26);
  setFixedHeight(layout.height);
}

void FillWindow::Sync() {
  m_syncing = true;
  m_kinds->setCurrentIndex(m_model.FillKind);
  const FillKindInfo& info = FillKindOf(m_model.FillKind);
  const int swatches = m_model.FillKind >= 0 ? info.swatches : 0;
  m_swatchLabel->setText(swatches > 0 ? LoadResString(info.swatchLabel) : QString());
  m_swatchLabel->setVisible(swatches > 0);
  for (std::size_t n = 0; n < 2; ++n) {
    m_swatches[n]->setVisible(static_cast<int>(n) < swatches);
    m_swatches[n]->SetColor(n == 0 ? m_model.BackColor1 : m_model.Backcolor2);
  }
  m_slider->setEnabled(m_model.SliderEnabled);
  m_slider->setValue(m_model.Slider);
  m_default->setChecked(m_model.Default);
  Resize(m_model.LayoutMode);
  m_syncing = false;
}

}  // namespace pv
