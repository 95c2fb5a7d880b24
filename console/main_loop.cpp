// The console's main loop: the first activation that connects to the unit
// (once the window is first shown or activated), the 10 ms polling tick
// (cooling-time request, receive, answers, capture watch, X-ray wait
// watchdog, reconnection), the console state and the click sound.
#include <QShowEvent>
#include <cmath>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "app/service_log.h"
#include "console/frm_main.h"
#include "link/answer.h"
#include "link/scanner.h"
#include "link/transaction.h"
#include "platform/file_find.h"
#include "platform/play_sound.h"
#include "platform/tick_clock.h"
#include "sensor/zyr_lib.h"

namespace {
constexpr int32_t POLL_INTERVAL_MS = 10;
constexpr int32_t T1_EVERY_TICKS = 100;  // a request goes out on the 101st tick

// Whole seconds of a count of milliseconds (halves to the even second), as
// the bar takes them.
int16_t iSecondsOf(uint32_t ulMs) {
    return iToBarValue(static_cast<int64_t>(std::nearbyint(ulMs / 1000.0)));
}
}  // namespace

void frmMain::Form_Activate() {
    if (f.m_booActivated) return;
    f.m_booActivated = true;

    voi_btEnabledSet(false);
    vMsgInfo(hWnd(), sGetResText(11459));
    spnlStat->setCaption(sGetResText(11462));
    Refresh();

    int32_t r = 0;
    uint32_t ulStart = 0;
    for (;;) {
        vDoEvents();
        r = lLinkOpen();
        if (r == 0) r = zyr().ResetAll();
        if (r == 0) {
            vSetStat(1);
            lSendCommand(*this, "c1", r, true);
            if (r == 0) break;  // connected
        }
        if (!m_frmInit) {
            ulStart = platform::GetTickCount();
            vShowInitWindow(App.g_lInitRetryTimeBoot);
        }
        // The elapsed time is read once: the full bar's pause must not
        // count towards this attempt.
        const uint32_t ulElapsed = platform::GetTickCount() - ulStart;
        vUpdateInitWindow(ulElapsed);
        if (static_cast<int64_t>(App.g_lInitRetryTimeBoot) * 1000 < static_cast<int64_t>(ulElapsed)) break;
        zyr().SetDeviceFree();
    }
    vCloseInitWindow();

    if (r != 0) {
        vTimerEnabled(false);
        vShowInitErr(hWnd(), r);
        vRunEndsOnFailure();
        vUnload();
        return;
    }
    tmStart->setInterval(POLL_INTERVAL_MS);
    vTimerEnabled(true);
}

void frmMain::showEvent(QShowEvent* e) {
    ui::Form::showEvent(e);
    if (f.m_booActivated) return;
    // After the event, as for an activation: the window is on screen before
    // the power-on box. Whichever comes first runs it; the other finds it done.
    QMetaObject::invokeMethod(
        this, [this] {
            if (isVisible()) Form_Activate();
        },
        Qt::QueuedConnection);
}

void frmMain::vShowInitWindow(int32_t lRetrySeconds) {
    m_frmInit = std::make_unique<frmInitializing>(this);
    m_frmInit->Load();
    m_frmInit->InitProgBar(0, iToBarValue(lRetrySeconds));
    m_frmInit->Show(false);
    spnlStat->setCaption("");
}

void frmMain::vUpdateInitWindow(uint32_t ulElapsedMs) {
    if (m_frmInit) m_frmInit->UpdateProgBar(iSecondsOf(ulElapsedMs));
}

void frmMain::vCloseInitWindow() {
    if (!m_frmInit) return;
    // Forget the window first: its unload may let events run.
    std::unique_ptr<frmInitializing> p = std::move(m_frmInit);
    p->Unload(ui::vbFormCode);
}

void frmMain::tmStart_Timer() {
    // One tick at a time, even when a step inside lets window events run.
    if (m_booInTick || m_booUnloaded) return;
    m_booInTick = true;
    vTimerEnabled(false);
    f.m_sAnswer.clear();

    // The unit counts the cooling time down; ask it again now and then.
    tPollCounters& p = f.m_tPoll;
    if (App.g_lStat == 21 && f.m_lCoolTime > 0) {
        if (p.lT1Count < T1_EVERY_TICKS) {
            ++p.lT1Count;
        } else {
            int32_t r = 0;
            lSendCommand(*this, "T1", r, true);
            vSetStat(21);
            p.lT1Count = 0;
        }
    } else {
        p.lT1Count = 0;
    }

    if (!App.g_booLinkErr) vRecvProc();
    bool booGoOn = true;
    if (!App.g_booLinkErr) booGoOn = booPollTick();
    if (booGoOn && App.g_booLinkErr && !m_booUnloaded) vReconnectTick();
    m_booInTick = false;
}

