// ZYR_PAN_WEQ.DAT as the library finds it when it writes the bitmap: the
// header checked against the file, then the pixels copied into the bitmap.
#include <cstring>

#include "sim/virtual_sensor.h"
#include "tests/support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const zyrtest::TempDir dir;
    static sim::VirtualSensor sensor;
    const std::string sDat = dir.file("ZYR_PAN_WEQ.DAT");
    zyrtest::writeBytes(sDat, std::string(reinterpret_cast<const char*>(data), size));
    // The size the processing step reported: the one the header claims.
    int32_t lSize[2] = {0, 0};
    if (size >= 16) std::memcpy(lSize, data + 8, sizeof lSize);
    (void)sensor.saveBitmap(sDat.c_str(), lSize[0], lSize[1], 0, 0, dir.file("image.bmp").c_str());
    return 0;
}
