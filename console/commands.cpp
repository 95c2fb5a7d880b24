// The operator's command buttons, the service keys and the end of the
// window: READY (two runs), RESET, Close, Test Mode, Ctrl+Alt keys, unload.
#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "console/frm_main.h"
#include "link/commands.h"
#include "link/transaction.h"
#include "platform/message_box.h"
#include "sensor/sensor_steps.h"

void frmMain::cmdStart_Click() {
    if (App.g_booInRecv || App.g_lDefMode == -1) return;
    if (!f.m_booAutoStart) {
        // First run: ask the unit where it stands; its position report runs
        // READY again (the answer interpretation), which starts the exposure.
        f.m_booAutoStart = true;
        int32_t r = 0;
        lSendCommand(*this, "c1", r, true);
        if (r != 0) {
            vShowErrMsg(hWnd(), r, sGetResText(11458));
            vRunEndsOnFailure();
            vUnload();
        }
        return;
    }
    vClickSound();
    FrameMode->setEnabled(false);  // no mode change while the exposure starts
    vStartExposure();
    if (booTimerEnabled()) FrameMode->setEnabled(true);
}

void frmMain::cmdStart_Pressed() {
    if (App.g_booInRecv || App.g_lDefMode == -1) return;
    // The unit's X-ray is real, the image would not be: nobody may be in
    // the unit. No sends nothing.
    if (App.g_booRealUnitSimSensor && lMsgYesNo(hWnd(), sGetResText(11561)) != platform::IDYES) return;
    cmdStart_Click();
}

void frmMain::cmdReset_Click() {
    if (App.g_booInRecv) return;
    vClickSound();
    vResetProc();
}

void frmMain::cmdClose_Click() {
    vTimerEnabled(false);
    if (App.g_lPictNo > 0) {
        // Images were taken but not yet read: the operator may keep them.
        if (lMsgYesNo(hWnd(), sGetResText(10417)) == 6) {
            App.g_tExposure.booInterrupted = true;
            vSetStat(12);
            if (l_GetImageProc(f.m_sWorkPath) != 0) vRunEndsOnFailure();
        } else {
            vRunEnds(kEndNoToInterrupted);
        }
        App.g_lPictNo = 0;
    }
    vRunEnds(kEndClosed);
    vUnload();
}

void frmMain::cmdDebug_Click() {
    vClickSound();
    vRunTestDialog(*this);
}

void frmMain::Form_KeyDown(int KeyCode, int Shift) {
    // The service keys need Ctrl and Alt held together.
    if ((Shift & ui::vbCtrlMask) != 0 && (Shift & ui::vbAltMask) != 0) vServiceKey(KeyCode);
}

void frmMain::Form_Unload() {
    m_booUnloaded = true;
    vTimerEnabled(false);
    vDoEvents();

    // Only the bitmap outlives the run.
    vRemoveWorkFolder(f.m_sWorkPath);

    // While the image is processed the library is busy with it: leave it.
    if (f.m_BooLoad == -1 && App.g_lStat != 13) vLinkClose();

    vCloseInitWindow();
    vSetBusyPointer(false);
}
