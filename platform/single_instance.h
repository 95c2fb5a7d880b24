#pragma once
#include <string>

namespace platform {
// True when another copy of the program holding the same name is running.
// The first call takes the lock for this copy; a crashed copy leaves none.
bool booPrevInstance(const std::string& name);
void vReleaseInstance();
}  // namespace platform
