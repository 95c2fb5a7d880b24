#include "sim/ini_keys.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/profile_string.h"

namespace sim {

std::string sIniText(const std::string& sIniPath, const char* key) {
    char buf[1024] = {};
    platform::GetPrivateProfileStringA(kIniSection, key, "", buf, sizeof buf, sIniPath.c_str());
    std::string value(buf);
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = value.find_last_not_of(" \t\r");
    return value.substr(first, last - first + 1);
}

std::optional<int64_t> lIniNumber(const std::string& sIniPath, const char* key) {
    const std::string text = sIniText(sIniPath, key);
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE) return std::nullopt;
    return value;
}

int64_t lIniNumber(const std::string& sIniPath, const char* key, int64_t deflt, int64_t lo,
                   int64_t hi) {
    const auto value = lIniNumber(sIniPath, key);
    if (!value) return deflt;
    return std::clamp(*value, lo, hi);
}

}  // namespace sim
