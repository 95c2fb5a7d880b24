#pragma once
#include <string>

namespace platform {
// Folder of the running executable, without a trailing '/'.
std::string sProgramFolder();
// Tests point it elsewhere; empty = the executable's folder again.
void vSetProgramFolder(const std::string& folder);
}  // namespace platform
