// Which operator controls may be used: by console state, and locked while a
// command transaction waits for the unit. Also the three looks of READY.
#include "app/app_state.h"
#include "console/ctrl_flags.h"
#include "console/frm_main.h"
#include "ui/color.h"
#include "ui/look.h"

namespace {
// READY lit while the exposure runs: it shows the unit is armed, but a
// press must not reach it.
constexpr int32_t READY_ARMED_COLOR = ui::RGB(75, 176, 161);

void vSetButton(ui::Control& c, bool booOn) {
    c.setEnabled(booOn);
    c.setBackColor(booOn ? lColorLight() : ui::vbButtonFace);
}
}  // namespace

void frmMain::vCtrlEnabledByStat() {
    tCtrlFlags t;
    if (!booCtrlFlagsForStat(App.g_lStat, App.g_lMoveKind, App.g_lTestMode, App.g_lPictHalf, t)) return;

    for (int i = 0; i < 2; ++i) {
        vSetButton(*cmdVoltUpDown[i], t.booControls);
        vSetButton(*cmdElecUpDown[i], t.booControls);
    }
    for (auto* p : cmdDefVolt) p->setEnabled(t.booControls);

    // The mode pictures of the side the unit stands on follow the state;
    // this window's three pictures all lie on the panoramic side.
    switch (f.m_lUnitPos) {
    case 0:
        for (auto* p : imgMode) p->setEnabled(false);
        break;
    case 1:
        for (int i = 0; i < NUM_MODES && i <= 4; ++i) imgMode[i]->setEnabled(t.booControls);
        break;
    case 2:
        for (int i = 5; i < NUM_MODES; ++i) imgMode[i]->setEnabled(t.booControls);
        break;
    default:
        for (auto* p : imgMode) p->setEnabled(t.booControls);
        break;
    }

    if (App.g_lStat == 10) {
        cmdStart->setEnabled(true);
        cmdStart->setBackColor(READY_ARMED_COLOR);
        Frame1->setEnabled(false);
    } else {
        vSetButton(*cmdStart, t.booReady);
    }
    cmdReset->setEnabled(t.booReset);
    cmdClose->setEnabled(t.booClose);
    Refresh();
}

void frmMain::voi_btEnabledSet(bool booEnabled) {
    if (booEnabled) {
        // The controls come back with the next state, not here.
        vSetBusyPointer(false);
        return;
    }
    vSetBusyPointer(true);
    for (int i = 0; i < 2; ++i) {
        vSetButton(*cmdVoltUpDown[i], false);
        vSetButton(*cmdElecUpDown[i], false);
    }
    for (auto* p : imgMode) p->setEnabled(false);
    if (Frame1->enabled()) vSetButton(*cmdStart, false);
    for (auto* p : cmdDefVolt) p->setEnabled(false);
    cmdReset->setEnabled(false);
    cmdClose->setEnabled(false);
    Refresh();
}

void frmMain::vSetReadyButton(int32_t lLook) {
    switch (lLook) {
    case 0:  // ready to be pressed
        cmdStart->setVisible(true);
        vSetPicture(*cmdStart, 12421);
        cmdStart->setOutline(false);
        vStartAnim(false);
        Frame1->setEnabled(true);
        break;
    case 1:  // preparing: the start clip plays in its place
        cmdStart->setVisible(false);
        vStartAnim(true);
        break;
    case 2:  // pressed down while the unit runs the exposure
        cmdStart->setVisible(true);
        vSetPicture(*cmdStart, 12422);
        cmdStart->setOutline(false);
        vStartAnim(false);
        Frame1->setEnabled(false);
        break;
    default:
        break;
    }
}
