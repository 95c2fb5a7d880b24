#include "sim/simulation_mark.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "sim/mark_font.h"

namespace sim {
namespace {

constexpr uint16_t kInk = 0;             // no charge: white after processing
constexpr uint16_t kRing = kMaxCount;    // saturated: black after processing
constexpr int32_t kRowsPerScale = 350;   // the image height that takes letters one pixel per font pixel
// In font pixels: rows of the text this far apart (a fifth of the height, so
// a quarter of it always holds a whole row), copies in a row this far apart
// (at most a quarter of the narrowest image, a single TMJ view).
constexpr int32_t kRowPeriod = 70;
constexpr int32_t kCopyGap = 24;

enum : uint8_t { kNone, kRinged, kLetter };

// One row of copies of the text in font pixels, letters ringed by one pixel:
// kGlyphHeight + 2 rows of `width` cells, the first copy starting at x0.
std::vector<uint8_t> markRow(int32_t width, int32_t x0) {
    const int32_t h = kGlyphHeight + 2;
    std::vector<uint8_t> cells(static_cast<size_t>(width) * h, kNone);
    const std::string_view text = kSimulationMark;
    const int32_t cell = kGlyphWidth + 1;
    const int32_t period = static_cast<int32_t>(text.size()) * cell - 1 + kCopyGap;
    auto at = [&](int32_t x, int32_t y) -> uint8_t& { return cells[static_cast<size_t>(y) * width + x]; };
    for (int32_t start = x0 - period * (x0 / period + 1); start < width; start += period) {
        for (size_t i = 0; i < text.size(); ++i) {
            for (int32_t gy = 0; gy < kGlyphHeight; ++gy) {
                const uint8_t bits = bytGlyphRow(text[i], gy);
                for (int32_t gx = 0; gx < kGlyphWidth; ++gx) {
                    const int32_t x = start + static_cast<int32_t>(i) * cell + gx, y = gy + 1;
                    if ((bits & (0x10 >> gx)) == 0 || x < 0 || x >= width) continue;
                    for (int32_t ry = y - 1; ry <= y + 1; ++ry)
                        for (int32_t rx = std::max(0, x - 1); rx <= std::min(width - 1, x + 1); ++rx)
                            if (at(rx, ry) == kNone) at(rx, ry) = kRinged;
                    at(x, y) = kLetter;
                }
            }
        }
    }
    return cells;
}

}  // namespace

void vBurnSimulationMark(RawImage& raw) {
    if (raw.lWidth <= 0 || raw.lHeight <= 0) return;
    // The letters keep their size on the sensor whatever the binning.
    const int32_t s = std::max(1, raw.lHeight / kRowsPerScale);
    const int32_t width = (raw.lWidth + s - 1) / s, height = (raw.lHeight + s - 1) / s;
    const int32_t rowHeight = kGlyphHeight + 2;
    const int32_t halfCopy = (static_cast<int32_t>(std::string_view(kSimulationMark).size()) * (kGlyphWidth + 1) +
                              kCopyGap) / 2;
    for (int32_t k = 0, top = (kRowPeriod - rowHeight) / 2; top < height; ++k, top += kRowPeriod) {
        const std::vector<uint8_t> cells = markRow(width, kCopyGap / 2 + (k % 2) * halfCopy);
        for (int32_t fy = 0; fy < rowHeight; ++fy) {
            for (int32_t fx = 0; fx < width; ++fx) {
                const uint8_t c = cells[static_cast<size_t>(fy) * width + fx];
                if (c == kNone) continue;
                const uint16_t value = c == kLetter ? kInk : kRing;
                for (int32_t y = (top + fy) * s; y < std::min(raw.lHeight, (top + fy + 1) * s); ++y) {
                    uint16_t* row = raw.px.data() + static_cast<size_t>(y) * raw.lWidth;
                    for (int32_t x = fx * s; x < std::min(raw.lWidth, (fx + 1) * s); ++x) row[x] = value;
                }
            }
        }
    }
}

}  // namespace sim
