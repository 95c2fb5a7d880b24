#include "link/frames.h"

#include "sensor/zyr_lib.h"

std::string sGetCheckSum(const std::string& sText, int32_t lStart, int32_t lCount) {
    uint32_t ulSum = 0;
    for (int32_t i = 0; i < lCount; ++i) {
        const auto idx = static_cast<size_t>(lStart - 1 + i);
        if (idx >= sText.size()) break;
        ulSum += static_cast<uint8_t>(sText[idx]);
    }
    static const char kHex[] = "0123456789abcdef";
    const uint32_t ulByte = ulSum % 256;
    return {kHex[ulByte >> 4], kHex[ulByte & 0x0F]};
}

std::string sBuildFrame(const std::string& sCmd) {
    // The checksum covers the text and the blank, everything between STX and it.
    const std::string sBody = sCmd + ' ';
    return STX + sBody + sGetCheckSum(sBody, 1, static_cast<int32_t>(sBody.size())) + ETX;
}

int32_t lSendFrame(const std::string& sCmd) {
    const std::string sFrame = sBuildFrame(sCmd);
    return zyr().Ether232Send(sFrame.c_str(), static_cast<int16_t>(sFrame.size()));
}
