// The five clips of the console's animation areas, drawn frame by frame.
#pragma once

#include <string>
#include <vector>

#include "tools/make_clips_avi.h"

namespace clips {

// START plays over the READY button (180 x 140 pixels); the progress clips
// STARTIMG, TAKEIMG, GETIMG and PROIMG fill the progress area (400 x 140).
std::vector<std::string> clipNames();

// The clip of that name; no frames for a name that is not ours.
// Needs a running QGuiApplication for the lettering.
tClip drawClip(const std::string& name);

}  // namespace clips
