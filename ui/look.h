// The console's shared look: light teal windows, dark teal text, centred
// placement, button faces from the picture resources. Every operation
// passes silently over a property that a control does not have.
#pragma once
#include <QPixmap>
#include <cstdint>

namespace ui {
class Control;
class Form;
}  // namespace ui

// Light teal background of windows and most controls: RGB(178, 227, 221).
int32_t lColorLight();
// Dark teal text; also the background of the kV and mA value displays:
// RGB(15, 106, 97).
int32_t lColorDark();

// Centres the window on the screen.
void vCenterForm(ui::Form& frm);
// Takes away the window's close control: the operator cannot close it.
void vDelSysMenu(ui::Form& frm);
// The window and each qualifying control (last to first) get lColorLight
// as background / lColorDark as text colour.
void vSetBackColor(ui::Form& frm);
void vSetForeColor(ui::Form& frm);
bool booIsBackColorCtl(const ui::Control& ctl);
bool booIsForeColorCtl(const ui::Control& ctl);
// Selects the whole text of a text box, so typing replaces the value.
void vSelectAllText(ui::Control& txt);
// The picture of that number: the bitmap, icon or cursor resource, else the
// file of that decimal name in the current folder; a null pixmap when none.
QPixmap pLoadPicture(const int32_t& lNo);
// Gives the control the picture of that number, or clears it when none.
void vSetPicture(ui::Control& ctl, int32_t lNo);
// Makes every plain push button (not the 3-D ones) lSteps * 15 twips
// narrower and lower.
void vShrinkButtons(ui::Form& frm, int32_t lSteps);
