#pragma once

class QWidget;

namespace platform {
// Removes the close control of a window: no close button, and close
// requests from the window manager are refused. Those arrive as spontaneous
// close events and are ignored; the program's own close() sends a
// non-spontaneous one and still closes the window, so nothing has to be set
// before the console closes it.
void vRemoveCloseItem(QWidget* window);
}  // namespace platform
