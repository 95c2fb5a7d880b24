#include "dialogs/worklist_choice.h"

#include "app/messages.h"
#include "app/run_end.h"
#include "dialogs/frm_worklist.h"
#include "dialogs/worklist_texts.h"

namespace {
constexpr const char* kLineBreak = "\r\n";

// Asks until an answer comes or the operator stops; sWhy gets the last
// failure's reason when the operator stops.
bool booAskWithRetry(const WorklistAsk& ask, const std::string& sPeer, const std::string& sStation,
                     int iTimeoutSeconds, int32_t lCancelText, void* hOwner, tWorklistResult& r,
                     std::string& sWhy) {
    for (;;) {
        r = ask();
        if (r.eFailure == eWorklistFailure::None) return true;
        const std::string sMsg = sWorklistFailureText(r, sPeer, sStation, iTimeoutSeconds);
        if (!booMsgRetry(hOwner, sMsg + kLineBreak + sGetResText(lCancelText))) {
            sWhy = sWorklistFailureReason(r, sPeer);
            return false;
        }
    }
}
}  // namespace

int iChooseFromWorklist(const WorklistAsk& ask, const std::string& sPeer, const std::string& sStation,
                        int iTimeoutSeconds, tPatientKeys& out) {
    tWorklistResult r;
    std::string sWhy;
    if (!booAskWithRetry(ask, sPeer, sStation, iTimeoutSeconds, 13725, nullptr, r, sWhy)) {
        vRunEnds(sWhy);
        return kWorklistNotReached;
    }
    frmWorklist frm;
    frm.m_sStation = sStation;
    frm.m_fnAsk = [&](std::vector<tWorklistEntry>& entries) {
        tWorklistResult again;
        std::string sIgnored;
        if (!booAskWithRetry(ask, sPeer, sStation, iTimeoutSeconds, 13726, frm.hWnd(), again, sIgnored))
            return false;
        entries = std::move(again.entries);
        return true;
    };
    frm.vSetEntries(std::move(r.entries));
    frm.Show(true);
    if (frm.m_booPicked) {
        out = frm.m_tPicked.tKeys;
        return kWorklistPicked;
    }
    vRunEnds(frm.lvwList->rowCount() == 0 && frm.txtFilter->text().empty()
                 ? "nothing scheduled on the worklist today for " + sStation
                 : "no patient chosen from the worklist");
    return kWorklistCancelled;
}

int iChoosePatientFromWorklist(const tDicomSettings& t, tPatientKeys& out) {
    const tDicomPeer peer = t.tWorklist;
    const std::string sStation = t.sStationAE;
    const WorklistAsk ask = [peer, sStation] {
        tWorklistQuery q;
        q.tPeer = peer;
        q.sCallingAE = sStation;
        q.sDate = sTodayDicomDate();  // asked again after midnight: the new day's list
        return tQueryWorklist(q);
    };
    const std::string sPeer = peer.sAE + "@" + peer.sHost + ":" + std::to_string(peer.iPort);
    return iChooseFromWorklist(ask, sPeer, sStation, kWorklistTimeoutSeconds, out);
}
