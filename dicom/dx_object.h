// The image as the archive files it: a Digital X-Ray Image (For
// Presentation, modality PX) made from the bitmap the sensor library wrote,
// with whom it is for, the exposure's conditions and the anatomy of the mode.
#pragma once
#include <cstdint>
#include <string>

#include "app/app_state.h"
#include "app/patient_keys.h"
#include "dicom/dicom_settings.h"

class DcmFileFormat;

// The image comment of a simulated image.
constexpr const char* kSimulatedComment = "SIMULATED - NOT FOR DIAGNOSIS";

struct tDxSource {
    tExposureNote tNote;        // mode, kV and mA sent, patient size, start time
    tPatientKeys tPatient;
    tDicomSettings tSettings;   // station, institution, pixel spacing
    std::string sBitmap;        // the written bitmap file's bytes
    bool booSimulated = false;  // the image came from the simulated sensor
    int64_t llContentMs = 0;    // when the bitmap was written (ms since 1970 UTC)
    std::string sSoftwareVersion;
};

// Builds the object with new series and instance UIDs (and a new study UID
// unless the patient keys carry one). False with the reason when the bitmap
// cannot be read or the mode has no anatomy (no exposure of this console).
bool booMakeDxObject(const tDxSource& src, DcmFileFormat& ff, std::string& sWhy);

// The object as a DICOM file (explicit VR little endian, with its meta
// header), in memory.
bool booDxFileBytes(DcmFileFormat& ff, std::string& sBytes, std::string& sWhy);
