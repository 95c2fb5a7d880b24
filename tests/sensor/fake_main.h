// A main window that records what the sensor steps asked of it.
#pragma once
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_ops.h"

class FakeMain : public MainOps {
public:
    std::vector<int32_t> states;
    std::vector<std::string> log;
    bool booTimer = true;
    bool booReset = true;
    bool booBusy = false;

    void voi_btEnabledSet(bool b) override { log.push_back(b ? "enable" : "disable"); booBusy = !b; }
    void* hWnd() override { return nullptr; }
    void vSetStat(int32_t l) override { App.g_lStat = l; states.push_back(l); }
    void vShowStat() override {}
    void vCtrlEnabledByStat() override {}
    void vSetReadyButton(int32_t) override {}
    void imgMode_Click(int16_t) override {}
    void vDispMode() override {}
    void vDispValue(int32_t) override {}
    void cmdStart_Click() override {}
    void cmdReset_Click() override {}
    void vTimerEnabled(bool b) override { booTimer = b; }
    bool booTimerEnabled() override { return booTimer; }
    void vSetCaption(const std::string&) override {}
    void vSetDebugVisible(bool) override {}
    bool booDebugVisible() override { return false; }
    void vSetResetEnabled(bool b) override { booReset = b; log.push_back(b ? "reset on" : "reset off"); }
    bool booResetEnabled() override { return booReset; }
    void vSetBusyPointer(bool b) override { booBusy = b; log.push_back(b ? "busy" : "pointer"); }
    void vDoEvents() override {}
    int32_t l_SensMduInitProc() override { return 0; }
    int32_t l_SenceProc1() override { return 0; }
    int32_t l_CheckPictProc(bool) override { return 0; }
    int32_t l_GetImageProc(const std::string&) override { return 0; }
    void vUnload() override { log.push_back("unload"); }
};
