// Reading the library's own keys of section [ZyrPan2]. The library and
// zyrpan-unit read that section; the console only its Link, to name the
// serial device's group when the library may not open it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

constexpr const char* kIniSection = "ZyrPan2";

// The key's value with surrounding blanks removed; empty when absent.
std::string sIniText(const std::string& sIniPath, const char* key);

// The key's leading whole number (sign allowed); nullopt when absent or
// not a number, so that the caller keeps its default.
std::optional<int64_t> lIniNumber(const std::string& sIniPath, const char* key);

// The number, kept within lo..hi, or the default when absent.
int64_t lIniNumber(const std::string& sIniPath, const char* key, int64_t deflt, int64_t lo,
                   int64_t hi);

}  // namespace sim
