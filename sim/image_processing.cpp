#include "sim/image_processing.h"

#include <algorithm>
#include <cmath>

namespace sim {

std::vector<uint8_t> densityLut(int32_t lOpen)
{
    std::vector<uint8_t> lut(kMaxCount + 1);
    for (int32_t c = 0; c <= kMaxCount; ++c) {
        const double d = std::log(static_cast<double>(lOpen) / std::max(0.5, static_cast<double>(c)));
        const double t = std::clamp((d - kDensityLow) / kDensityRange, 0.0, 1.0);
        lut[static_cast<size_t>(c)] = static_cast<uint8_t>(std::lround(255.0 * std::pow(t, kGamma)));
    }
    return lut;
}

void processInto(const RawImage& raw, uint8_t* pDst, int32_t lStride)
{
    const std::vector<uint8_t> lut = densityLut(std::max(1, raw.lOpenLevel));
    // Indexing the table by count minus dark level: a count below its
    // row's dark level is clamped to 0 by a table entry per dark step.
    std::vector<uint8_t> padded(kMaxCount + 1 + kMaxCount + 1, lut[0]);
    std::copy(lut.begin(), lut.end(), padded.begin() + kMaxCount + 1);
    const uint8_t* base = padded.data() + kMaxCount + 1;
    for (int32_t y = 0; y < raw.lHeight; ++y) {
        const uint16_t* src = raw.px.data() + static_cast<size_t>(y) * raw.lWidth;
        uint8_t* dst = pDst + static_cast<size_t>(raw.lHeight - 1 - y) * static_cast<size_t>(lStride);
        const uint8_t* l = base - raw.rowDark[static_cast<size_t>(y)];
        for (int32_t x = 0; x < raw.lWidth; ++x) dst[x] = l[src[x]];
    }
}

std::vector<uint8_t> processedTopDown(const RawImage& raw)
{
    std::vector<uint8_t> out(static_cast<size_t>(raw.lWidth) * raw.lHeight);
    if (raw.lHeight > 0) {
        std::vector<uint8_t> up(out.size());
        processInto(raw, up.data(), raw.lWidth);
        for (int32_t y = 0; y < raw.lHeight; ++y)
            std::copy_n(up.data() + static_cast<size_t>(raw.lHeight - 1 - y) * raw.lWidth, raw.lWidth,
                        out.data() + static_cast<size_t>(y) * raw.lWidth);
    }
    return out;
}

}  // namespace sim
