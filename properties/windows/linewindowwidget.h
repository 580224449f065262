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

  LineWindowModel& model() { return m_model; }
  ImageGridWidget* grid() const { return m_grid; }
  ColorSwatch* swatch() const { return m_swatch; }
  QSlider* slider() const { return m_slider; }
  QCheckBox* defaultBox() const { return m_default; }
  QPushButton* applyButton() const { return m_apply; }

  void Sync();

 private:
  LineWindowModel m_model;
  std::array<QLabel*, 3> m_labels{};
  ColorSwatch* m_swatch;
  ImageGridWidget* m_grid;
  QSlider* m_slider;
  QCheckBox* m_default;
  QPushButton* m_apply;
  bool m_syncing = false;
};

}  // namespace pv
