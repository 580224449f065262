#pragma once
// The program's pictures, by resource number: the banner (2000), the lit
// view tabs (2001-2003), the editor toolbar's images (2100-2115), the About
// picture (5000); and, by name, the status icons and the Options pictures.
// Each is drawn from a vector picture at its design size.

#include <QPixmap>
#include <QSize>
#include <QString>

namespace pv {

inline constexpr int PicBanner = 2000;
inline constexpr int PicTabWizardLit = 2001;
inline constexpr int PicTabEditorLit = 2002;
inline constexpr int PicTabPrintLit = 2003;
inline constexpr int PicToolFirst = 2100;
inline constexpr int PicToolLast = 2115;
inline constexpr int PicAbout = 5000;

// The picture of a resource number at its design size (banner 1024 x 63,
// tabs 200 x 50, toolbar images 26 x 26, About 160 x 270); a null pixmap for
// a number the program has no picture for.
QPixmap ResPicture(int id);
// The design size of a resource number (an empty size when there is none).
QSize ResPictureSize(int id);

// A picture by its file name in the images folder ("status_size",
// "status_coord", "status_printer", "options", "options_calibration"), at
// its own size, or scaled to `size` when that is valid.
QPixmap NamedPicture(const QString& name, QSize size = QSize());

}  // namespace pv
