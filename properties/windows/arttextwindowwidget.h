#pragma once
// The art-text window (popArtText): the thin widget over ArtTextWindowModel.
#include "properties/arttextwindow.h"
#include "views/imagegridwidget.h"
#include "properties/windows/popupframe.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace pv {

class ArtTextWindow : public PopUpFrame {
  Q_OBJECT
 public:
  // Loads the window: captions, the font list under the hourglass.
  explicit ArtTextWindow(QWidget* owner, const QStringList* fonts = nullptr);

  ArtTextWindowModel& model() { return model_; }
  QComboBox* fontList() const { return fonts_; }
  ImageGridWidget* grid() const { return grid_; }
  QPushButton* applyButton() const { return apply_; }

 private:
  ArtTextWindowModel model_;
  QLabel* label_;
  QComboBox* fonts_;
  ImageGridWidget* grid_;
  QPushButton* apply_;
};

}  // namespace pv
