#include "properties/windows/linewindowwidget.h"

#include "core/hosts.h"
#include "platform/stringtable.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace pv {

LineWindow::LineWindow(QWidget* owner) : PopUpFrame(PopLinee, owner) {
  setWindowTitle(LoadResString(12400));
  auto* column = new QVBoxLayout(this);
  for (std::size_t i = 0; i < 3; ++i) labels_[i] = new QLabel(LoadResString(12401 + static_cast<int>(i)), this);
  swatch_ = new ColorSwatch(this);
  swatch_->setFixedSize(60, 22);
  grid_ = new ImageGridWidget(model_.Grid(), this);
  grid_->setFixedSize(214, 170);
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setRange(LineSliderMin, LineSliderMax);
  slider_->setPageStep(1);
  slider_->setTickPosition(QSlider::TicksBelow);
  default_ = new QCheckBox(LoadResString(12404), this);
  apply_ = new QPushButton(LoadResString(9200), this);

  column->addWidget(labels_[0]);
  column->addWidget(swatch_);
  column->addWidget(labels_[1]);
  column->addWidget(grid_);
  column->addWidget(labels_[2]);
  column->addWidget(slider_);
  auto* row = new QHBoxLayout;
  row->addWidget(default_);
  row->addStretch();
  row->addWidget(apply_);
  column->addLayout(row);

  connect(swatch_, &ColorSwatch::clicked, this, [this] {
    model_.ClickColor(this);
    Sync();
  });
  // The user's moves only: the model's own placing of the slider is not one.
  connect(slider_, &QSlider::valueChanged, this, [this](int v) {
    if (!syncing_) model_.MoveSlider(v);
  });
  connect(default_, &QCheckBox::clicked, this, [this](bool on) { model_.SetDefault(on); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.Command1_Click(); });
  Sync();
}

void LineWindow::LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                            std::int16_t iMode) {
  model_.Apply(lNewColor, lNewStyle, lNewAspect, iMode);
  Sync();
}

void LineWindow::Sync() {
  syncing_ = true;
  swatch_->SetColor(model_.LineColor);
  slider_->setEnabled(model_.SliderEnabled);
  slider_->setValue(model_.Slider);
  default_->setChecked(model_.Default);
  syncing_ = false;
}

}  // namespace pv
