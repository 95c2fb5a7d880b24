// The service keys Ctrl+Alt+J, K and L: test, half and package mode.
#include "app/app_state.h"
#include "app/messages.h"
#include "link/commands.h"

namespace {
enum class Key { Test, Half, Package };

struct tServiceKey {
    Key key;
    char cLetter;       // command letter
    int32_t* plMode;    // the mode flag it toggles, 1 = on
    int32_t lModeText;  // title text of the mode
};

bool booServiceKeyFor(int32_t lKeyCode, tServiceKey& k) {
    switch (lKeyCode) {
        case 'J': k = {Key::Test, 't', &App.g_lTestMode, 11465}; return true;
        case 'K': k = {Key::Half, 'h', &App.g_lHalfMode, 11466}; return true;
        case 'L': k = {Key::Package, 'p', &App.g_lPackageMode, 11467}; return true;
        default: return false;
    }
}

std::string sMarker(char cLetter, int32_t lFlag) {
    return std::string("【") + cLetter + std::to_string(lFlag) + "】";
}

void vRecordMode(MainOps& w, const tServiceKey& k, int32_t lFlag) {
    switch (k.key) {
        case Key::Half:
            App.g_lHalfMode = lFlag;
            App.g_lPackageMode = 0;
            return;
        case Key::Package:
            App.g_lPackageMode = lFlag;
            App.g_lHalfMode = 0;
            return;
        case Key::Test:
            App.g_lTestMode = lFlag;
            if (lFlag == 1) {
                // In test mode the operator sets kV and mA from nothing.
                App.g_lVolt = 0;
                App.g_lElec = 0;
                w.vSetDebugVisible(true);
                w.vSetStat(App.g_lStat);
            } else {
                App.g_lHalfMode = 0;
                App.g_lPackageMode = 0;
                App.g_lVolt = 60;
                App.g_lElec = 2;
                w.vSetDebugVisible(false);
            }
            w.vDispValue(0);
            w.vDispValue(1);
            return;
    }
}
}  // namespace

void vServiceKey(int32_t lKeyCode) {
    tServiceKey k{};
    if (!booServiceKeyFor(lKeyCode, k)) return;
    MainOps& w = mainWindow();
    const int32_t lFlag = *k.plMode == 1 ? 0 : 1;
    // Half and package mode exist only for the service operator in test mode.
    if (k.key != Key::Test && !w.booDebugVisible()) return;

    const std::string sBase = w.f.m_sBaseTitle;
    if (!sBase.empty())
        w.vSetCaption(sBase + " - " + sGetResText(k.lModeText) + " " + sMarker(k.cLetter, lFlag));

    if (!booSendOrClose(std::string(1, k.cLetter) + std::to_string(lFlag))) return;

    if (k.key == Key::Test || lFlag == 0) {
        w.vCtrlEnabledByStat();
    } else {
        w.vSetStat(k.key == Key::Half ? 5 : 6);
    }
    if (lFlag == 0) {
        w.vSetStat(1);
        if (!booSendOrClose("c1")) return;
    }
    vRecordMode(w, k, lFlag);

    if (k.key == Key::Test && lFlag == 0) {
        w.vSetCaption(sBase);
        return;
    }
    if (!sBase.empty())
        w.vSetCaption(sBase + " - " + "Half Mode" + " " + sMarker('h', App.g_lHalfMode) + " " +
                      "Package Mode" + " " + sMarker('p', App.g_lPackageMode));
}
