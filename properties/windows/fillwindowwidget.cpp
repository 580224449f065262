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
  kindLabel_ = new QLabel(LoadResString(12201), this);
  kindLabel_->setGeometry(8, 4, 170, 18);
  kinds_ = new QComboBox(this);
  for (int k = 0; k < FillKindCount; ++k) kinds_->addItem(LoadResString(FillKindOf(k).caption));
  kinds_->setGeometry(8, 22, 170, 24);
  opacityLabel_ = new QLabel(LoadResString(12202), this);
  opacityLabel_->setGeometry(190, 4, 118, 18);
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setRange(0, 100);
  slider_->setGeometry(190, 24, 118, 22);
  swatchLabel_ = new QLabel(this);
  swatchLabel_->setGeometry(8, 48, 140, 18);
  for (std::size_t n = 0; n < 2; ++n) {
    swatches_[n] = new ColorSwatch(this);
    swatches_[n]->setGeometry(150 + static_cast<int>(n) * 50, 47, 44, 20);
  }
  grid_ = new ImageGridWidget(model_.Grid(), this);
  grid_->setGeometry(8, kGridTop, kWidth - 16, 200);
  default_ = new QCheckBox(LoadResString(12203), this);
  apply_ = new QPushButton(LoadResString(9200), this);

  connect(kinds_, &QComboBox::activated, this, [this](int kind) {
    model_.ChooseKind(kind);
    Sync();
  });
  for (std::size_t n = 0; n < 2; ++n) {
    const int k = static_cast<int>(n);
    connect(swatches_[n], &ColorSwatch::clicked, this, [this, k] {
      model_.ClickColor(k, this);
      Sync();
    });
  }
  connect(grid_->surface(), &ImageGridSurface::released, this, [this] { Sync(); });
  // The user's moves only: the model's own placing of the slider is not one.
  connect(slider_, &QSlider::valueChanged, this, [this](int v) {
    if (!syncing_) model_.MoveSlider(v);
  });
  connect(default_, &QCheckBox::clicked, this, [this](bool on) { model_.SetDefault(on); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.Command1_Click(); });
  setFixedWidth(kWidth);
  Sync();
}

void FillWindow::FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                           std::int16_t Transparence) {
  model_.Apply(FillStyle, BackColor1, Backcolor2, Transparence);
  Sync();
}

void FillWindow::Resize(int iMode) {
  FillLayout layout{};
  if (!FillLayoutOf(iMode, layout)) return;
  grid_->setVisible(layout.gridVisible);
  default_->setGeometry(8, layout.buttonsTop, 120, 24);
  apply_->setGeometry(kWidth - 108, layout.buttonsTop, 100, 26);
  setFixedHeight(layout.height);
}

void FillWindow::Sync() {
  syncing_ = true;
  kinds_->setCurrentIndex(model_.FillKind);
  const FillKindInfo& info = FillKindOf(model_.FillKind);
  const int swatches = model_.FillKind >= 0 ? info.swatches : 0;
  swatchLabel_->setText(swatches > 0 ? LoadResString(info.swatchLabel) : QString());
  swatchLabel_->setVisible(swatches > 0);
  for (std::size_t n = 0; n < 2; ++n) {
    swatches_[n]->setVisible(static_cast<int>(n) < swatches);
    swatches_[n]->SetColor(n == 0 ? model_.BackColor1 : model_.Backcolor2);
  }
  slider_->setEnabled(model_.SliderEnabled);
  slider_->setValue(model_.Slider);
  default_->setChecked(model_.Default);
  Resize(model_.LayoutMode);
  syncing_ = false;
}

}  // namespace pv
