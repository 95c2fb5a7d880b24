// The exposure mode: the operator's choice among the mode pictures, which
// brings back its group's tube voltage and current and patient size.
#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "app/settings.h"
#include "console/frm_main.h"
#include "link/transaction.h"
#include "ui/look.h"

namespace {
// Pictures of the three modes, not selected and selected.
constexpr int32_t PIC_MODE[3] = {15204, 15206, 12411};
constexpr int32_t PIC_MODE_SELECTED[3] = {15205, 15207, 12412};
}  // namespace

void frmMain::lGetModeGroup(int32_t& lGroup) const {
    lGroup = (f.m_lModeIdx >= 0 && f.m_lModeIdx <= 2) ? f.m_lModeIdx : 0;
}

int32_t frmMain::lModeGroup() const {
    int32_t lGroup = 0;
    lGetModeGroup(lGroup);
    return lGroup;
}

void frmMain::imgMode_Click(int16_t Index) {
    // A cephalometric mode while the unit stands at its panoramic origin:
    // the unit must turn first.
    const bool booMove = App.g_lTestMode == 0 && Index > 4 && f.m_lModeIdx >= 0 && f.m_lModeIdx <= 4 &&
                         App.g_lMoveKind == 1;
    if (booMove) {
        vMsgInfo(hWnd(), sGetResText(11491));
        if (f.m_booSideMoved) {
            f.m_booSideMoved = false;
            f.m_booSkipT1 = true;
        }
        int32_t r = 0;
        lSendCommand(*this, "m1", r, true);
        if (r != 0) {
            vShowErrMsg(hWnd(), r, sGetResText(11458));
            vRunEndsOnFailure();
            vUnload();
            return;
        }
        vSetStat(4);
    }

    f.m_lModeIdx = Index;
    vDispMode();
    App.g_lDefMode = f.m_lModeIdx;

    if (!booTestMode()) {
        (void)booWriteSetting("DefMode", std::to_string(App.g_lDefMode));
        const tModeCond& t = App.g_tModeCond[lModeGroup()];
        App.g_lVolt = t.lVolt;
        App.g_lElec = t.lElec;
        vDispValue(0);
        vDispValue(1);
    }
    vClearSize(true);  // the group's remembered size, in test mode too
    if (!booMove) vSetStat(0);

    vDoEvents();
    vClickSound();
}

void frmMain::vDispMode() {
    for (int i = 0; i < NUM_MODES; ++i) vSetPicture(*imgMode[i], PIC_MODE[i]);
    // A mode without a picture of its own (the cephalometric side) marks none.
    if (f.m_lModeIdx >= 0 && f.m_lModeIdx < NUM_MODES)
        vSetPicture(*imgMode[f.m_lModeIdx], PIC_MODE_SELECTED[f.m_lModeIdx]);
}
