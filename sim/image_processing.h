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

// Writes the processed image as bottom-up rows of lStride bytes (the row
// padding is left as it is).
void processInto(const RawImage& raw, uint8_t* pDst, int32_t lStride);

// The processed image top row first, rows unpadded (for viewing and tests).
std::vector<uint8_t> processedTopDown(const RawImage& raw);

}  // namespace sim
