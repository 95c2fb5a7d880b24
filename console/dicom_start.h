// The archive at start: with [DICOM] Enabled=1 every image must be fileable,
// so the console learns whom it is for before the unit hears of it.
#pragma once

// Reads the patient options of the command line (before anything else; the
// verdict waits for the settings): the keys into App.g_tPatient, the first
// malformed option into App.g_sPatientOptionError.
void vNotePatientOptions(int argc, const char* const* argv);

// With [DICOM] Enabled=1, a malformed patient option ends the program before
// the toolkit starts (so also where no display can be opened): its exit line
// is printed and the status returned. 0 when the run goes on.
int iRefusedPatientOptions();

// Reads [DICOM] into App.g_tDicom and decides whom the image is for. False
// when the run must end before it starts; iStatus is then its exit status
// and the reason is noted for the exit line. Without Enabled=1 the patient
// options are dropped, malformed or not: the console runs as without them.
bool booDicomStart(int& iStatus);
