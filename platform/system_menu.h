#pragma once

class QWidget;

namespace platform {
// Removes the close control of a window: no close button, and close
// requests from the window manager are refused.
void vRemoveCloseItem(QWidget* window);
}  // namespace platform
