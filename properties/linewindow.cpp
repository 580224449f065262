#include "properties/linewindow.h"

#include "platform/commondialogs.h"
#include "properties/popupeditor.h"
#include "render/libraries.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pv {

std::int16_t ClampToInteger(std::int64_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767));
}

std::int32_t MidPixel(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(std::nearbyint((static_cast<double>(a) + static_cast<double>(b)) / 2.0));
}

void DrawCellFrame(ImageSurface& Pic, std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2) {
  QPainter* p = Pic.painter();
  if (p == nullptr) return;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  p->setBrush(Qt::NoBrush);
  QPen pen(Qt::black);
  pen.setWidth(0);
  p->setPen(pen);
  p->drawRect(QRect(QPoint(X1, Y1), QPoint(X2, Y2)).normalized().adjusted(0, 0, -1, -1));
  p->restore();
}

LineWindowModel::LineWindowModel() : m_grid(ImageGridVariant::ImageList, this) {
  m_grid.pSelectMode = true;
  m_grid.BitmapX = 80;
  m_grid.BitmapY = 20;
  m_grid.SpaceX = 8;
  m_grid.SpaceY = 6;
  m_grid.nBitmap = 12;
}

int LineWindowModel::SliderPlace(std::int32_t aspect) { return std::clamp(aspect, LineSliderMin, LineSliderMax); }

void LineWindowModel::Apply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                            std::int16_t iMode) {
  const Mark m = iMode == -20 ? Mark::No : Mark::Yes;
  ColorMark = m;
  StyleMark = m;
  // Not one object: there is no aspect in common, and 0 would reset every
  // selected shape's corners.
  AspectMark = iMode == -10 || iMode == -20 ? Mark::No : Mark::Yes;
  SliderEnabled = true;
  Aspect = ClampToInteger(lNewAspect);
  LineStyle = ClampToInteger(lNewStyle.toLongLong());
  LineColor = lNewColor;
  // The slider shows the aspect within its range; the aspect itself stays.
  Slider = SliderPlace(Aspect);
  m_grid.Selected(LineStyle >= 1 && LineStyle <= m_grid.nBitmap ? LineStyle : -1);
  m_grid.Paint();
}

void LineWindowModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                                 ImageSurface& Pic) {
  RenderLibraries& lib = Libraries();
  lib.LineoPen(Pic.dc(), 2, Rgb(0, 0, 0));
  DrawCellFrame(Pic, X1, Y1, X2, Y2);
  lib.LineoPen(Pic.dc(), Index, static_cast<Colour>(LineColor));
  const std::int32_t y = MidPixel(Y1, Y2);
  const Point p1{X1 + 5, y};
  const Point p2{X2 - 5, y};
  lib.LineoLine(Pic.dc(), &p1, &p2, 0.0);
}

void LineWindowModel::ClickImage(std::int16_t Index) {
  LineStyle = Index;
  StyleMark = Mark::Yes;
}

bool LineWindowModel::ClickColor(QWidget* owner) {
  // The dialog leaves the colour as it was on a cancel.
  if (!ShowColorDialog(LineColor, owner)) return false;
  ColorMark = Mark::Yes;
  m_grid.Paint();
  return true;
}

void LineWindowModel::MoveSlider(int value) {
  Slider = value;
  Aspect = ClampToInteger(value);
  AspectMark = Mark::Yes;
}

void LineWindowModel::Command1_Click() {
  PopUpEditor& editor = PopUpEditorHost();
  const int d = Default ? 1 : 0;
  editor.SavedDoc();
  if (ColorMark != Mark::No) editor.Apply(401, QVariant(LineColor), d, false);
  if (StyleMark != Mark::No) editor.Apply(402, QVariant(static_cast<int>(LineStyle)), d, false);
  if (AspectMark != Mark::No) editor.Apply(403, QVariant(static_cast<int>(Aspect)), d, false);
  editor.Apply(0, QVariant(0), 0, true);
}

}  // namespace pv
