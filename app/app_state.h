// The application state: one process-wide record that lives from the first
// step of Main to the end of the program. Every window and module reads and
// writes it through App.
#pragma once
#include <cstdint>
#include <string>

#include "app/patient_keys.h"
#include "dicom/dicom_settings.h"

// Exposure conditions of one mode group.
struct tModeCond {
    int32_t lVoltDef[3] = {60, 60, 60};  // default kV per patient size 0..2
    int32_t lElecDef[3] = {2, 2, 2};     // default mA per patient size 0..2
    int32_t lVolt = 60;                  // last kV set by hand in this group
    int32_t lElec = 2;                   // last mA set by hand in this group
    int32_t lSelect = -1;                // patient size in effect, -1 = none
};

// The unit link record: the transaction in progress and the receive state.
struct tLinkRecord {
    std::string sCmd;          // command of the transaction in progress
    int32_t lSendCnt = 0;      // times sCmd has been sent
    int32_t lSendTick = 0;     // tick count of the last send
    bool booInFrame = false;   // an STX was seen
    std::string sFrame;        // frame being assembled
    int32_t lRecvLen = 0;      // result of the last receive call
    char sRecvBuf[1024] = {};  // bytes of the last receive call
    int32_t lRecvPos = 0;      // 1-based scan position in sRecvBuf
    bool booRecvPending = false;
};

// The exposure as the record for the imaging program and the image object
// tell it, noted when the exposure command goes out.
struct tExposureNote {
    int64_t llStartMs = 0;        // wall clock, ms since 1970 UTC
    int32_t lModeIdx = -1;
    int32_t lVolt = 0;
    int32_t lElec = 0;
    int32_t lSize = -1;           // patient size, -1 = none
    bool booInterrupted = false;  // Yes to the interrupted-exposure question
};

struct AppState {
    // Settings members (filled by booReadSetting).
    int32_t g_lVolt = 60;
    int32_t g_lElec = 2;
    int32_t g_lDefMode = -1;
    std::string g_sClickSound;
    int32_t g_lTimeStep = 10;
    int32_t g_lTimeLag = 50;
    int32_t g_lXrayTime = 0;
    tModeCond g_tModeCond[3];
    int32_t g_lCephPlace = 2;
    int32_t g_lAutoPower = 1;
    int32_t g_lDisplayMode = 0;
    int32_t g_lElecPP[6] = {226, 234, 240, 247, 254, 254};
    std::string g_sSaveFileName;
    int32_t g_lCephModeEnabled = 1;
    int32_t g_lWaitTime = 0;
    int32_t g_lInitRetryTimeBoot = 0;
    int32_t g_lInitRetryTimeTimer = 60;
    int32_t g_lSaveInfo = 0;  // 1: the exposure record beside the bitmap

    // Console state.
    int32_t g_lStat = 0;
    int32_t g_lMoveKind = 0;
    int32_t g_lTestMode = 0;     // 1 / 0
    int32_t g_lHalfMode = 0;     // 1 / 0
    int32_t g_lPackageMode = 0;  // 1 / 0

    // Unit link.
    tLinkRecord g_tLink;
    std::string g_sLinkAnswer;
    bool g_booInRecv = false;
    bool g_booLinkErr = false;

    // Exposure counters.
    std::string g_sFilmName;
    int32_t g_lPictCount = 0;
    int32_t g_lPictNo = 0;
    int32_t g_lPictHalf = 0;
    tExposureNote g_tExposure;

    // Whom the image is for (options or worklist); used with [DICOM] Enabled=1.
    tPatientKeys g_tPatient;
    // [DICOM] as read at start, and the first malformed patient option of
    // the command line (empty when none).
    tDicomSettings g_tDicom;
    std::string g_sPatientOptionError;

    // Why the run ends (run_end.h) and the last failure the operator saw.
    std::string g_sRunEnd;
    std::string g_sLastFailure;

    // What [ZyrPan2] chooses, as the library reads it: its simulated sensor
    // makes the images; and that beside a real unit's X-ray.
    bool g_booSimSensor = false;
    bool g_booRealUnitSimSensor = false;
    // The exposure record of this run's bitmap could not be written.
    bool g_booRecordFailed = false;
};

extern AppState App;

// Puts every member back to its value before Main runs (tests start from here).
void vResetAppState();
