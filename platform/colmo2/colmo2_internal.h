#pragma once
// Inside of Colmo2: texture tiles shared by the fill code.

#include <QImage>

namespace pv::colmo {

// 1-113; others taken modulo 113.
int NormalizedTexture(int texture);
// Side of a texture tile in device pixels for a resolution.
int TextureTileSize(int dpi);
// The seamless tile of a texture for a resolution (cached).
QImage TextureTile(int texture, int dpi);

}  // namespace pv::colmo
