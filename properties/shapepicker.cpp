#include "properties/shapepicker.h"

#include "platform/stringtable.h"
#include "render/libraries.h"

namespace pv {

ShapePickerModel::ShapePickerModel() : m_grid(ImageGridVariant::ImageList, this) {
  m_grid.BitmapX = 50;
  m_grid.BitmapY = 50;
  m_grid.SpaceX = 6;
  m_grid.SpaceY = 6;
  m_grid.nBitmap = 14;
  m_grid.pSelectMode = true;
}

QString ShapePickerModel::Caption() const { return LoadResString(12000); }
QString ShapePickerModel::OkCaption() const { return LoadResString(12001); }
QString ShapePickerModel::CancelCaption() const { return LoadResString(12002); }

void ShapePickerModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2,
                                  std::int16_t Y2, ImageSurface& Pic) {
  const Rect rect{X1, Y1, X2, Y2};
  Libraries().LineoShape(Pic.dc(), &rect, 5.0, 0.0, Index + 199, 0, 0, 0, 100);
}

void ShapePickerModel::ClickImage(std::int16_t Index) {
  m_okEnabled = true;
  RetCode = static_cast<std::int16_t>(Index - 1);
}

}  // namespace pv
