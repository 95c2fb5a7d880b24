#include "link/answer.h"

#include <limits>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "link/commands.h"
#include "link/transaction.h"

namespace {
// The unit stands on the other side from the selected mode: select one of
// its side.
void vSideCorrection(MainOps& w) {
    if (w.f.m_lUnitPos == 2 && w.f.m_lModeIdx < 5) {
        w.imgMode_Click(5);
    } else if (w.f.m_lUnitPos == 1 && w.f.m_lModeIdx > 4) {
        w.imgMode_Click(0);
    }
}

// "s1", "s2", "s3": the unit's position at connection.
void vSensorPosition(MainOps& w, const std::string& sAnswer, int32_t& lHandled) {
    w.f.m_lUnitPos = lAnswerNumber(sAnswer);
    // The module initialisation takes the settings file and the program-file
    // flag only, so the side's mode is not handed on; the flag makes it load
    // the sensor's program file again.
    w.f.m_lLoadFpgaFileFlg = 1;
    if (w.l_SensMduInitProc() != 0) {
        vRunEndsOnFailure();
        w.vUnload();  // the initialisation has shown its own message
        lHandled = 0;
        return;
    }
    w.vSetStat(1);
    if (!booSendOrClose("c1")) lHandled = 0;
}

// "r1", "m1", "h1", "p1": the position the unit has confirmed.
void vConfirmedPosition(MainOps& w, const std::string& sAnswer, int32_t& lHandled) {
    tMainFields& f = w.f;
    if (sAnswer == "r1" && App.g_lStat == 19) {
        // The unit is back after a service move stopped: ready again.
        if (App.g_lHalfMode == 1) w.vSetStat(5);
        else if (App.g_lPackageMode == 1) w.vSetStat(6);
    } else {
        if (sAnswer == "r1") {
            if (f.m_lUnitPos == 2) {
                App.g_lMoveKind = 1;
                f.m_booSideMoved = true;
                w.imgMode_Click(5);
            } else {
                if (f.m_lModeIdx > 4) w.imgMode_Click(0);
                App.g_lMoveKind = 1;
            }
        } else if (sAnswer == "m1") {
            if (f.m_lUnitPos == 1) {
                App.g_lMoveKind = 2;
                f.m_booSideMoved = true;
                w.imgMode_Click(0);
            } else {
                if (f.m_lModeIdx < 5) w.imgMode_Click(5);
                App.g_lMoveKind = 2;
            }
        } else {
            App.g_lMoveKind = sAnswer == "h1" ? 3 : 4;
        }

        if (f.m_booSkipT1) {
            f.m_booSkipT1 = false;
        } else if (sAnswer == "h1" || sAnswer == "p1") {
            w.vSetStat(0);
        } else {
            // The tube may still be cooling: ask how long before READY.
            f.m_lCoolTime = -1;
            int32_t lResult = 0;
            lSendCommand(w, "T1", lResult, true);
            w.vSetStat(21);
            if (lResult != 0) {
                vShowErrMsg(w.hWnd(), lResult, sGetResText(11458));
                vRunEndsOnFailure();
                w.vUnload();
                lHandled = 0;
                return;
            }
        }
    }
    w.vDispMode();
    if (f.m_booAutoStart) {
        w.cmdStart_Click();  // READY was pressed: now it starts the exposure
        f.m_booAutoStart = false;
    }
}

// "d0": the unit ended READY or the exposure.
void vReadyEnded(MainOps& w, int32_t& lHandled) {
    w.vSetStat(8);
    w.vSetReadyButton(0);
    if (!booSendOrClose("d0")) {
        lHandled = 0;
        return;
    }
    if (App.g_lPictNo > 0) {
        // Images were taken before the end: the operator may still have them.
        if (lMsgYesNo(w.hWnd(), sGetResText(10417)) == 6) {
            App.g_tExposure.booInterrupted = true;
            w.vSetStat(12);
            if (App.g_lStat == 12 && w.l_GetImageProc(w.f.m_sWorkPath) != 0) vRunEndsOnFailure();
        } else {
            vRunEnds(kEndNoToInterrupted);
        }
        App.g_lPictNo = 0;
        w.vUnload();
        lHandled = 0;
        return;
    }
    w.vSetStat(1);
    if (!booSendOrClose("c1")) lHandled = 0;
}
}  // namespace

int32_t lAnswerNumber(const std::string& sAnswer) {
    int64_t lValue = 0;
    for (size_t i = 1; i < sAnswer.size(); ++i) {
        const char ch = sAnswer[i];
        if (ch < '0' || ch > '9') break;
        // A report is never this long; saturate rather than overflow.
        if (lValue <= std::numeric_limits<int32_t>::max())
            lValue = lValue * 10 + (ch - '0');
    }
    if (lValue > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(lValue);
}

void vParseAnswer(const std::string& sAnswer, int32_t& lHandled) {
    MainOps& w = mainWindow();
    tMainFields& f = w.f;
    f.m_sAnswer = sAnswer;
    lHandled = 1;
    const char c0 = sAnswer.empty() ? '\0' : sAnswer[0];

    if (c0 == 'e') {
        f.m_lErrNo = lAnswerNumber(sAnswer);
        w.vSetStat(9);
    } else if (c0 == 'T') {
        f.m_lCoolTime = lAnswerNumber(sAnswer);
        w.vSetStat(f.m_lCoolTime == 0 ? 0 : 21);
    } else if (sAnswer == "s0") {
        vShowErrMsg(w.hWnd(), 0, sGetResText(11496));
        vRunEndsOnFailure();
        w.vUnload();
        lHandled = 0;
    } else if (sAnswer == "s1" || sAnswer == "s2" || sAnswer == "s3") {
        vSensorPosition(w, sAnswer, lHandled);
    } else if (sAnswer == "r0") {
        if (App.g_lStat == 9) {
            w.vSetStat(100);
        } else if (App.g_lStat == 16) {
            w.vSetStat(17);
        } else {
            if (f.m_booAutoStart) {
                f.m_booAutoStart = false;
                App.g_lMoveKind = 0;
            }
            w.vSetStat(0);
            vSideCorrection(w);
            w.vDispMode();
        }
    } else if (sAnswer == "m0") {
        w.vSetStat(0);
        vSideCorrection(w);
        w.vDispMode();
    } else if (sAnswer == "r1" || sAnswer == "m1" || sAnswer == "h1" || sAnswer == "p1") {
        vConfirmedPosition(w, sAnswer, lHandled);
    } else if (sAnswer == "d1") {
        f.m_booTransfer = false;
        if (App.g_lStat == 15) {
            w.vSetStat(16);
            w.vSetReadyButton(2);
        } else if (App.g_lStat == 3) {
            App.g_lMoveKind = 1;
            w.vSetStat(0);
            w.vSetReadyButton(0);
        } else {
            (void)w.l_CheckPictProc(true);  // arms the capture watch
            w.vSetStat(10);
            w.vSetReadyButton(2);
            f.m_lXWaitFlag = 0;
        }
    } else if (sAnswer == "S1") {
        // Nothing to do.
    } else if (sAnswer == "E1") {
        f.m_booTransfer = true;  // state 11 now reads as the data transfer
        w.vShowStat();
    } else if (sAnswer == "X0") {
        // Nothing to do.
    } else if (sAnswer == "X1") {
        f.m_lXWaitFlag = 1;  // the X-ray wait watchdog starts
    } else if (sAnswer == "d0") {
        vReadyEnded(w, lHandled);
    } else if (sAnswer == "z1") {
        w.vSetStat(17);
    } else {
        w.vSetStatText(sGetResText(11461));
    }
}
