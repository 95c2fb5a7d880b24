#include "console/worklist_pick.h"

#include "app/app_state.h"
#include "dialogs/worklist_choice.h"

// The operator picks the scheduled procedure; nothing is asked without a
// worklist in the settings.
WorklistPick eChoosePatientFromWorklist() {
    if (!App.g_tDicom.tWorklist.booSet()) return WorklistPick::NotAsked;
    tPatientKeys keys;
    if (iChoosePatientFromWorklist(App.g_tDicom, keys) != kWorklistPicked) return WorklistPick::Ended;
    App.g_tPatient = keys;
    return WorklistPick::Picked;
}
