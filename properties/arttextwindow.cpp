#include "properties/arttextwindow.h"

#include "platform/stringtable.h"
#include "properties/popupeditor.h"
#include "render/libraries.h"

#include <QPainter>

#include <algorithm>

namespace pv {

namespace {
constexpr std::int32_t Long(int r, int g, int b) { return static_cast<std::int32_t>(Rgb(r, g, b)); }
constexpr std::int32_t kBlack = Long(0, 0, 0);
constexpr std::int32_t kWhite = Long(255, 255, 255);

constexpr std::array<ArtTextStyle, ArtTextStyleCount + 1> kStyles = {{
    {0, 0, 0, 0},
    {35, 0, Long(255, 0, 0), kWhite},
    {1, 0, Long(155, 155, 255), Long(155, 155, 255)},
    {75, 0, kBlack, kWhite},
    {140, 1, kBlack, kWhite},
    {140, 2, Long(255, 255, 0), kWhite},
    {65, 3, kBlack, kWhite},
    {66, 4, kBlack, kWhite},
    {140, 5, Long(255, 0, 255), Long(255, 0, 255)},
    {67, 6, kBlack, kWhite},
    {140, 7, kBlack, kWhite},
    {140, 8, Long(255, 0, 0), kWhite},
    {58, 9, kBlack, kWhite},
    {75, 10, kBlack, kWhite},
    {44, 11, kBlack, kWhite},
    {45, 12, kBlack, kWhite},
    {63, 13, kBlack, kWhite},
    {9, 14, kBlack, kWhite},
    {34, 0, kBlack, kWhite},
    {45, 7, kBlack, kWhite},
    {15, 8, kBlack, kWhite},
}};

// One GDI line from p1 up to, not including, p2 (horizontal or vertical).
void GdiLine(QPainter& p, int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 != y2) {
    p.fillRect(QRect(QPoint(x1, std::min(y1, y2 + 1)), QPoint(x1, std::max(y1, y2 - 1))), Qt::black);
  } else if (y1 == y2 && x1 != x2) {
    p.fillRect(QRect(QPoint(std::min(x1, x2 + 1), y1), QPoint(std::max(x1, x2 - 1), y1)), Qt::black);
  }
}
}  // namespace

const ArtTextStyle& ArtTextStyleOf(int entry) {
  return kStyles[static_cast<std::size_t>(std::clamp(entry, 0, ArtTextStyleCount))];
}

int ArtTextStartFont(const QStringList& fonts) {
  int found = -1;
  for (int i = 0; i < fonts.size(); ++i) {
    if (fonts[i].trimmed().toUpper() == QLatin1String("ARIAL")) found = i;
  }
  if (found >= 0) return found;
  return fonts.isEmpty() ? -1 : 0;
}

ArtTextWindowModel::ArtTextWindowModel() : m_grid(ImageGridVariant::ImageList, this) {
  m_grid.pSelectMode = true;
  m_grid.BitmapX = 200;
  m_grid.BitmapY = 60;
  m_grid.SpaceX = 4;
  m_grid.SpaceY = 4;
  m_grid.nBitmap = ArtTextStyleCount;
}

void ArtTextWindowModel::Load(const QStringList& fonts) {
  Fonts = fonts;
  FontEntry = ArtTextStartFont(fonts);
}

void ArtTextWindowModel::ChooseFont(int entry) {
  if (entry >= 0 && entry < Fonts.size()) FontEntry = entry;
}

void ArtTextWindowModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2,
                                    std::int16_t Y2, ImageSurface& Pic) {
  RenderLibraries& lib = Libraries();
  const ArtTextStyle& s = ArtTextStyleOf(Index);
  // Every preview in the same face, whatever font is chosen.
  static const QByteArray face = QByteArrayLiteral("ARIAL");
  const QByteArray sample = LoadResString(15060).trimmed().toUtf8();
  const Rect rect{X1, Y1, X2, Y2};
  lib.LineoArtTextDraw(Pic.dc(), sample.constData(), face.constData(), &rect, 0.0, s.shape, s.fill,
                       static_cast<Colour>(s.colour1), static_cast<Colour>(s.colour2), 0);
  lib.LineoPen(Pic.dc(), 2, Rgb(0, 0, 0));
  if (QPainter* p = Pic.painter()) {
    p->save();
    GdiLine(*p, X1 - 1, Y1 - 1, X1 - 1, Y2);
    GdiLine(*p, X2, Y1 - 1, X2, Y2);
    GdiLine(*p, X1 - 1, Y1 - 1, X2, Y1 - 1);
    GdiLine(*p, X1 - 1, Y2, X2, Y2);
    p->restore();
  }
}

void ArtTextWindowModel::ClickImage(std::int16_t Index) {
  if (Index >= 1 && Index <= ArtTextStyleCount) CurrentStyle = Index;
}

void ArtTextWindowModel::Command1_Click() {
  PopUpEditor& editor = PopUpEditorHost();
  // One undo step, as the other windows take; the style's values only after
  // a style was chosen (entry 0 would strip the art text's fill and colours).
  editor.SavedDoc();
  const QString font = FontEntry >= 0 ? Fonts[FontEntry] : QString();
  if (CurrentStyle == 0) {
    editor.Apply(601, QVariant(font), 0, true);
    return;
  }
  const ArtTextStyle& s = ArtTextStyleOf(CurrentStyle);
  editor.Apply(601, QVariant(font), 0, false);
  editor.Apply(602, QVariant(s.shape), 0, false);
  editor.Apply(603, QVariant(s.fill), 0, false);
  editor.Apply(604, QVariant(s.colour1), 0, false);
  editor.Apply(605, QVariant(s.colour2), 0, true);
}

}  // namespace pv
