#pragma once
// The pointer images of the canvas, drawn in code: 32 x 32 two-colour
// pictures (black, white and transparent) with their hotspots. The drawing
// tools' pointers are a thin crosshair centred on the hotspot with a small
// picture of the object kind below and to the right of it.
#include <QImage>
#include <QPoint>

#include <cstdint>

namespace pv {

inline constexpr int CursorHand = 1001;           // pointing hand, the surface's first pointer
inline constexpr int CursorRotation = 1002;       // curved arrow over a rotation handle
inline constexpr int CursorDrawLine = 1003;       // kind 104
inline constexpr int CursorDrawText = 1004;       // kinds 100 and 101
inline constexpr int CursorDrawImage = 1005;      // kind 102
inline constexpr int CursorDrawEllipse = 1006;    // kind 106
inline constexpr int CursorDrawRectangle = 1007;  // kind 105
inline constexpr int CursorDrawShape = 1008;      // every other kind: art text, generic shapes
inline constexpr int CursorDrawRounded = 1009;    // kinds 107 and 108
inline constexpr int CursorDrawBarcode = 1010;    // kind 300

struct CursorPicture {
  QImage image;  // 32 x 32, ARGB32; null for an unknown number
  QPoint hotspot;
};

// The picture of cursor id (1001-1010), drawn once and kept.
const CursorPicture& CursorResource(int id);
// The drawing tools' pointer for an object kind.
int CursorForKind(std::int16_t userType);

}  // namespace pv
