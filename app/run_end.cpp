#include "app/run_end.h"

#include "app/app_state.h"

void vRunEnds(const std::string& sWhy) {
    if (App.g_sRunEnd.empty()) App.g_sRunEnd = sWhy;
}

void vRunEndsOnFailure() { vRunEnds(App.g_sLastFailure); }

void vNoteFailureShown(const std::string& sMsg) { App.g_sLastFailure = sFirstLine(sMsg); }

std::string sFirstLine(const std::string& sMsg) { return sMsg.substr(0, sMsg.find_first_of("\r\n")); }

std::string sExitLine(int iStatus) {
    if (iStatus == 0) return {};
    // A path that ended without saying why still gets a line.
    std::string sWhy = App.g_sRunEnd;
    if (sWhy.empty()) sWhy = iStatus == 2 ? "start-up ended" : "the window was closed";
    return std::string("ZYR_PAN_WEQ: ") + (iStatus == 2 ? "not started: " : "no image: ") + sWhy;
}
