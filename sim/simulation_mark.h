// The mark every synthetic image of the virtual sensor carries, so that it
// can never be taken for a patient's radiograph. It is burned into the
// sensor's 12-bit data at read-out, before any processing: a band across the
// top and one across the bottom, saturated (black in the picture), with the
// text repeated along it in letters that received no charge (white). No
// density window, gamma or technique turns either into the other, so the
// processed data file and the bitmap always show it.
#pragma once

#include "sim/radiograph.h"

namespace sim {

inline constexpr const char* kSimulationMark = "SIMULATED - NOT FOR DIAGNOSIS";

void vBurnSimulationMark(RawImage& raw);

}  // namespace sim
