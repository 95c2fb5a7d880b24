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

DensityMapper::DensityMapper(const RawImage& raw) : raw_(raw)
{
    // Indexing a table by count minus dark level: counts below their row's
    // dark level land in a run of entries equal to the one for 0.
    for (int32_t lOpen : raw.openLevels) {
        const std::vector<uint8_t> lut = densityLut(std::max(1, lOpen));
        std::vector<uint8_t> padded(2 * (kMaxCount + 1), lut[0]);
        std::copy(lut.begin(), lut.end(), padded.begin() + kMaxCount + 1);
        luts_.push_back(std::move(padded));
    }
}

void DensityMapper::row(int32_t y, uint8_t* dst) const
{
    const uint16_t* src = raw_.px.data() + static_cast<size_t>(y) * raw_.lWidth;
    const int32_t dark = raw_.rowDark[static_cast<size_t>(y)];
    for (size_t v = 0; v < luts_.size(); ++v) {
        const uint8_t* __restrict l = luts_[v].data() + (kMaxCount + 1) - dark;
        const int32_t x0 = static_cast<int32_t>(v) * raw_.lViewWidth;
        const int32_t x1 = v + 1 == luts_.size() ? raw_.lWidth : x0 + raw_.lViewWidth;
        const uint16_t* __restrict s = src + x0;
        uint8_t* __restrict d = dst + x0;
        const int32_t n = x1 - x0;
        int32_t i = 0;
        // Eight independent look-ups per round keep the loads in flight.
        for (; i + 8 <= n; i += 8) {
            d[i] = l[s[i]], d[i + 1] = l[s[i + 1]], d[i + 2] = l[s[i + 2]], d[i + 3] = l[s[i + 3]];
            d[i + 4] = l[s[i + 4]], d[i + 5] = l[s[i + 5]], d[i + 6] = l[s[i + 6]], d[i + 7] = l[s[i + 7]];
        }
        for (; i < n; ++i) d[i] = l[s[i]];
    }
}

std::vector<uint8_t> processedTopDown(const RawImage& raw)
{
    std::vector<uint8_t> out(static_cast<size_t>(raw.lWidth) * raw.lHeight);
    const DensityMapper mapper(raw);
    for (int32_t y = 0; y < raw.lHeight; ++y) mapper.row(y, out.data() + static_cast<size_t>(y) * raw.lWidth);
    return out;
}

}  // namespace sim
