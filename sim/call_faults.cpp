#include "sim/call_faults.h"

#include <limits>

#include "sim/ini_keys.h"

namespace sim {

const char* sCallName(Call call) {
    static const char* const kNames[kCallCount] = {
#define ZYRWEQ_CALL(ret, name, params, args) #name,
#include "sensor/zyrpan2_calls.def"
    };
    return kNames[static_cast<size_t>(call)];
}

CallFaultTable readCallFaults(const std::string& sIniPath) {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    CallFaultTable table{};
    for (size_t i = 0; i < kCallCount; ++i) {
        const std::string key = std::string("Fail_") + sCallName(static_cast<Call>(i));
        CallFault& fault = table[i];
        fault.status = static_cast<int32_t>(
            lIniNumber(sIniPath, key.c_str(), 0, std::numeric_limits<int32_t>::min(), kMax));
        fault.skip = static_cast<uint32_t>(lIniNumber(sIniPath, (key + "_Skip").c_str(), 0, 0, kMax));
        fault.count = static_cast<uint32_t>(lIniNumber(sIniPath, (key + "_Count").c_str(), 0, 0, kMax));
    }
    return table;
}

std::optional<int32_t> CallFaults::check(Call call) {
    const size_t i = static_cast<size_t>(call);
    const uint32_t n = ++counts_[i];  // this call's number, from 1
    const CallFault& fault = table_[i];
    if (fault.status == 0 || n <= fault.skip) return std::nullopt;
    if (fault.count != 0 && n - fault.skip > fault.count) return std::nullopt;
    return fault.status;
}

void CallFaults::reset() {
    table_ = {};
    counts_ = {};
}

}  // namespace sim
