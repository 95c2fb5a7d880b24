// The patient from the modality worklist, asked at start when [DICOM] names
// a worklist and the imaging program gave no patient ID: before the unit is
// connected, so that a run without a patient costs no exposure.
#pragma once
#include <functional>
#include <string>

#include "app/patient_keys.h"
#include "dicom/dicom_settings.h"
#include "dicom/worklist_query.h"

// What the choice came to.
constexpr int kWorklistPicked = 0;      // out holds the entry's keys
constexpr int kWorklistCancelled = 1;   // the operator closed the list (empty or not) without a pick
constexpr int kWorklistNotReached = 2;  // the worklist could not be asked and the operator gave up

// Asks the worklist of t (Worklist, StationAE, today's date), lets the
// operator pick from the list, and tells the run's end why it ends when it
// does (the exit line). A failed query shows its reason with Retry and Cancel.
int iChoosePatientFromWorklist(const tDicomSettings& t, tPatientKeys& out);

// The same over any way of asking (tests).
using WorklistAsk = std::function<tWorklistResult()>;
int iChooseFromWorklist(const WorklistAsk& ask, const std::string& sPeer, const std::string& sStation,
                        int iTimeoutSeconds, tPatientKeys& out);
