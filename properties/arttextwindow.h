#pragma once
// The art-text window's model (popArtText): a font list and twenty
// ready-made styles (a fill, an art-text shape and two colours) shown as
// live previews; "Applica" sends the font and, once a style was clicked, the
// style's four values. The editor never fills it.
#include "render/imagegrid.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace pv {

struct ArtTextStyle {
  std::int32_t fill;
  std::int32_t shape;
  std::int32_t colour1;
  std::int32_t colour2;
};
// Entries 0 (all zeros) to 20.
inline constexpr int ArtTextStyleCount = 20;
const ArtTextStyle& ArtTextStyleOf(int entry);

// The font a font list starts on: the last entry whose name, trimmed and
// upper-cased, is "ARIAL"; else the first; -1 for an empty list.
int ArtTextStartFont(const QStringList& fonts);

class ArtTextWindowModel : public ImageGridHost {
 public:
  ArtTextWindowModel();
  ImageGridCore& Grid() { return m_grid; }

  void Load(const QStringList& fonts);
  void ChooseFont(int entry);

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;

  // "Applica": SavedDoc; 601 with the font; 602-605 with the style once one
  // was clicked; the last call refreshes.
  void Command1_Click();

  QStringList Fonts;
  int FontEntry = -1;
  int CurrentStyle = 0;  // 0 until a cell is clicked

 private:
  ImageGridCore m_grid;
};

}  // namespace pv
