// frmMain, the console: the operator's one window. It connects to the unit,
// polls the link, lets the operator choose the exposure and start it, and
// shows where the unit and the exposure stand. Its operations are split by
// concern over main_loop.cpp, mode.cpp, values.cpp, commands.cpp,
// enabling.cpp, status_display.cpp and init.cpp.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/frm_initializing.h"
#include "app/main_ops.h"
#include "console/service_dialogs.h"
#include "ui/controls.h"
#include "ui/form.h"

class frmMain : public ui::Form, public MainOps {
public:
    frmMain();
    ~frmMain() override;

    // --- window lifetime (frm_main.cpp, commands.cpp) ---
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Form_KeyDown(int KeyCode, int Shift) override;
    // True when the load handler found another copy of the console running.
    bool booSecondCopy() const { return m_booSecondCopy; }

    // --- main loop (main_loop.cpp) ---
    void tmStart_Timer();
    void vSetStat(int32_t lStat) override;
    void vClickSound();

    // --- operator commands and enabling (commands.cpp, enabling.cpp) ---
    void cmdStart_Click() override;
    // The operator pressed READY: with a real unit and the simulated sensor,
    // only after Yes to "no patient in the unit".
    void cmdStart_Pressed();
    void cmdReset_Click() override;
    void cmdClose_Click();
    void cmdDebug_Click();
    void vCtrlEnabledByStat() override;
    void voi_btEnabledSet(bool booEnabled) override;
    void vSetReadyButton(int32_t lLook) override;

    // --- status and animations (status_display.cpp) ---
    void vShowStat() override;
    void vSetStatText(const std::string& sText) override;
    void vProgressAnim(int32_t lPhase);
    void vStartAnim(bool booShow);

    // --- exposure mode (mode.cpp) ---
    void imgMode_Click(int16_t Index) override;
    void vDispMode() override;
    void lGetModeGroup(int32_t& lGroup) const;
    int32_t lModeGroup() const;

    // --- tube voltage and current (values.cpp) ---
    void cmdVoltUpDown_Click(int16_t Index);
    void cmdElecUpDown_Click(int16_t Index);
    void vDispValue(int32_t which) override;
    void cmdDefVolt_Click(int16_t Index);
    void cmdDefVolt_MouseDown(int16_t Index, int Button, int Shift, int32_t X, int32_t Y);
    void cmdDefVolt_MouseUp(int16_t Index, int Button, int Shift, int32_t X, int32_t Y);
    void vClearSize(bool booRestore);
    void vSizeSelect(bool booRestore);
    void vShowSetting();

    // --- initialisation (init.cpp) ---
    int32_t lInitMain();

    // --- what the link and the sensor steps ask of the window ---
    void* hWnd() override { return ui::Form::hWnd(); }
    void vTimerEnabled(bool booEnabled) override;
    bool booTimerEnabled() override;
    void vSetCaption(const std::string& sCaption) override;
    void vSetDebugVisible(bool booVisible) override;
    bool booDebugVisible() override;
    void vSetResetEnabled(bool booEnabled) override;
    bool booResetEnabled() override;
    void vSetBusyPointer(bool booBusy) override;
    void vDoEvents() override;
    int32_t l_SensMduInitProc() override;
    int32_t l_SenceProc1() override;
    int32_t l_CheckPictProc(bool booInit) override;
    int32_t l_GetImageProc(const std::string& sFolder) override;
    bool booBeforeBitmapSave() override;
    void vUnload() override;

    // The console is in test mode while the Test Mode button is shown.
    bool booTestMode();
    // The initializing window while a connection attempt runs, else null.
    frmInitializing* initWindow() const { return m_frmInit.get(); }
    // The default condition dialog's subject (its group and size).
    tSettingSubject m_tSetting;

    // --- controls (layout.cpp) ---
    ui::Image* imgLogo = nullptr;
    ui::Frame* FrameMode = nullptr;
    ui::Label* lbl1[2] = {};
    ui::Label* lblMode[2] = {};
    ui::Image* imgMode[3] = {};
    ui::Label* lblVolt[2] = {};
    ui::PictureBox* picVoltValue = nullptr;
    ui::PictureBox* picVoltH = nullptr;
    ui::PictureBox* picVoltL = nullptr;
    ui::Button3D* cmdVoltUpDown[2] = {};
    ui::Label* lblElec[2] = {};
    ui::PictureBox* picElecValue = nullptr;
    ui::PictureBox* picElecH = nullptr;
    ui::PictureBox* picElecL = nullptr;
    ui::Button3D* cmdElecUpDown[2] = {};
    ui::Image* cmdDefVolt[3] = {};
    ui::Frame* Frame1 = nullptr;
    ui::Button3D* cmdStart = nullptr;
    ui::AnimationArea* Animation1 = nullptr;
    ui::CommandButton* cmdReset = nullptr;
    ui::CommandButton* cmdClose = nullptr;
    ui::Button3D* cmdDebug = nullptr;
    ui::AnimationArea* Animation2 = nullptr;
    ui::Panel3D* spnlStat = nullptr;
    ui::Label* lblSimulator = nullptr;  // shown for the whole run with the simulated sensor
    ui::Timer* tmStart = nullptr;

    static constexpr int NUM_MODES = 3;

protected:
    // The first activation also starts from here: a desktop may never
    // activate a window another program started.
    void showEvent(QShowEvent* e) override;

private:
    void vCreateControls();
    void vConnectHandlers();

    // Connection helpers (main_loop.cpp).
    void vShowInitWindow(int32_t lRetrySeconds);
    void vCloseInitWindow();
    void vUpdateInitWindow(uint32_t ulElapsedMs);
    bool booPollTick();
    bool booWatchXWait();
    void vReconnectTick();

    std::unique_ptr<frmInitializing> m_frmInit;
    bool m_booSecondCopy = false;
    bool m_booInTick = false;
    bool m_booBusy = false;
    bool m_booUnloaded = false;
    int16_t m_iSizeArmed = -1;  // size button a right press prepared
};
