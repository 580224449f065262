#pragma once
// The property windows' pictures by resource number: the style toggles
// (7000 bold, 7001 italic, 7002 underline, 7003 strike-out), the alignments
// (7004 left, 7005 centre, 7006 right, 7007 justified) and the text window's
// buttons (8000 cut, 8001 copy, 8002 paste, 8003 delete); drawn from vector
// pictures at 26 x 26.
#include <QIcon>
#include <QPixmap>

namespace pv {

// The picture, or a null pixmap for a number without one.
QPixmap PropertyPicture(int id);
QIcon PropertyIcon(int id);

}  // namespace pv
