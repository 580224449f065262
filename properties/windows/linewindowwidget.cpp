#include "properties/windows/linewindowwidget.h"

#include "core/hosts.h"
#include "platform/stringtable.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace pv {

LineWindow::LineWindow(QWidget* owner) : PopUpFrame(PopLinee, owner) {
  setWindowTitle(LoadResString(12400));
  auto* column = new QVBoxLayout(this);
  for (std::size_t i = 0; i < 3; ++i) m_labels[i] = new QLabel(LoadResString(12401 + static_cast<int>(i)), this);
  m_swatch = new ColorSwatch(this);
  m_swatch->setFixedSize(60, 22);
  m_grid = new ImageGridWidget(m_model.Grid(), this);
  m_grid->setFixedSize(214, 170);
  m_slider = new QSlider(Qt::Horizontal, this);
  m_slider->setRange(LineSliderMin, LineSliderMax);
  m_slider->setPageStep(1);
  m_slider->setTickPosition(QSlider::TicksBelow);
  m_default = new QCheckBox(LoadResString(12404), this);
  m_apply = new QPushButton(LoadResString(9200), this);

  column->addWidget(m_labels[0]);
  column->addWidget(m_swatch);
  column->addWidget(m_labels[1]);
  column->addWidget(m_grid);
  column->addWidget(m_labels[2]);
  column->addWidget(m_slider);
  auto* row = new QHBoxLayout;
  row->addWidget(m_default);
  row->addStretch();
  row->addWidget(m_apply);
  column->addLayout(row);

  connect(m_swatch, &ColorSwatch::clicked, this, [this] {
    m_model.ClickColor(this);
    Sync();
  });
  // The user's moves only: the model's own placing of the slider is not one.
  connect(m_slider, &QSlider::valueChanged, this, [this](int v) {
    if (!m_syncing) m_model.MoveSlider(v);
  });
  connect(m_default, &QCheckBox::clicked, this, [this](bool on) { m_model.SetDefault(on); });
  connect(m_apply, &QPushButton::clicked, this, [this] { m_model.Command1_Click(); });
  Sync();
}

void LineWindow::LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                            std::int16_t iMode) {
  m_model.Apply(lNewColor, lNewStyle, lNewAspect, iMode);
  Sync();
}

void LineWindow::Sync() {
  m_syncing = true;
  m_swatch->SetColor(m_model.LineColor);
  m_slider->setEnabled(m_model.SliderEnabled);
  m_slider->setValue(m_model.Slider);
  m_default->setChecked(m_model.Default);
  m_syncing = false;
}

}  // namespace pv
