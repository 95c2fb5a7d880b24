#include "app/version.h"

#include <string_view>

std::string sProgramVersion() { return ZYR_VERSION; }

std::string sVersionLine() { return "ZYR_PAN_WEQ " + sProgramVersion(); }

bool booVersionAsked(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && std::string_view(argv[i]) == "--version") return true;
    }
    return false;
}
