#include "sim/simulation_mark.h"

#include <algorithm>
#include <string_view>

#include "sim/mark_font.h"

namespace sim {
namespace {

constexpr uint16_t kInk = 0;             // no charge: white after processing
constexpr uint16_t kBand = kMaxCount;    // saturated: black after processing
constexpr int32_t kRowsPerScale = 350;   // the image height that takes letters one pixel per font pixel
constexpr int32_t kBandMargin = 2;       // font pixels of band above and below the letters
constexpr int32_t kCopyGap = 2;          // blank letter cells between two copies of the text

void vFill(RawImage& raw, int32_t x, int32_t y, int32_t w, int32_t h, uint16_t value) {
    const int32_t x1 = std::min(raw.lWidth, x + w), y1 = std::min(raw.lHeight, y + h);
    for (int32_t yy = std::max(0, y); yy < y1; ++yy) {
        uint16_t* row = raw.px.data() + static_cast<size_t>(yy) * raw.lWidth;
        for (int32_t xx = std::max(0, x); xx < x1; ++xx) row[xx] = value;
    }
}

}  // namespace

void vBurnSimulationMark(RawImage& raw) {
    if (raw.lWidth <= 0 || raw.lHeight <= 0) return;
    // The letters keep their size on the sensor whatever the binning.
    const int32_t s = std::max(1, raw.lHeight / kRowsPerScale);
    const int32_t band = std::min(raw.lHeight / 2, (kGlyphHeight + 2 * kBandMargin) * s);
    const std::string_view text = kSimulationMark;
    const int32_t cell = (kGlyphWidth + 1) * s;
    const int32_t textWidth = static_cast<int32_t>(text.size()) * cell - s;
    const int32_t period = textWidth + kCopyGap * cell;
    const int32_t copies = std::max(1, (raw.lWidth + kCopyGap * cell) / period);
    const int32_t x0 = std::max(0, (raw.lWidth - (copies * period - kCopyGap * cell)) / 2);
    for (const int32_t top : {0, raw.lHeight - band}) {
        vFill(raw, 0, top, raw.lWidth, band, kBand);
        for (int32_t c = 0; c < copies; ++c) {
            for (size_t i = 0; i < text.size(); ++i) {
                const int32_t gx0 = x0 + c * period + static_cast<int32_t>(i) * cell;
                for (int32_t gy = 0; gy < kGlyphHeight; ++gy) {
                    const uint8_t bits = bytGlyphRow(text[i], gy);
                    for (int32_t gx = 0; gx < kGlyphWidth; ++gx)
                        if ((bits & (0x10 >> gx)) != 0)
                            vFill(raw, gx0 + gx * s, top + (kBandMargin + gy) * s, s, s, kInk);
                }
            }
        }
    }
}

}  // namespace sim
