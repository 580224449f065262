#pragma once
// The background and border picker's model: the bitmaps of the program's
// background folder or the metafiles of its border folder in the grid;
// FileName is the chosen file, "" for cancel, NoImageMarker to remove.
#include "render/imagegrid.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace pv {

class BackgroundPickerModel : public ImageGridHost {
 public:
  BackgroundPickerModel();

  ImageGridCore& Grid() { return grid_; }
  // bMode true: borders; false: backgrounds. Lists the files, clears the
  // selection and repaints.
  void SetMode(bool bMode);
  bool Mode() const { return mode_; }

  QString Caption() const;
  QString OkCaption() const;
  QString RemoveCaption() const;
  QString CancelCaption() const;
  QString CountLabel() const { return countLabel_; }
  const QStringList& Files() const { return files_; }
  bool OkEnabled() const { return okEnabled_; }

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  void Remove();
  void Cancel() { FileName.clear(); }

  QString FileName;

 private:
  ImageGridCore grid_;
  bool mode_ = false;
  QStringList files_;
  QString countLabel_;
  bool okEnabled_ = false;
};

}  // namespace pv