// Step 4 of the tick, with a working link. False when the run ended.
bool frmMain::booPollTick() {
    const std::string sAnswer = sGetAnswer();
    if (sAnswer.empty() && (App.g_lStat == 10 || App.g_lStat == 11)) {
        const int32_t r = l_CheckPictProc(false);
        if (r != 0 || App.g_lStat == 12) {
            // The exposure is over, with or without its image.
            const bool booImage = App.g_lStat == 12 && l_GetImageProc(f.m_sWorkPath) == 0;
            if (!booImage) vRunEndsOnFailure();
            App.g_lPictNo = 0;
            vUnload();
            return false;
        }
        return booWatchXWait();
    }
    if (!sAnswer.empty()) {
        int32_t lHandled = 0;
        vParseAnswer(sAnswer, lHandled);
        if (lHandled == 1) vTimerEnabled(true);
        return lHandled == 1;
    }
    vTimerEnabled(true);
    return true;
}

// The X-ray wait watchdog: after "X1" the unit must start the X-ray within
// WaitTime ms, else the exposure is stopped. False when it fired.
bool frmMain::booWatchXWait() {
    tPollCounters& p = f.m_tPoll;
    if (f.m_lXWaitFlag != 1) {
        vTimerEnabled(true);
        return true;
    }
    if (App.g_lStat != 10) {
        f.m_lXWaitFlag = 0;
        p.booXWaitArmed = false;
        p.lXWaitStart = 0;
        vTimerEnabled(true);
        return true;
    }
    const uint32_t ulNow = platform::GetTickCount();
    if (!p.booXWaitArmed) {
        p.booXWaitArmed = true;
        p.lXWaitStart = static_cast<int32_t>(ulNow);
    }
    if (ulNow < static_cast<uint32_t>(p.lXWaitStart)) p.lXWaitStart = static_cast<int32_t>(ulNow);
    const uint32_t ulElapsed = ulNow - static_cast<uint32_t>(p.lXWaitStart);
    if (static_cast<int64_t>(ulElapsed) <= static_cast<int64_t>(App.g_lWaitTime)) {
        vTimerEnabled(true);
        return true;
    }
    f.m_lXWaitFlag = 0;
    int32_t r = 0;
    lSendCommand(*this, "x0", r, true);
    vMsgInfo(hWnd(), sGetResText(11403));
    vRunEnds(sFirstLine(sGetResText(11403)));
    App.g_lPictNo = 0;
    vUnload();
    return false;
}

// Step 5 of the tick: the link was lost; each tick is one attempt to get it
// back, for at most InitRetryTime_Timer seconds.
void frmMain::vReconnectTick() {
    tPollCounters& p = f.m_tPoll;
    if (!p.booReconnect) {
        vSetReadyButton(0);
        voi_btEnabledSet(false);
        cmdClose->setEnabled(true);
        spnlStat->setCaption(sGetResText(11462));
        Refresh();
        p.booReconnect = true;
        vShowInitWindow(App.g_lInitRetryTimeTimer);
        p.lReconStart = static_cast<int32_t>(platform::GetTickCount());
    }

    zyr().SetDeviceFree();
    int32_t r = lLinkOpen();
    if (r == 0) r = zyr().ResetAll();
    if (r == 0) {
        f.m_lLoadFpgaFileFlg = 1;
        vSetStat(1);
        lSendCommand(*this, "c1", r, true);
    }
    if (r == 0) {
        vCloseInitWindow();
        App.g_booLinkErr = false;
        p.booReconnect = false;
        vTimerEnabled(true);
        return;
    }

    p.lNow = static_cast<int32_t>(platform::GetTickCount());
    const uint32_t ulElapsed = static_cast<uint32_t>(p.lNow) - static_cast<uint32_t>(p.lReconStart);
    vUpdateInitWindow(ulElapsed);
    if (static_cast<int64_t>(App.g_lInitRetryTimeTimer) * 1000 >= static_cast<int64_t>(ulElapsed)) {
        vTimerEnabled(true);
        return;
    }
    vTimerEnabled(false);
    vCloseInitWindow();
    vShowInitErr(hWnd(), r);
    vRunEndsOnFailure();
    vUnload();
}

void frmMain::vSetStat(int32_t lStat) {
    if (lStat != App.g_lStat) service_log::vState(App.g_lStat, lStat);
    App.g_lStat = lStat;
    switch (lStat) {
    case 1: case 3: case 4: case 5: case 6: case 100: case 101:
        App.g_lMoveKind = 0;  // the unit is on its way: no confirmed position
        break;
    default:
        break;
    }
    vCtrlEnabledByStat();
    vShowStat();
}

void frmMain::vClickSound() {
    const std::string& sFile = App.g_sClickSound;
    if (sFile.empty() || !platform::FileExists(sFile)) return;
    platform::PlaySoundFileAsync(sFile.c_str());
}
