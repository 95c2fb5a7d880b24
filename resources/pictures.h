// The picture resources compiled into the program, by number. Each number
// is held as a bitmap, an icon or a cursor, drawn for ordinary screens and
// again with twice the pixels for screens of device pixel ratio 2.
#pragma once
#include <QIcon>
#include <QPixmap>
#include <cstdint>

enum class ePictureKind { Bitmap, Icon, Cursor };

// The resource picture of that kind and number; a null pixmap when the
// program holds none. For a device pixel ratio above 1 it is the drawing
// with twice the pixels, marked with ratio 2, so that it shows at the same
// size, sharper.
QPixmap pResourcePicture(ePictureKind kind, int32_t lNo, qreal dDevicePixelRatio = 1.0);

// The program's window icon, in the sizes a window's frame and the task
// bar show (up to 64 pixels; the desktop's larger ones come from the icon
// theme).
QIcon iconProgram();
