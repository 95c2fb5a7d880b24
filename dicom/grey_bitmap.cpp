#include "dicom/grey_bitmap.h"

namespace {
uint32_t ulAt(const std::string& s, size_t i, int n) {
    uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(s[i + k]);
    return v;
}
}  // namespace

bool booParseGreyBitmap(const std::string& s, tGreyImage& t, std::string& sWhy) {
    if (s.size() < 54 || s[0] != 'B' || s[1] != 'M') {
        sWhy = "not a bitmap file";
        return false;
    }
    const uint64_t ullOffBits = ulAt(s, 10, 4);
    const uint64_t ullInfoSize = ulAt(s, 14, 4);
    const int32_t lWidth = static_cast<int32_t>(ulAt(s, 18, 4));
    const int32_t lHeight = static_cast<int32_t>(ulAt(s, 22, 4));
    const uint32_t ulBits = ulAt(s, 28, 2);
    const uint32_t ulCompression = ulAt(s, 30, 4);
    uint64_t ullColours = ulAt(s, 46, 4);
    if (ullInfoSize < 40 || ulBits != 8 || ulCompression != 0 || ulAt(s, 26, 2) != 1) {
        sWhy = "not an uncompressed 8-bit bitmap";
        return false;
    }
    // A negative height is a bitmap stored top row first.
    const bool booTopDown = lHeight < 0;
    const int64_t llHeight = booTopDown ? -static_cast<int64_t>(lHeight) : lHeight;
    if (lWidth < 1 || lWidth > 65535 || llHeight < 1 || llHeight > 65535) {
        sWhy = "a bitmap size outside 1 to 65535 pixels a side";
        return false;
    }
    if (ullColours == 0) ullColours = 256;
    const uint64_t ullPalette = 14 + ullInfoSize;
    if (ullColours > 256 || ullPalette + 4 * ullColours > s.size()) {
        sWhy = "a bitmap palette cut short or over 256 colours";
        return false;
    }
    const uint64_t ullStride = (static_cast<uint64_t>(lWidth) + 3) & ~uint64_t{3};
    if (ullOffBits < ullPalette + 4 * ullColours || ullOffBits + ullStride * llHeight > s.size()) {
        sWhy = "bitmap pixels cut short";
        return false;
    }
    // Each palette entry's brightness: the grey itself, or the luminance of a
    // colour (blue, green, red order in the file).
    uint8_t abyGrey[256] = {};
    for (uint64_t i = 0; i < ullColours; ++i) {
        const unsigned b = static_cast<unsigned char>(s[ullPalette + 4 * i]);
        const unsigned g = static_cast<unsigned char>(s[ullPalette + 4 * i + 1]);
        const unsigned r = static_cast<unsigned char>(s[ullPalette + 4 * i + 2]);
        abyGrey[i] = static_cast<uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
    }
    tGreyImage out;
    out.iWidth = lWidth;
    out.iHeight = static_cast<int>(llHeight);
    out.abyPixels.resize(static_cast<size_t>(lWidth) * static_cast<size_t>(llHeight));
    for (int64_t y = 0; y < llHeight; ++y) {
        const uint64_t ullRow = ullOffBits + ullStride * static_cast<uint64_t>(booTopDown ? y : llHeight - 1 - y);
        uint8_t* pOut = &out.abyPixels[static_cast<size_t>(y) * static_cast<size_t>(lWidth)];
        for (int32_t x = 0; x < lWidth; ++x) {
            const unsigned char c = static_cast<unsigned char>(s[ullRow + x]);
            if (c >= ullColours) {
                sWhy = "a bitmap pixel outside its palette";
                return false;
            }
            pOut[x] = abyGrey[c];
        }
    }
    t = std::move(out);
    return true;
}
