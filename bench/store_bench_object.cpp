#include "bench/store_bench_object.h"

#include <dcmtk/dcmdata/dctk.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "dicom/dx_object.h"
#include "dicom/spool_write.h"

// The console's own steps after an exposure: the object made from the
// written bitmap, then the atomic spool write.
bool booSpoolObjectFromBitmap(const std::string& sBmp, const std::string& sSpool, std::string& sWhy) {
    tDxSource src;
    std::ifstream in(sBmp, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    src.sBitmap = bytes.str();
    src.tNote.lModeIdx = 0;
    src.tNote.lVolt = 70;
    src.tNote.lElec = 4;
    src.tNote.lSize = 1;
    src.llContentMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::system_clock::now().time_since_epoch()).count();
    src.tNote.llStartMs = src.llContentMs;
    src.tPatient.sPatientId = "BENCH-1";
    src.tPatient.sPatientName = "Bench^Patient";
    src.tSettings.booEnabled = true;
    src.tSettings.dPixelSpacing = 0.1;
    src.sSoftwareVersion = "bench";
    DcmFileFormat ff;
    std::string sBytes;
    if (!booMakeDxObject(src, ff, sWhy) || !booDxFileBytes(ff, sBytes, sWhy)) return false;
    OFString sUid;
    ff.getDataset()->findAndGetOFString(DCM_SOPInstanceUID, sUid);
    return booSpoolWrite(sSpool, std::string(sUid.c_str()) + ".dcm", sBytes, sWhy);
}
