#pragma once
// The fill window (popFill): the thin widget over FillWindowModel, laid out
// by the model's layout mode.
#include "properties/windows/colorswatch.h"
#include "properties/fillwindow.h"
#include "views/imagegridwidget.h"
#include "properties/windows/popupframe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <array>

namespace pv {

class FillWindow : public PopUpFrame {
  Q_OBJECT
 public:
  explicit FillWindow(QWidget* owner);

  void FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                 std::int16_t Transparence) override;

  FillWindowModel& model() { return model_; }
  QComboBox* kindList() const { return kinds_; }
  ImageGridWidget* grid() const { return grid_; }
  ColorSwatch* swatch(int n) const { return swatches_[static_cast<std::size_t>(n)]; }
  QLabel* swatchLabel() const { return swatchLabel_; }
  QSlider* slider() const { return slider_; }
  QCheckBox* defaultBox() const { return default_; }
  QPushButton* applyButton() const { return apply_; }

  void Sync();

 private:
  // Lays the window out for a mode (0 with the grid, 1 and 2 without).
  void Resize(int iMode);

  FillWindowModel model_;
  QLabel* kindLabel_;
  QLabel* opacityLabel_;
  QComboBox* kinds_;
  QLabel* swatchLabel_;
  std::array<ColorSwatch*, 2> swatches_{};
  ImageGridWidget* grid_;
  QSlider* slider_;
  QCheckBox* default_;
  QPushButton* apply_;
  bool syncing_ = false;
};

}  // namespace pv
