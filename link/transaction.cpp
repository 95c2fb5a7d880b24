#include "link/transaction.h"

#include "app/app_state.h"
#include "app/service_log.h"
#include "app/settings.h"
#include "link/frames.h"
#include "link/scanner.h"
#include "platform/tick_clock.h"
#include "sensor/zyr_lib.h"

namespace {
// The tick count as the link record holds it, and the milliseconds since a
// recorded tick; a counter that wrapped since then restarts the wait.
bool booWaitedLongerThan(int32_t& lSince, uint32_t ulMs) {
    const uint32_t ulNow = platform::GetTickCount();
    if (ulNow < static_cast<uint32_t>(lSince)) lSince = static_cast<int32_t>(ulNow);
    return ulNow - static_cast<uint32_t>(lSince) > ulMs;
}

// What the unit sent instead of its ACK, for the service log: a NAK, or the
// text of a report frame (STX, text, blank, checksum, ETX).
void vLogMissingAck(const std::string& sCmd, const std::string& sAnswer) {
    if (sAnswer.size() == 1 && sAnswer[0] == NAK) {
        service_log::vNak(sCmd);
    } else {
        std::string sText = sAnswer.size() > 4 ? sAnswer.substr(1, sAnswer.size() - 4) : sAnswer;
        sText.erase(sText.find_last_not_of(' ') + 1);
        service_log::vNoAck(sCmd, sText);
    }
}
}  // namespace

int32_t lCommPoll(const std::string& sCmd, int32_t& lSendResult) {
    tLinkRecord& t = App.g_tLink;
    lSendResult = 0;
    bool booSendDue = false;
    if (!sCmd.empty()) {
        t.sCmd = sCmd;
        t.lSendCnt = 0;
        booSendDue = true;
    } else if (t.sCmd.empty()) {
        return COMM_IDLE;
    } else if (!App.g_sLinkAnswer.empty()) {
        if (App.g_sLinkAnswer.size() == 1 && App.g_sLinkAnswer[0] == ACK) {
            t.sCmd.clear();
            return COMM_ACKED;
        }
        // A NAK, or a report the unit sent before its ACK: both count as a
        // missing ACK, and the report is lost with the resend.
        vLogMissingAck(t.sCmd, App.g_sLinkAnswer);
        booSendDue = true;
    } else {
        booSendDue = booWaitedLongerThan(t.lSendTick, ACK_WAIT_MS);
    }

    if (booSendDue) {
        if (t.lSendCnt > MAX_SENDS - 1) {
            service_log::vGaveUp(t.sCmd, t.lSendCnt, COMM_GIVEN_UP + FAILED_STATUS_OFFSET);
            t.sCmd.clear();
            return COMM_GIVEN_UP;
        }
        if (t.lSendCnt > 0) {
            service_log::vResend(t.sCmd, t.lSendCnt + 1,
                                 platform::GetTickCount() - static_cast<uint32_t>(t.lSendTick));
        }
        App.g_sLinkAnswer.clear();
        lSendResult = lSendFrame(t.sCmd);
        if (lSendResult != 0) {
            // A failed first send ends with the library's status, a failed
            // resend with the transaction's own.
            service_log::vSendFailed(t.sCmd, t.lSendCnt + 1,
                                     t.lSendCnt == 0 ? lSendResult : COMM_RESEND_FAILED + FAILED_STATUS_OFFSET);
            t.sCmd.clear();
            return COMM_RESEND_FAILED;
        }
        ++t.lSendCnt;
        t.lSendTick = static_cast<int32_t>(platform::GetTickCount());
    }
    return COMM_WAITING;
}

void lSendCommand(BusyWindow& window, const std::string& sCmd, int32_t& lResult, bool booWait) {
    // Nothing else may talk to the unit while the transaction runs: the
    // polling timer stops and the calling window's controls lock.
    mainWindow().vTimerEnabled(false);
    window.voi_btEnabledSet(false);

    (void)lCommPoll(sCmd, lResult);
    if (lResult != 0) return;  // the caller reports it and closes

    lResult = 0;
    if (booWait) {
        // The wait does not let window events run: no tick and no click may
        // reach the link before the unit has acknowledged.
        int32_t lStatus = COMM_WAITING;
        for (;;) {
            vRecvProc();
            lStatus = lCommPoll("", lResult);
            if (lStatus != COMM_WAITING) break;
            platform::Sleep(WAIT_PASS_MS);
        }
        lResult = lStatus == COMM_ACKED ? 0 : lStatus + FAILED_STATUS_OFFSET;
    }

    // Only the pointer comes back; the controls return with the next state.
    mainWindow().vSetBusyPointer(false);
    mainWindow().vTimerEnabled(true);
}

int32_t lLinkOpen() {
    const std::string sIni = sSettingsPath();
    (void)zyr().Init(sIni.c_str(), 1);
    return zyr().SetCommInit();
}

void vLinkClose() {
    (void)zyr().ResetAll();
    (void)zyr().SetDeviceFree();
}
