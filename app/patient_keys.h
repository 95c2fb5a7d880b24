// Whom the exposure is for and the order it was taken for: given by the
// imaging program's options or picked from the modality worklist. Texts
// are UTF-8; empty means not known.
#pragma once
#include <string>

struct tPatientKeys {
    std::string sPatientId;
    std::string sPatientName;   // DICOM person name, Family^Given
    std::string sBirthDate;     // YYYYMMDD
    std::string sSex;           // M, F or O
    std::string sAccession;
    std::string sStudyUid;      // empty: the object makes one
    // Carried from a worklist entry.
    std::string sReferringPhysician;
    std::string sRequestedProcedureId;
    std::string sRequestedProcedureDescription;
    std::string sScheduledStepId;
    std::string sScheduledStepDescription;
};
