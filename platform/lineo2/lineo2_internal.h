#pragma once
// Inside of Lineo2: the outlines of its figures in a frame-local box.

#include <QPainterPath>
#include <QString>

namespace pv::lineo {

// Generic shape 0-13 fitted to the box (0, 0, w, h); aspect as the caller
// gave it (steps of 1 to 10, see lineo2.h). An unknown shape gives an empty path.
QPainterPath GenericShape(int shape, double w, double h, double aspect);

// The text laid along art-text envelope 0-14 into the box (0, 0, w, h).
QPainterPath ArtTextPath(const QString& text, const QString& face, int shape, double w, double h);

}  // namespace pv::lineo
