#pragma once
#include <string>

namespace platform {
// The folder for temporary files, ending with '/': $TMPDIR, else /tmp/.
std::string GetTempPathA();
}  // namespace platform
