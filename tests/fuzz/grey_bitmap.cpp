// The bitmap another library may have written, read back for the image
// object, and the object made from what is accepted.
#include <dcmtk/dcmdata/dctk.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "dicom/dx_object.h"
#include "dicom/grey_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string sBytes(reinterpret_cast<const char*>(data), size);
    tGreyImage img;
    std::string sWhy;
    if (!booParseGreyBitmap(sBytes, img, sWhy)) return 0;
    if (img.abyPixels.size() != static_cast<size_t>(img.iWidth) * static_cast<size_t>(img.iHeight)) std::abort();
    tDxSource src;
    src.tNote.lModeIdx = static_cast<int32_t>(size % 3);
    src.tSettings.dPixelSpacing = 0.1;
    src.sBitmap = sBytes;
    DcmFileFormat ff;
    std::string sFile;
    if (!booMakeDxObject(src, ff, sWhy) || !booDxFileBytes(ff, sFile, sWhy)) std::abort();
    return 0;
}
