#pragma once
// The program's own graphics: clip-art drawings by category, label
// backgrounds and border frames. Each design draws itself; the generator
// writes them into the program folder.
#include "properties/artwork/emfwriter.h"

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace pv::artwork {

// Clip-art draw in a 1000 x 1000 space.
inline constexpr int kClipSize = 1000;
struct ClipDesign {
  int category;      // the clip folder number, 1-10
  const char* name;  // file name without extension
  std::function<void(EmfWriter&)> draw;
};
const std::vector<ClipDesign>& ClipArtDesigns();

// Borders draw a frame in a kBorderWidth x kBorderHeight space.
inline constexpr int kBorderWidth = 1000;
inline constexpr int kBorderHeight = 700;
struct BorderDesign {
  const char* name;
  std::function<void(EmfWriter&)> draw;
};
const std::vector<BorderDesign>& BorderDesigns();

// Backgrounds: a light picture of the given size.
struct BackgroundDesign {
  const char* name;
  std::function<QImage(int width, int height)> paint;
};
const std::vector<BackgroundDesign>& BackgroundDesigns();

// Writes every graphic below programFolder (clipart/clipN, graphics/border,
// graphics/background); the number of files that could not be written.
int WriteProgramGraphics(const QString& programFolder);

}  // namespace pv::artwork
