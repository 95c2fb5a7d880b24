#include "dicom/simulated_image.h"

#include <strings.h>

#include "platform/profile_string.h"

namespace {
std::string sKey(const std::string& sIni, const char* sName) {
    char buf[256] = {};
    platform::GetPrivateProfileStringA("ZyrPan2", sName, "", buf, sizeof buf, sIni.c_str());
    std::string s = buf;
    const auto b = s.find_first_not_of(" \t");
    const auto e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}
}  // namespace

bool booSimulatedImage(const std::string& sIni) {
    return ::strcasecmp(sKey(sIni, "Link").c_str(), "sim") == 0 || ::strcasecmp(sKey(sIni, "Sensor").c_str(), "sim") == 0;
}
