#include "console/worklist_start.h"

#include "app/app_state.h"
#include "app/settings.h"
#include "console/startup.h"
#include "dialogs/worklist_choice.h"
#include "platform/program_folder.h"

int iWorklistAtStart() {
    tDicomSettings t;
    std::string sWhy;
    // A [DICOM] section with bad values is the DICOM start-up check's to report.
    if (!booReadDicomSettings(sSettingsPath(), platform::sProgramFolder(), t, sWhy)) return 0;
    if (!t.booEnabled || !t.tWorklist.booSet() || !App.g_tPatient.sPatientId.empty()) return 0;
    tPatientKeys keys;
    if (iChoosePatientFromWorklist(t, keys) != kWorklistPicked) return EXIT_NO_IMAGE;
    App.g_tPatient = keys;
    return 0;
}
