#include "console/startup.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "app/settings.h"
#include "console/dicom_start.h"
#include "console/frm_main.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "sensor/sensor_steps.h"
#include "sensor/zyr_lib.h"

namespace {
// Values the settings file does not carry, or carries only for the
// equipment setting dialog.
void vSetStartValues() {
    App.g_lTestMode = 0;
    App.g_lHalfMode = 0;
    App.g_lPackageMode = 0;
    App.g_lCephPlace = 2;
    App.g_lAutoPower = 1;
    App.g_lDisplayMode = 0;
    const int32_t alElecPP[6] = {226, 234, 240, 247, 254, 254};
    for (int i = 0; i < 6; ++i) App.g_lElecPP[i] = alElecPP[i];
}

bool booLoadLibrary() {
    std::string sPath = platform::sProgramFolder();
    if (sPath.empty() || sPath.back() != '/') sPath += '/';
    sPath += "libZyrPan2.so";
    ZyrLib lib;
    std::string sError;
    std::string sWhy;
    if (!booLoadZyrLib(sPath, lib, sError, &sWhy)) {
        vMsgInfo(nullptr, sError);
        vRunEnds("cannot load libZyrPan2.so: " + sWhy);
        return false;
    }
    vSetZyrLib(lib, sPath);
    return true;
}

int iRun() {
    vSetStartValues();
    if (!booReadSetting()) return EXIT_NOT_STARTED;  // the reader said why
    // A second console on this unit ends before it asks the operator or the
    // worklist anything (the main window's load finds the hold already taken).
    if (platform::booPrevInstance(sSettingsPath())) {
        vRunEnds("another console is running on the settings file " + sSettingsPath());
        return EXIT_NOT_STARTED;
    }
    if (int iStatus = 0; !booDicomStart(iStatus)) return iStatus;
    if (!booLoadLibrary()) return EXIT_NOT_STARTED;

    auto frm = std::make_unique<frmMain>();
    frm->Load();
    if (frm->booSecondCopy()) {
        vRunEnds("another console is running on the settings file " + sSettingsPath());
        return EXIT_NOT_STARTED;
    }
    if (frm->f.m_BooLoad != -1) {
        vRunEnds("the main window could not be set up");
        frm->Unload(ui::vbFormCode);
        return EXIT_NOT_STARTED;
    }
    frm->Show(false);
    frm->activateWindow();
    QApplication::exec();
    // A bitmap without the record SaveInfo=1 promised is no image to import.
    return booImageSaved() && !App.g_booRecordFailed ? EXIT_IMAGE_SAVED : EXIT_NO_IMAGE;
}
}  // namespace

int iMain() {
    const int iStatus = iRun();
    const std::string sLine = sExitLine(iStatus);
    if (!sLine.empty()) std::fprintf(stderr, "%s\n", sLine.c_str());
    return iStatus;
}
