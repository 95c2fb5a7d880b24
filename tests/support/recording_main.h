// A main window for the tests of the link and the sensor steps: it records
// into the scripted library's trace what it was asked, and behaves like the
// console where the callers depend on it (vSetStat sets the state and, for
// the moving states, forgets the confirmed position; imgMode_Click selects).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_ops.h"
#include "tests/support/scripted_lib.h"

class RecordingMain : public MainOps {
public:
    bool booTimer = true;
    bool booBusy = false;
    bool booDebug = false;
    bool booReset = true;
    int32_t lSensMduResult = 0;
    int32_t lSenceResult = 0;
    int32_t lCheckPictResult = 0;
    std::vector<int32_t> states;
    std::vector<std::string> captions;
    std::function<void()> onDoEvents;
    std::function<void(int16_t)> onModeClick;

    void vLog(const std::string& s) { scripted::trace().push_back(s); }

    void voi_btEnabledSet(bool b) override {
        vLog(b ? "enabled" : "disabled");
        booBusy = !b;
    }
    void* hWnd() override { return this; }
    void vSetStat(int32_t l) override {
        App.g_lStat = l;
        states.push_back(l);
        if (l == 1 || l == 3 || l == 4 || l == 5 || l == 6 || l == 100 || l == 101) App.g_lMoveKind = 0;
        vLog("stat " + std::to_string(l));
    }
    void vShowStat() override { vLog("showstat"); }
    void vSetStatText(const std::string& s) override { vLog("stattext " + s); }
    void vCtrlEnabledByStat() override { vLog("ctrlbystat"); }
    void vSetReadyButton(int32_t l) override { vLog("ready " + std::to_string(l)); }
    void imgMode_Click(int16_t i) override {
        vLog("mode " + std::to_string(i));
        if (onModeClick) onModeClick(i);
        f.m_lModeIdx = i;
    }
    void vDispMode() override { vLog("dispmode"); }
    void vDispValue(int32_t w) override { vLog("dispvalue " + std::to_string(w)); }
    void cmdStart_Click() override { vLog("start click"); }
    void cmdReset_Click() override { vLog("reset click"); }
    void vTimerEnabled(bool b) override {
        booTimer = b;
        vLog(b ? "timer on" : "timer off");
    }
    bool booTimerEnabled() override { return booTimer; }
    void vSetCaption(const std::string& s) override {
        captions.push_back(s);
        vLog("caption " + s);
    }
    void vSetDebugVisible(bool b) override {
        booDebug = b;
        vLog(b ? "debug shown" : "debug hidden");
    }
    bool booDebugVisible() override { return booDebug; }
    void vSetResetEnabled(bool b) override {
        booReset = b;
        vLog(b ? "reset on" : "reset off");
    }
    bool booResetEnabled() override { return booReset; }
    void vSetBusyPointer(bool b) override {
        booBusy = b;
        vLog(b ? "busy" : "pointer");
    }
    void vDoEvents() override {
        vLog("doevents");
        if (onDoEvents) onDoEvents();
    }
    int32_t l_SensMduInitProc() override {
        vLog("sensmdu flag " + std::to_string(f.m_lLoadFpgaFileFlg));
        return lSensMduResult;
    }
    int32_t l_SenceProc1() override {
        vLog("senceproc " + App.g_sFilmName);
        return lSenceResult;
    }
    int32_t l_CheckPictProc(bool b) override {
        vLog(std::string("checkpict ") + (b ? "init" : "step"));
        return lCheckPictResult;
    }
    int32_t l_GetImageProc(const std::string& s) override {
        vLog("getimage " + s);
        return 0;
    }
    void vUnload() override { vLog("unload"); }
};
