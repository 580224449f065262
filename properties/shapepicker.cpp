#include "properties/shapepicker.h"

#include "platform/stringtable.h"
#include "render/libraries.h"

namespace pv {

ShapePickerModel::ShapePickerModel() : grid_(ImageGridVariant::ImageList, this) {
  grid_.BitmapX = 50;
  grid_.BitmapY = 50;
  grid_.SpaceX = 6;
  grid_.SpaceY = 6;
  grid_.nBitmap = 14;
  grid_.pSelectMode = true;
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
  okEnabled_ = true;
  RetCode = static_cast<std::int16_t>(Index - 1);
}

}  // namespace pv
