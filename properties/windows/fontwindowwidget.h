#pragma once
// The text format window (popFont): the thin widget over FontWindowModel.
#include "properties/windows/colorswatch.h"
#include "properties/fontwindow.h"
#include "properties/windows/popupframe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <array>

namespace pv {

class FontWindow : public PopUpFrame {
  Q_OBJECT
 public:
  // Loads the window: captions, pictures, the font list under the
  // hourglass, the size "12", the first font.
  explicit FontWindow(QWidget* owner, const QStringList* fonts = nullptr);

  void FontApply(int iCode, const QVariant& sValue) override;

  FontWindowModel& model() { return model_; }
  QComboBox* fontBox() const { return combo_; }
  QLineEdit* sizeBox() const { return size_; }
  QToolButton* styleButton(int i) const { return checks_[static_cast<std::size_t>(i)]; }
  QToolButton* alignButton(int i) const { return options_[static_cast<std::size_t>(i)]; }
  ColorSwatch* swatch() const { return swatch_; }
  QCheckBox* defaultBox() const { return default_; }
  QPushButton* applyButton() const { return apply_; }
  QLabel* caption(int i) const { return labels_[static_cast<std::size_t>(i)]; }

  // The controls from the model.
  void Sync();

 private:
  FontWindowModel model_;
  std::array<QLabel*, 5> labels_{};
  QComboBox* combo_;
  QLineEdit* size_;
  std::array<QToolButton*, 4> checks_{};
  std::array<QToolButton*, 4> options_{};
  ColorSwatch* swatch_;
  QCheckBox* default_;
  QPushButton* apply_;
};

}  // namespace pv
