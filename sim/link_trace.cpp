#include "sim/link_trace.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "sim/byte_trace.h"

namespace sim {
namespace {

// "14:03:27.512": the wall clock, which the engineer compares with the
// operator's account of the session (the tick count means nothing to them).
std::string sTimeOfDay() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    ::localtime_r(&ts.tv_sec, &local);
    char buf[32];
    const size_t n = std::strftime(buf, sizeof buf, "%H:%M:%S", &local);
    std::snprintf(buf + n, sizeof buf - n, ".%03ld", ts.tv_nsec / 1000000);
    return buf;
}

std::string sToday() {
    const time_t now = ::time(nullptr);
    tm local{};
    ::localtime_r(&now, &local);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &local);
    return buf;
}

}  // namespace

void LinkTrace::vConfigure(const std::string& sTarget) {
    // The same target again (every reconnection reads the key): the trace
    // goes on, and a file that could not be opened is not tried again.
    if (sTarget == target_) return;
    vClose();
    target_ = sTarget;
    if (sTarget.empty()) return;
    if (sTarget == "stderr") {
        out_ = stderr;
    } else if ((out_ = std::fopen(sTarget.c_str(), "ae")) == nullptr) {
        // The console shows no trace trouble; the engineer who asked for the
        // trace looks at the terminal.
        std::fprintf(stderr, "libZyrPan2: cannot write the trace to %s: %s\n", sTarget.c_str(), std::strerror(errno));
        return;
    }
    vLine("trace of the unit link, " + sToday() + ", process " + std::to_string(::getpid()) +
          "; <- console to unit, -> unit to console");
}

void LinkTrace::vToUnit(std::string_view bytes) { vLine(sTraceLine("<-", bytes)); }

void LinkTrace::vFromUnit(std::string_view bytes) { vLine(sTraceLine("->", bytes)); }

void LinkTrace::vLine(const std::string& sText) {
    if (out_ == nullptr) return;
    // One write per line, flushed at once: a crash keeps every line before it.
    const std::string line = sTimeOfDay() + " " + sText + "\n";
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
}

void LinkTrace::vClose() {
    if (out_ != nullptr && out_ != stderr) std::fclose(out_);
    out_ = nullptr;
    target_.clear();
}

}  // namespace sim
