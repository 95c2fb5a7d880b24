// Keys and shift state in the form the window's key handler takes: key
// codes of the platform (letters and digits are their upper-case ASCII
// codes) and shift bits 1 Shift, 2 Ctrl, 4 Alt.
#pragma once
#include <Qt>

class QKeyEvent;

namespace ui {

int lShiftOf(Qt::KeyboardModifiers mods);
int lKeyCodeOf(int qtKey);
int lKeyCodeOf(const QKeyEvent* e);

}  // namespace ui
