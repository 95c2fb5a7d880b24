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
    // One table per image, each for its own kV and mA. Indexing a table by
    // count minus dark level: counts below their row's dark level land in a
    // run of entries equal to the one for 0.
    const size_t lViews = raw.openLevels.size();
    std::vector<std::vector<uint8_t>> luts;
    for (int32_t lOpen : raw.openLevels) {
        const std::vector<uint8_t> lut = densityLut(std::max(1, lOpen));
        std::vector<uint8_t> padded(2 * (kMaxCount + 1), lut[0]);
        std::copy(lut.begin(), lut.end(), padded.begin() + kMaxCount + 1);
        luts.push_back(std::move(padded));
    }
    for (int32_t y = 0; y < raw.lHeight; ++y) {
        const uint16_t* src = raw.px.data() + static_cast<size_t>(y) * raw.lWidth;
        uint8_t* dst = pDst + static_cast<size_t>(raw.lHeight - 1 - y) * static_cast<size_t>(lStride);
        const int32_t dark = raw.rowDark[static_cast<size_t>(y)];
        for (size_t v = 0; v < lViews; ++v) {
            const uint8_t* l = luts[v].data() + (kMaxCount + 1) - dark;
            const int32_t x0 = static_cast<int32_t>(v) * raw.lViewWidth;
            const int32_t x1 = v + 1 == lViews ? raw.lWidth : x0 + raw.lViewWidth;
            for (int32_t x = x0; x < x1; ++x) dst[x] = l[src[x]];
        }
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
