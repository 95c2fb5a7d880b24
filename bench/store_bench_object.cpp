#include "bench/store_bench_object.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

uint32_t u32(const std::vector<unsigned char>& b, size_t i) {
    return b[i] | (b[i + 1] << 8) | (b[i + 2] << 16) | (static_cast<uint32_t>(b[i + 3]) << 24);
}

void vSync(const std::string& sPath, int iFlags) {
    const int fd = open(sPath.c_str(), iFlags | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool booSpoolObjectFromBitmap(const std::string& sBmp, const std::string& sSpool, std::string& sWhy) {
    std::ifstream in(sBmp, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || b[28] != 8) {
        sWhy = sBmp + " is no 8-bit bitmap";
        return false;
    }
    const uint32_t off = u32(b, 10), w = u32(b, 18), h = u32(b, 22);
    const uint32_t stride = (w + 3) & ~3u;
    if (w == 0 || h == 0 || off + static_cast<uint64_t>(stride) * h > b.size()) {
        sWhy = sBmp + " is cut short";
        return false;
    }
    std::vector<Uint8> px(static_cast<size_t>(w) * h);
    for (uint32_t y = 0; y < h; ++y)  // bottom-up rows
        std::copy_n(&b[off + static_cast<size_t>(h - 1 - y) * stride], w, &px[static_cast<size_t>(y) * w]);

    char uid[100];
    dcmGenerateUniqueIdentifier(uid, "2.25.");
    DcmFileFormat ff;
    DcmDataset* d = ff.getDataset();
    d->putAndInsertString(DCM_SpecificCharacterSet, "ISO_IR 192");
    d->putAndInsertString(DCM_SOPClassUID, UID_DigitalXRayImageStorageForPresentation);
    d->putAndInsertString(DCM_SOPInstanceUID, uid);
    d->putAndInsertString(DCM_StudyInstanceUID, (std::string(uid) + "1").c_str());
    d->putAndInsertString(DCM_SeriesInstanceUID, (std::string(uid) + "2").c_str());
    d->putAndInsertString(DCM_PatientID, "BENCH");
    d->putAndInsertString(DCM_PatientName, "Bench^Patient");
    d->putAndInsertString(DCM_Modality, "PX");
    d->putAndInsertString(DCM_ImageType, "ORIGINAL\\PRIMARY");
    d->putAndInsertString(DCM_PresentationIntentType, "FOR PRESENTATION");
    d->putAndInsertUint16(DCM_SamplesPerPixel, 1);
    d->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
    d->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(h));
    d->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(w));
    d->putAndInsertUint16(DCM_BitsAllocated, 8);
    d->putAndInsertUint16(DCM_BitsStored, 8);
    d->putAndInsertUint16(DCM_HighBit, 7);
    d->putAndInsertUint16(DCM_PixelRepresentation, 0);
    d->putAndInsertUint8Array(DCM_PixelData, px.data(), static_cast<unsigned long>(px.size()));
    const std::string sTemp = sSpool + "/." + uid + ".tmp";
    const std::string sPath = sSpool + "/" + uid + ".dcm";
    const OFCondition c = ff.saveFile(sTemp.c_str(), EXS_LittleEndianExplicit);
    if (c.bad()) {
        sWhy = std::string("cannot write ") + sTemp + ": " + c.text();
        return false;
    }
    vSync(sTemp, O_RDONLY);
    if (std::rename(sTemp.c_str(), sPath.c_str()) != 0) {
        sWhy = "cannot rename " + sTemp;
        return false;
    }
    vSync(sSpool, O_RDONLY | O_DIRECTORY);
    return true;
}
