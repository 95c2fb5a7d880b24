// One console per unit: the unit is the one its settings file names, so a
// console that runs holds its settings file, whoever started it.
#pragma once
#include <string>

namespace platform {
// True when another console runs on the same settings file, under any user
// (two names of one file, through links, are the same file). The first call
// takes the hold for this copy; a crashed copy leaves none.
bool booPrevInstance(const std::string& sSettingsFile);
void vReleaseInstance();
}  // namespace platform
