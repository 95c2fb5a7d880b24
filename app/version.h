// The program's name and version (the build's project version).
#pragma once
#include <string>

std::string sProgramVersion();  // "1.0.0"
std::string sVersionLine();     // "ZYR_PAN_WEQ 1.0.0"

// True when an argument is --version; every other argument is ignored.
bool booVersionAsked(int argc, const char* const* argv);
