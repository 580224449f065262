#pragma once
// The line window (popLinee): the thin widget over LineWindowModel.
#include "properties/windows/colorswatch.h"
#include "views/imagegridwidget.h"
#include "properties/linewindow.h"
#include "properties/windows/popupframe.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <array>

namespace pv {

class LineWindow : public PopUpFrame {
  Q_OBJECT
 public:
  explicit LineWindow(QWidget* owner);

  void LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                  std::int16_t iMode) override;

  LineWindowModel& model() { return model_; }
  ImageGridWidget* grid() const { return grid_; }
  ColorSwatch* swatch() const { return swatch_; }
  QSlider* slider() const { return slider_; }
  QCheckBox* defaultBox() const { return default_; }
  QPushButton* applyButton() const { return apply_; }

  void Sync();

 private:
  LineWindowModel model_;
  std::array<QLabel*, 3> labels_{};
  ColorSwatch* swatch_;
  ImageGridWidget* grid_;
  QSlider* slider_;
  QCheckBox* default_;
  QPushButton* apply_;
  bool syncing_ = false;
};

}  // namespace pv
