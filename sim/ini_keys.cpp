#include "sim/ini_keys.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/link_spec.h"

namespace sim {

std::string sIniText(const std::string& sIniPath, const char* key) { return platform::sZyrPan2Text(sIniPath, key); }

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
