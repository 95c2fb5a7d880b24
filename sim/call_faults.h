// Chosen statuses from any of the library's calls, so that every
// failure the console knows how to show can be seen on demand. Keys in
// [ZyrPan2]: Fail_<Call>=status, Fail_<Call>_Skip=K (the first K calls
// succeed), Fail_<Call>_Count=N (then N calls fail; 0 or absent = all).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

// The calls, in the order of the list: Call::Init, Call::SetCommInit, ...
enum class Call {
#define ZYRWEQ_CALL(ret, name, params, args) name,
#include "sensor/zyrpan2_calls.def"
};
constexpr size_t kCallCount = 0
#define ZYRWEQ_CALL(ret, name, params, args) +1
#include "sensor/zyrpan2_calls.def"
    ;

// The call's name without the ZyrWeq_ prefix, as used in the keys.
const char* sCallName(Call call);

struct CallFault {
    int32_t status = 0;  // 0 = no fault
    uint32_t skip = 0;
    uint32_t count = 0;  // 0 = every call after the skipped ones
};
using CallFaultTable = std::array<CallFault, kCallCount>;

CallFaultTable readCallFaults(const std::string& sIniPath);

// Counts the calls of each function for the life of the library; a new
// table (the console calls ZyrWeq_Init at each connection) keeps the counts.
class CallFaults {
public:
    void configure(const CallFaultTable& table) { table_ = table; }
    // Counts this call; the status to return instead of doing it, if any.
    std::optional<int32_t> check(Call call);
    uint32_t calls(Call call) const { return counts_[static_cast<size_t>(call)]; }
    void reset();

private:
    CallFaultTable table_{};
    std::array<uint32_t, kCallCount> counts_{};
};

}  // namespace sim
