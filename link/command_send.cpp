// Sending a command on behalf of the main window, and the exposure command's text.
#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "link/commands.h"
#include "link/transaction.h"

bool booSendOrClose(const std::string& sCmd) {
    MainOps& w = mainWindow();
    int32_t lResult = 0;
    lSendCommand(w, sCmd, lResult, true);
    if (lResult == 0) return true;
    // Without the unit's ACK the console cannot go on: the run ends here.
    vShowErrMsg(w.hWnd(), lResult, sGetResText(11458));
    vRunEndsOnFailure();
    w.vUnload();
    return false;
}

std::string sModeCode(int32_t lModeIdx) {
    // The tags of the mode pictures imgMode(0..2).
    static const char* const kTags[] = {"P1_A", "P1_C", "T4"};
    if (lModeIdx < 0 || lModeIdx > 2) return {};
    return kTags[lModeIdx];
}

std::string sExposureCommand(int32_t lModeIdx) {
    // The unit knows the adult and child panoramas by each other's code.
    int32_t lPicture = lModeIdx;
    if (lModeIdx == 0) lPicture = 1;
    else if (lModeIdx == 1) lPicture = 0;
    const std::string sCode = sModeCode(lPicture);
    if (sCode.empty()) return {};
    return "NP_" + sCode + " " + std::to_string(App.g_lVolt) + " " + std::to_string(App.g_lElec);
}
