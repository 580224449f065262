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

  ImageGridCore& Grid() { return m_grid; }
  // bMode true: borders; false: backgrounds. Lists the files, clears the
  // selection and repaints.
  void SetMode(bool bMode);
  bool Mode() const { return m_mode; }

  QString Caption() const;
  QString OkCaption() const;
  QString RemoveCaption() const;
  QString CancelCaption() const;
  QString CountLabel() const { return m_countLabel; }
  const QStringList& Files() const { return m_files; }
  bool OkEnabled() const { return m_okEnabled; }

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  void Remove();
  void Cancel() { FileName.clear(); }

  QString FileName;

 private:
  ImageGridCore m_grid;
  bool m_mode = false;
  QStringList m_files;
  QString m_countLabel;
  bool m_okEnabled = false;
};

}  // namespace pv
