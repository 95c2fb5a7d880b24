// What the unit link, the sensor steps and the service dialogs ask of the
// main window. frmMain implements it; tests hand in a fake. Nothing here
// depends on the toolkit, so the link and the sensor code build without it.
#pragma once
#include <cstdint>
#include <string>

class frmInitializing;

// Polling counters of the main window's timer.
struct tPollCounters {
    bool booReconnect = false;
    int32_t lT1Count = 0;
    int32_t lReconStart = 0;
    int32_t lNow = 0;
    int32_t lXWaitStart = 0;
    bool booXWaitArmed = false;
    bool booCoolBlink = false;
};

// The main window's own fields.
struct tMainFields {
    int32_t m_BooLoad = 0;            // -1 once the initialisation completed
    int32_t m_lLoadFpgaFileFlg = 1;   // 1 = sensor module must be initialised again
    std::string m_sWorkPath;          // working folder of this run
    int32_t m_lModeIdx = 0;           // selected exposure mode
    bool m_booActivated = false;
    std::string m_sAnswer;
    std::string m_sBaseTitle;
    int32_t m_lErrNo = 0;
    int32_t m_lUnitPos = 1;
    int32_t m_lCoolTime = 0;
    bool m_booSkipT1 = false;
    bool m_booSideMoved = false;
    bool m_booTransfer = false;
    int32_t m_lXWaitFlag = 0;
    bool m_booAutoStart = false;
    tPollCounters m_tPoll;
};

// A window that runs command transactions: disabled while one is under way.
class BusyWindow {
public:
    virtual ~BusyWindow() = default;
    virtual void voi_btEnabledSet(bool booEnabled) = 0;
    // Native owner for message boxes shown on behalf of this window (may be null).
    virtual void* hWnd() = 0;
};

class MainOps : public BusyWindow {
public:
    tMainFields f;

    virtual void vSetStat(int32_t lStat) = 0;
    virtual void vShowStat() = 0;
    // Puts a text in the status panel spnlStat without changing the state
    // (an answer the console does not understand).
    virtual void vSetStatText(const std::string& sText) { (void)sText; }
    virtual void vCtrlEnabledByStat() = 0;
    virtual void vSetReadyButton(int32_t lLook) = 0;
    virtual void imgMode_Click(int16_t Index) = 0;
    virtual void vDispMode() = 0;
    virtual void vDispValue(int32_t which) = 0;
    virtual void cmdStart_Click() = 0;
    virtual void cmdReset_Click() = 0;

    // tmStart, the 10 ms polling timer.
    virtual void vTimerEnabled(bool booEnabled) = 0;
    virtual bool booTimerEnabled() = 0;

    // Window title (the service modes mark it) and the Test Mode button.
    virtual void vSetCaption(const std::string& sCaption) = 0;
    virtual void vSetDebugVisible(bool booVisible) = 0;
    virtual bool booDebugVisible() = 0;
    virtual void vSetResetEnabled(bool booEnabled) = 0;
    virtual bool booResetEnabled() = 0;

    // Busy pointer without touching the controls.
    virtual void vSetBusyPointer(bool booBusy) = 0;
    // Let pending window events run.
    virtual void vDoEvents() = 0;

    // Sensor steps (the sensor module does the work).
    virtual int32_t l_SensMduInitProc() = 0;
    virtual int32_t l_SenceProc1() = 0;
    virtual int32_t l_CheckPictProc(bool booInit) = 0;
    virtual int32_t l_GetImageProc(const std::string& sFolder) = 0;
    // Right before the library writes the bitmap: false when it must not
    // be written (the window has told the operator why).
    virtual bool booBeforeBitmapSave() { return true; }

    // Closes the main window (Unload); the program ends with it.
    virtual void vUnload() = 0;
};

// The main window of this run; set by frmMain (or a test) before use.
MainOps& mainWindow();
void vSetMainWindow(MainOps* p);
bool booHasMainWindow();
