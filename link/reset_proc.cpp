// RESET: what the unit is told depends on where the console stands.
#include "app/app_state.h"
#include "link/commands.h"

namespace {
struct tResetStep {
    const char* sCmd;
    int32_t lNewStat;
};

tResetStep tResetStepFor(int32_t lStat) {
    switch (lStat) {
        case 3: return {"r0", 0};    // stop the move to the origin
        case 4: return {"m0", 0};    // stop the turn to the cephalo side
        case 7:
        case 10:
        case 15: return {"d0", 8};   // cancel READY
        case 9: return {"r0", 101};  // clear the unit's error
        case 11: return {"d0", 19};  // stop the exposure under way
        case 17:
        case 18: return {"r1", 19};
        case 19: return {"r0", 18};
        default: return {"r1", 3};   // back to the origin
    }
}
}  // namespace

void vResetProc() {
    MainOps& w = mainWindow();
    w.vSetReadyButton(0);
    const tResetStep step = tResetStepFor(App.g_lStat);
    w.vSetStat(step.lNewStat);
    if (!booSendOrClose(step.sCmd)) return;

    // The controls locked by the transaction come back for the state.
    w.vSetStat(App.g_lStat);
    if (App.g_lStat == 8 || App.g_lStat == 101) {
        w.vSetStat(1);
        (void)booSendOrClose("c1");
    }
}
