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

  FillWindowModel& model() { return m_model; }
  QComboBox* kindList() const { return m_kinds; }
  ImageGridWidget* grid() const { return m_grid; }
  ColorSwatch* swatch(int n) const { return m_swatches[static_cast<std::size_t>(n)]; }
  QLabel* swatchLabel() const { return m_swatchLabel; }
  QSlider* slider() const { return m_slider; }
  QCheckBox* defaultBox() const { return m_default; }
  QPushButton* applyButton() const { return m_apply; }

  void Sync();

 private:
  // Lays the window out for a mode (0 with the grid, 1 and 2 without).
  void Resize(int iMode);

  FillWindowModel m_model;
  QLabel* m_kindLabel;
  QLabel* m_opacityLabel;
  QComboBox* m_kinds;
  QLabel* m_swatchLabel;
  std::array<ColorSwatch*, 2> m_swatches{};
  ImageGridWidget* m_grid;
  QSlider* m_slider;
  QCheckBox* m_default;
  QPushButton* m_apply;
  bool m_syncing = false;
};

}  // namespace pv
