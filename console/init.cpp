// The main window's initialisation: it runs once from the load handler,
// before the window is shown and before any contact with the unit.
#include "app/app_state.h"
#include "app/messages.h"
#include "console/frm_main.h"
#include "sensor/sensor_steps.h"
#include "ui/look.h"

int32_t frmMain::lInitMain() {
    // 1. The starting state. A start-up mode this window has no picture and
    // no condition record for (3 to 6) starts as the adult panorama.
    if (App.g_lDefMode >= NUM_MODES) App.g_lDefMode = 0;
    f.m_lModeIdx = App.g_lDefMode;
    f.m_booActivated = false;
    App.g_lStat = 0;
    App.g_lMoveKind = 0;
    f.m_lUnitPos = 1;
    App.g_booLinkErr = false;
    f.m_booSkipT1 = false;
    f.m_booSideMoved = false;
    f.m_lXWaitFlag = 0;
    App.g_booInRecv = false;
    f.m_booAutoStart = false;

    // 2.-3. Look, and no progress clip.
    vSetBackColor(*this);
    vSetForeColor(*this);
    vShrinkButtons(*this, 2);
    vProgressAnim(0);

    // 4.-5. The first sensor module initialisation loads the FPGA file; the
    // run's working folder.
    f.m_lLoadFpgaFileFlg = 1;
    vResetCaptureWatch();
    vMakeWorkFolder(static_cast<int64_t>(winId()), f.m_sWorkPath);

    // 6.-7. Texts; the picture buttons carry no caption.
    lblVolt[0]->setCaption(sGetResText(12402));
    lblVolt[1]->setCaption(sGetResText(12403));
    lblElec[0]->setCaption(sGetResText(12404));
    lblElec[1]->setCaption(sGetResText(12405));
    lbl1[0]->setCaption(sGetResText(12406));
    lbl1[1]->setCaption(sGetResText(12414));
    lblMode[0]->setCaption(sGetResText(12407));
    lblMode[1]->setCaption(sGetResText(12408));
    for (int i = 0; i < 2; ++i) {
        cmdVoltUpDown[i]->setCaption("");
        cmdElecUpDown[i]->setCaption("");
    }
    cmdStart->setCaption("");
    cmdReset->setCaption("");
    cmdClose->setCaption("");

    // 8.-10. Pictures; the size buttons start released.
    for (auto* p : cmdDefVolt) p->setTag("OFF");
    vSetPicture(*cmdVoltUpDown[0], 12401);
    vSetPicture(*cmdElecUpDown[0], 12401);
    vSetPicture(*cmdVoltUpDown[1], 12404);
    vSetPicture(*cmdElecUpDown[1], 12404);
    vSetPicture(*cmdReset, 12425);
    vSetPicture(*cmdClose, 12428);
    vSetPicture(*cmdDefVolt[0], 12462);
    vSetPicture(*cmdDefVolt[1], 12465);
    vSetPicture(*cmdDefVolt[2], 12468);
    vSetPicture(*imgLogo, 15203);
    vSetPicture(*cmdStart, 12421);
    cmdStart->setOutline(false);

    // 11.-13. The start-up mode with its values and remembered size.
    vDispMode();
    int32_t lGroup = 0;
    lGetModeGroup(lGroup);
    App.g_lVolt = App.g_tModeCond[lGroup].lVolt;
    App.g_lElec = App.g_tModeCond[lGroup].lElec;
    vDispValue(0);
    vDispValue(1);
    vClearSize(true);

    // 14.-15. An empty status line; the value displays and READY in colour.
    spnlStat->setCaption("");
    picVoltValue->setBackColor(lColorDark());
    picElecValue->setBackColor(lColorDark());
    cmdStart->setBackColor(lColorLight());
    spnlStat->setBackColor(lColorLight());
    spnlStat->setForeColor(0);

    // 16. The simulated sensor says so for the whole run: black on yellow,
    // apart from the window's own colours; nothing else changes this label.
    lblSimulator->setCaption(sGetResText(11560));
    lblSimulator->setBackColor(0x00FFFF);
    lblSimulator->setForeColor(0);
    lblSimulator->setVisible(App.g_booSimSensor);
    return 0;
}
