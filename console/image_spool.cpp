#include "console/image_spool.h"

#include <dcmtk/dcmdata/dctk.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/version.h"
#include "dicom/dx_object.h"
#include "dicom/sender_start.h"
#include "dicom/spool_write.h"
#include "sensor/sensor_steps.h"

namespace {
constexpr int TEXT_NOT_QUEUED = 11602;
constexpr int TEXT_SEND_BY_HAND = 11603;

bool booReadFile(const std::string& sPath, std::string& sBytes) {
    std::ifstream f(sPath, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    sBytes = s.str();
    return f.good() || f.eof();
}
}  // namespace

bool booSpoolImage(std::string& sName, std::string& sWhy) {
    tDxSource src;
    src.tNote = App.g_tExposure;
    src.tPatient = App.g_tPatient;
    src.tSettings = App.g_tDicom;
    src.booSimulated = App.g_booSimSensor;  // as the window and the record tell it
    src.llContentMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    src.sSoftwareVersion = sProgramVersion();
    const std::string sBitmap = sBitmapPath();
    if (!booReadFile(sBitmap, src.sBitmap)) {
        sWhy = "cannot read the bitmap " + sBitmap;
        return false;
    }
    DcmFileFormat ff;
    std::string sBytes;
    if (!booMakeDxObject(src, ff, sWhy) || !booDxFileBytes(ff, sBytes, sWhy)) return false;
    OFString sUid;
    ff.getDataset()->findAndGetOFString(DCM_SOPInstanceUID, sUid);
    sName = std::string(sUid.c_str()) + ".dcm";
    return booSpoolWrite(App.g_tDicom.sSpool, sName, sBytes, sWhy);
}

void vSpoolImage(void* hOwner) {
    if (!App.g_tDicom.booEnabled) return;
    std::string sName;
    std::string sWhy;
    if (!booSpoolImage(sName, sWhy)) {
        std::fprintf(stderr, "ZYR_PAN_WEQ: image not queued for the archive: %s\n", sWhy.c_str());
        vMsgInfo(hOwner, sGetResText(TEXT_NOT_QUEUED) + "\n" + sWhy + "\n" + sGetResText(TEXT_SEND_BY_HAND));
    }
    // Objects of earlier runs may wait as well.
    if (App.g_tDicom.tStore.booSet()) vStartSenderIfIdle();
}
