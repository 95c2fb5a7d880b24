#include "console/dicom_start.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/messages.h"
#include "app/run_end.h"
#include "app/settings.h"
#include "console/startup.h"
#include "console/worklist_pick.h"
#include "dicom/patient_options.h"
#include "dicom/store_tuning.h"
#include "platform/program_folder.h"

namespace {
constexpr int TEXT_DICOM_SETTINGS = 11600;
constexpr int TEXT_NO_PATIENT = 11601;
}  // namespace

void vNotePatientOptions(int argc, const char* const* argv) {
    App.g_sPatientOptionError.clear();
    if (!booParsePatientOptions(argc, argv, App.g_tPatient, App.g_sPatientOptionError)) App.g_tPatient = tPatientKeys{};
}

namespace {
// The sender's own keys, read by the sender that this console starts: a bad
// one is told now, not found when an image already waits in the spool.
bool booSenderKeysGood(std::string& sWhy) {
    if (!App.g_tDicom.booEnabled || !App.g_tDicom.tStore.booSet()) return true;
    tStoreTuning t;
    if (!booReadStoreTuning(sSettingsPath(), t, sWhy)) return false;
    if (App.g_tDicom.booCommit && t.iCommitPort == 0) {
        sWhy = "[DICOM] CommitPort missing: with Commit=1 the archive sends its commitment reports to this port";
        return false;
    }
    return true;
}
}  // namespace

int iRefusedPatientOptions() {
    if (App.g_sPatientOptionError.empty()) return 0;
    tDicomSettings t;
    std::string sWhy;
    // Enabled is read first; a bad later key is the start-up check's to tell.
    (void)booReadDicomSettings(sSettingsPath(), platform::sProgramFolder(), t, sWhy);
    if (!t.booEnabled) return 0;
    vRunEnds(App.g_sPatientOptionError);
    std::fprintf(stderr, "%s\n", sExitLine(EXIT_NOT_STARTED).c_str());
    return EXIT_NOT_STARTED;
}

bool booDicomStart(int& iStatus) {
    std::string sWhy;
    iStatus = EXIT_NOT_STARTED;
    if (!booReadDicomSettings(sSettingsPath(), platform::sProgramFolder(), App.g_tDicom, sWhy) ||
        !booSenderKeysGood(sWhy)) {
        // Told now, not when an image is already waiting to be sent.
        vMsgInfo(nullptr, sGetResText(TEXT_DICOM_SETTINGS) + "\n" + sWhy);
        vRunEnds("settings file: " + sWhy);
        return false;
    }
    if (!App.g_tDicom.booEnabled) {
        App.g_tPatient = tPatientKeys{};
        return true;
    }
    // The imaging program sent something the archive would refuse: its
    // own error, said on its own channel, before any window opens.
    if (!App.g_sPatientOptionError.empty()) {
        vRunEnds(App.g_sPatientOptionError);
        return false;
    }
    if (!App.g_tPatient.sPatientId.empty()) return true;
    switch (eChoosePatientFromWorklist()) {
        case WorklistPick::Picked:
            if (!App.g_tPatient.sPatientId.empty()) return true;
            break;
        case WorklistPick::Ended:
            iStatus = EXIT_NO_IMAGE;
            return false;
        case WorklistPick::NotAsked:
            break;
    }
    // An image that cannot be filed must not cost the patient a dose.
    vMsgInfo(nullptr, sGetResText(TEXT_NO_PATIENT));
    vRunEnds("no patient ID: [DICOM] Enabled=1 needs --patient-id");
    return false;
}
