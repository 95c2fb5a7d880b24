// The picture resources compiled into the program, by number. Each number
// is held as a bitmap, an icon or a cursor.
#pragma once
#include <QPixmap>
#include <cstdint>

enum class ePictureKind { Bitmap, Icon, Cursor };

// The resource picture of that kind and number; a null pixmap when the
// program holds none.
QPixmap pResourcePicture(ePictureKind kind, int32_t lNo);
