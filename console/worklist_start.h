// The worklist step of the start: with [DICOM] Enabled=1, a Worklist and no
// patient ID from the imaging program, the operator picks the patient before
// the library is loaded and any byte goes to the unit.
#pragma once

// 0 to go on (App.g_tPatient holds the pick, or nothing was to be asked);
// otherwise the exit status to end with (the reason is recorded).
int iWorklistAtStart();
