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

  ArtTextWindowModel& model() { return m_model; }
  QComboBox* fontList() const { return m_fonts; }
  ImageGridWidget* grid() const { return m_grid; }
  QPushButton* applyButton() const { return m_apply; }

 private:
  ArtTextWindowModel m_model;
  QLabel* m_label;
  QComboBox* m_fonts;
  ImageGridWidget* m_grid;
  QPushButton* m_apply;
};

}  // namespace pv
