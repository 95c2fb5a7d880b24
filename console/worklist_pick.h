// Whom the image is for when the imaging program named no patient: the
// operator picks a scheduled procedure from the modality worklist.
#pragma once

enum class WorklistPick {
    NotAsked,  // no worklist is set up: there is no one to pick
    Picked,    // App.g_tPatient holds the picked entry's keys
    Ended,     // the operator cancelled: the run ends without an image (status 1), its reason noted
};

// Asks the worklist of [DICOM] Worklist (App.g_tDicom) before the console
// connects to the unit.
WorklistPick eChoosePatientFromWorklist();
