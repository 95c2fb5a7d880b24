// Processing of the sensor's 12-bit data into the 8-bit image the operator
// sees: each row's dark level taken off, the counts turned into density
// (the logarithm of the calibrated open-field level over the count, so that
// thicker or denser anatomy reads brighter), a fixed density window and a
// gamma. A fixed window keeps what kV does to the contrast visible.
#pragma once
#include <cstdint>
#include <vector>

#include "sim/radiograph.h"

namespace sim {

// The density window: density kDensityLow is black, kDensityLow +
// kDensityRange white, with a gamma between.
inline constexpr double kDensityLow = 0.2;
inline constexpr double kDensityRange = 2.3;
inline constexpr double kGamma = 0.85;

// 8-bit value for each dark-corrected count 0..4095.
std::vector<uint8_t> densityLut(int32_t lOpenLevel);

// Turns the image's rows into 8-bit rows, one table per image (each for its
// own kV and mA), so the whole picture costs a table look-up per pixel.
class DensityMapper {
public:
    explicit DensityMapper(const RawImage& raw);
    // Row y (0 = top) into dst, lWidth bytes.
    void row(int32_t y, uint8_t* dst) const;

private:
    const RawImage& raw_;
    std::vector<std::vector<uint8_t>> luts_;
};

// The processed image top row first, rows unpadded (for viewing and tests).
std::vector<uint8_t> processedTopDown(const RawImage& raw);

}  // namespace sim
