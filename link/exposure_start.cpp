// READY, second stage: the unit has confirmed its position.
#include <chrono>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "link/commands.h"

namespace {
bool booServiceMoveMode() { return App.g_lHalfMode == 1 || App.g_lPackageMode == 1; }

// The exposure record and the image object tell what the exposure command
// asked for and when it went out; the second half of a four-image exposure
// goes on with the first.
void vNoteExposureStart(const MainOps& w) {
    if (App.g_lPictHalf != 0) return;
    const int32_t lMode = w.f.m_lModeIdx;
    const int32_t lGroup = lMode >= 0 && lMode <= 2 ? lMode : 0;
    tExposureNote& e = App.g_tExposure;
    e = tExposureNote{};
    e.llStartMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
    e.lModeIdx = lMode;
    e.lVolt = App.g_lVolt;
    e.lElec = App.g_lElec;
    e.lSize = App.g_tModeCond[lGroup].lSelect;
}
}  // namespace

void vStartExposure() {
    MainOps& w = mainWindow();
    if (booServiceMoveMode()) {
        // Half and package modes only move the unit: no sensor, no X-ray.
        if (!booSendOrClose("d1")) return;
        w.vSetStat(15);
        w.vSetReadyButton(2);
        return;
    }

    const std::string sCmd = sExposureCommand(w.f.m_lModeIdx);
    if (sCmd.empty()) {
        // The cephalometric side has no exposure on this console: READY is
        // refused before the sensor or the unit hear of it.
        w.vSetStatText(sGetResText(TEXT_NO_EXPOSURE));
        return;
    }
    App.g_sFilmName = "NP_" + sModeCode(w.f.m_lModeIdx);

    w.vSetStat(7);
    w.vSetBusyPointer(true);
    w.vTimerEnabled(false);
    w.vSetReadyButton(1);
    // The second half of a four-image exposure goes on with the sensor as
    // it was prepared for the first.
    if (App.g_lPictHalf == 0) {
        w.vDoEvents();
        if (w.l_SenceProc1() != 0) {
            // The preparation has told the operator why.
            w.vTimerEnabled(false);
            vRunEndsOnFailure();
            w.vUnload();
            return;
        }
    }
    w.vTimerEnabled(true);
    w.vSetBusyPointer(false);

    vNoteExposureStart(w);
    if (!booSendOrClose(sCmd)) return;
    if (booServiceMoveMode()) {
        // A service mode was switched on while the events ran: the capture
        // watch starts at once instead of on the unit's "d1".
        w.vSetStat(10);
        w.vSetReadyButton(2);
        const int32_t lRet = w.l_CheckPictProc(true);
        if (lRet != 0) {
            vShowErrMsg(w.hWnd(), lRet, sGetResText(11458));
            vRunEndsOnFailure();
            w.vUnload();
        }
    } else {
        w.vSetStat(7);
    }
}
