// Sensor preparation: the module initialisation when the unit reports its
// sensor position, and the preparation for the exposure after READY.
#include "app/app_state.h"
#include "app/messages.h"
#include "app/settings.h"
#include "platform/program_folder.h"
#include "sensor/sensor_steps.h"
#include "sensor/zyr_lib.h"

namespace {
std::string sInFolder(const std::string& sFolder, const std::string& sName) {
    if (!sFolder.empty() && sFolder.back() == '/') return sFolder + sName;
    return sFolder + "/" + sName;
}
}  // namespace

void vGetFilmFilePath(std::string& sPath) {
    sPath = sInFolder(platform::sProgramFolder(), "FILM/" + App.g_sFilmName + ".dat");
}

int32_t l_SensMduInitProc(MainOps& frm) {
    frm.voi_btEnabledSet(false);
    const std::string sIni = sInFolder(platform::sProgramFolder(), "ZYR_PAN_WEQ.ini");
    const int32_t lRet = zyr().SetSensMduInit(sIni.c_str(), frm.f.m_lLoadFpgaFileFlg);
    if (lRet == 0) {
        frm.f.m_lLoadFpgaFileFlg = 0;
    } else {
        frm.vTimerEnabled(false);
        vShowErrMsg(frm.hWnd(), lRet, sGetResText(10418));
    }
    // The buttons stay disabled: the states that follow enable them.
    frm.vSetBusyPointer(false);
    return lRet;
}

int32_t l_SenceProc1(MainOps& frm) {
    const bool booResetWas = frm.booResetEnabled();
    frm.vSetResetEnabled(false);

    std::string sFilm;
    vGetFilmFilePath(sFilm);
    App.g_lPictCount = App.g_lDefMode == 2 ? 4 : App.g_lDefMode == 3 ? 2 : 1;
    App.g_lPictNo = 0;
    frm.f.m_lLoadFpgaFileFlg = 0;

    int32_t lMsg = 10419;
    int32_t lRet = zyr().ResetAll();
    if (lRet == 0) {
        lMsg = 10423;
        lRet = zyr().SetParamforPictEx(sFilm.c_str(), App.g_lPictCount, App.g_lTimeStep,
                                       App.g_lTimeLag);
    }
    if (lRet == 0) {
        lMsg = 10424;
        lRet = zyr().SetWaitXExpose();
    }
    if (lRet != 0) vShowErrMsg(frm.hWnd(), lRet, sGetResText(lMsg));

    frm.vSetResetEnabled(booResetWas);
    return lRet;
}
