// The mark every synthetic image of the virtual sensor carries, so that it
// can never be taken for a patient's radiograph. It is burned into the
// sensor's 12-bit data at read-out, before any processing, and repeated over
// the whole image: rows of the text, each row shifted by half a copy against
// the one above, close enough that any part of a quarter of the width and a
// quarter of the height holds letters. The letters received no charge
// (white in the picture) and each is ringed by saturated pixels (black), so
// that whatever the anatomy behind them and whatever density window or
// gamma is applied, one of the two shows. Between the rows the radiograph is
// untouched.
#pragma once

#include "sim/radiograph.h"

namespace sim {

inline constexpr const char* kSimulationMark = "SIMULATED - NOT FOR DIAGNOSIS";

void vBurnSimulationMark(RawImage& raw);

}  // namespace sim
