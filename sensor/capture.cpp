// The capture watch during the exposure and the retrieval of the image.
#include <string>

#include "app/app_state.h"
#include "app/file_utils.h"
#include "app/messages.h"
#include "platform/home_path.h"
#include "platform/tick_clock.h"
#include "sensor/sensor_steps.h"
#include "sensor/zyr_lib.h"

namespace {
// Kept between polls for as long as the main window lives.
struct tPictWatch {
    int32_t lPictTick = 0;
    uint8_t bytPictStat = 0;
    int32_t lPictInterval = 500;
};
tPictWatch s_watch;
bool s_booImageSaved = false;

// The status of a bitmap the window refused to have written (the library's
// "BMP(8bit) File Writing Error").
constexpr int32_t kBitmapRefused = -93;

int32_t lTickNow() { return static_cast<int32_t>(platform::GetTickCount()); }
}  // namespace

std::string sBitmapPath() {
    const std::string& s = App.g_sSaveFileName;
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(' ');
    // "~/" is the running user's home: operators sharing one settings file
    // then never share one bitmap.
    return platform::sExpandHome(s.substr(b, e - b + 1));
}

void vResetCaptureWatch() {
    s_watch = tPictWatch{};
    s_booImageSaved = false;
}

bool booImageSaved() { return s_booImageSaved; }

int32_t l_CheckPictProc(MainOps& frm, bool booInit) {
    if (booInit) {
        s_watch.lPictTick = lTickNow();
        s_watch.bytPictStat = 0;
        s_watch.lPictInterval = 500;
        return 0;
    }
    // The tick count is compared as the unsigned counter it is, so that the
    // wrap check below sees a wrapped value as lower.
    const uint32_t ulNow = platform::GetTickCount();
    if (ulNow < static_cast<uint32_t>(s_watch.lPictTick)) s_watch.lPictTick = static_cast<int32_t>(ulNow);
    if (ulNow - static_cast<uint32_t>(s_watch.lPictTick) <= static_cast<uint32_t>(s_watch.lPictInterval))
        return 0;

    uint8_t bytStat = 0;
    const int32_t lRet = zyr().CheckPictStatus(&bytStat);
    s_watch.lPictTick = lTickNow();
    if (lRet != 0) {
        vShowErrMsg(frm.hWnd(), lRet, sGetResText(10425));
        return lRet;
    }

    const uint8_t bytWas = s_watch.bytPictStat;
    if (bytWas == 0 && bytStat == 1 && App.g_lStat == 10) {
        frm.vSetStat(11);  // the X-ray has begun
    } else if (bytWas == 1 && bytStat == 0 && App.g_lStat == 11) {
        ++App.g_lPictNo;  // one image has ended
        if (App.g_lPictNo == App.g_lPictCount) frm.vSetStat(12);
        if (App.g_lDefMode == 2 && App.g_lPictNo == 2 && App.g_lPictHalf == 0) {
            // First half of the TMJ exposure done: the unit returns to its
            // origin and the operator starts the second half.
            App.g_lPictHalf = 1;
            frm.vSetStat(3);
        }
    }
    s_watch.bytPictStat = bytStat;
    return 0;
}

int32_t l_GetImageProc(MainOps& frm, const std::string& sFolder) {
    frm.vSetBusyPointer(true);

    int32_t lMsg = 10419;
    int32_t lRet = zyr().ResetAll();
    if (lRet == 0) {
        lMsg = 10426;
        lRet = zyr().GetImageDataEx(App.g_lPictNo);
    }
    if (lRet == 0) {
        frm.vSetStat(13);
        lMsg = 10418;
        lRet = zyr().SetDeviceFree();
    }
    if (lRet == 0) {
        lMsg = 10427;
        const std::string sDat = sFolder + "/ZYR_PAN_WEQ.DAT";
        booDeleteFiles(sDat);
        int32_t lValue1 = 0;
        int32_t lValue2 = 0;
        lRet = zyr().ImageProcessingEx(sDat.c_str(), &lValue1, &lValue2);
        if (lRet == 0 && !frm.booBeforeBitmapSave()) {
            lRet = kBitmapRefused;
            lMsg = 0;  // the window has told the operator why
        }
        if (lRet == 0) {
            const std::string sBmp = sBitmapPath();
            lRet = zyr().SaveBitmap(sDat.c_str(), lValue1, lValue2, 0, 0, sBmp.c_str());
            if (lRet == 0) s_booImageSaved = true;
        }
    }

    frm.vSetBusyPointer(false);
    if (lRet != 0 && lMsg != 0) vShowErrMsg(frm.hWnd(), lRet, sGetResText(lMsg));
    return lRet;
}
