#pragma once
// The shape picker's model: fourteen cells, one per generic shape, each
// drawn by the shape library; RetCode is the chosen shape 0-13 or -1.
#include "render/imagegrid.h"

#include <QString>
#include <cstdint>

namespace pv {

class ShapePickerModel : public ImageGridHost {
 public:
  ShapePickerModel();

  ImageGridCore& Grid() { return m_grid; }
  QString Caption() const;
  QString OkCaption() const;
  QString CancelCaption() const;
  bool OkEnabled() const { return m_okEnabled; }

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  void Cancel() { RetCode = -1; }

  std::int16_t RetCode = -1;

 private:
  ImageGridCore m_grid;
  bool m_okEnabled = false;
};

}  // namespace pv
