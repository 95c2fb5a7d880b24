// Whether the image comes from the simulated sensor: the library's section
// [ZyrPan2] chooses it with Link=sim, or Sensor=sim beside a real link (any
// case). Such an image must never pass for a patient's.
#pragma once
#include <string>

bool booSimulatedImage(const std::string& sIniPath);
