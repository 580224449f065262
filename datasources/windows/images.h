#pragma once
// The pictures of the data-source windows, drawn here: the manager's six
// command buttons and the field picker's two tree images.

#include <QPixmap>

namespace pv {

// The command buttons of the manager: 0 New, 1 Edit, 2 Delete, 3 View,
// 4 Sort, 5 Filter.
QPixmap DataSourceCommandPicture(int index, int size = 32);
// The field tree: 1 a group (a registration or the predefined fields),
// 2 a field.
QPixmap FieldTreePicture(int image, int size = 16);

}  // namespace pv
