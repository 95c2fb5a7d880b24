#include "dicom/store_tuning.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/profile_string.h"

namespace {

std::string sRead(const std::string& sIni, const char* sKey) {
    char buf[256] = {};
    platform::GetPrivateProfileStringA("DICOM", sKey, "", buf, sizeof buf, sIni.c_str());
    std::string s = buf;
    const auto b = s.find_first_not_of(" \t");
    const auto e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A number in [dMin, dMax]; an absent key keeps dOut.
bool booNumber(const std::string& sIni, const char* sKey, double dMin, double dMax, double& dOut,
               std::string& sWhy) {
    const std::string s = sRead(sIni, sKey);
    if (s.empty()) return true;
    char* end = nullptr;
    const double d = std::strtod(s.c_str(), &end);
    if (*end != '\0' || !std::isfinite(d) || d < dMin || d > dMax) {
        char range[96];
        std::snprintf(range, sizeof range, ": a number from %g to %g", dMin, dMax);
        sWhy = std::string("[DICOM] ") + sKey + "=" + s + range;
        return false;
    }
    dOut = d;
    return true;
}

}  // namespace

bool booReadStoreTuning(const std::string& sIni, tStoreTuning& t, std::string& sWhy) {
    t = tStoreTuning{};
    double dTries = t.iTries;
    double dTimeout = t.iTimeoutSeconds;
    double dPort = 0;
    if (!booNumber(sIni, "RetrySeconds", 0.01, 3600, t.dRetrySeconds, sWhy) ||
        !booNumber(sIni, "CommitPort", 1, 65535, dPort, sWhy) ||
        !booNumber(sIni, "CommitWaitSeconds", 0.1, 86400, t.dCommitWaitSeconds, sWhy) ||
        !booNumber(sIni, "RetryMaxSeconds", 0.01, 3600, t.dRetryMaxSeconds, sWhy) ||
        !booNumber(sIni, "Tries", 1, 1000, dTries, sWhy) ||
        !booNumber(sIni, "TimeoutSeconds", 1, 600, dTimeout, sWhy))
        return false;
    for (auto [d, sKey] : {std::pair{dTries, "Tries"}, std::pair{dTimeout, "TimeoutSeconds"}, std::pair{dPort, "CommitPort"}})
        if (d != std::floor(d)) {
            sWhy = std::string("[DICOM] ") + sKey + ": a whole number";
            return false;
        }
    if (t.dRetryMaxSeconds < t.dRetrySeconds) {
        sWhy = "[DICOM] RetryMaxSeconds: at least RetrySeconds";
        return false;
    }
    t.iTries = static_cast<int>(dTries);
    t.iTimeoutSeconds = static_cast<int>(dTimeout);
    t.iCommitPort = static_cast<int>(dPort);
    return true;
}
