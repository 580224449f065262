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

  FontWindowModel& model() { return m_model; }
  QComboBox* fontBox() const { return m_combo; }
  QLineEdit* sizeBox() const { return m_size; }
  QToolButton* styleButton(int i) const { return m_checks[static_cast<std::size_t>(i)]; }
  QToolButton* alignButton(int i) const { return m_options[static_cast<std::size_t>(i)]; }
  ColorSwatch* swatch() const { return m_swatch; }
  QCheckBox* defaultBox() const { return m_default; }
  QPushButton* applyButton() const { return m_apply; }
  QLabel* caption(int i) const { return m_labels[static_cast<std::size_t>(i)]; }

  // The controls from the model.
  void Sync();

 private:
  FontWindowModel m_model;
  std::array<QLabel*, 5> m_labels{};
  QComboBox* m_combo;
  QLineEdit* m_size;
  std::array<QToolButton*, 4> m_checks{};
  std::array<QToolButton*, 4> m_options{};
  ColorSwatch* m_swatch;
  QCheckBox* m_default;
  QPushButton* m_apply;
};

}  // namespace pv
