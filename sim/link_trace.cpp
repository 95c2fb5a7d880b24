#include "sim/link_trace.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "sim/byte_trace.h"
#include "sim/trace_file.h"

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

// The library's service lines go where the console's zyr.lib category
// prints: the standard error, which the engineer who set Trace looks at.
void vLibLog(const std::string& sText) { std::fprintf(stderr, "zyr.lib: %s\n", sText.c_str()); }

constexpr const char* kCapLine = "trace ends here: the file reached its size limit (the next run starts a new file)";
// Room kept below the cap for that line and its time.
constexpr uint64_t kCapRoom = 128;

}  // namespace

void LinkTrace::vConfigure(const std::string& sTarget) {
    // The same value again (every reconnection reads the key): the trace
    // goes on in the same file, and a refusal is not repeated.
    if (sTarget == target_) return;
    vClose();
    target_ = sTarget;
    if (sTarget.empty()) return;
    if (sTarget == "stderr") {
        out_ = stderr;
    } else if (sTarget == "1") {
        const TraceFile file = openRunTraceFile();
        if (file.fd < 0 || (out_ = ::fdopen(file.fd, "w")) == nullptr) {
            if (file.fd >= 0) ::close(file.fd);
            vLibLog("no trace: " + sTraceText(file.path) + ": " + file.why);
            return;
        }
        vLibLog("trace of the unit link in " + sTraceText(file.path));
    } else {
        // The settings file is shared by every operator: a name in it must
        // not make this user's library write to another user's files.
        vLibLog("Trace=" + sTraceText(sTarget) + " refused: only Trace=1 (a file in " + sTraceText(sTraceFolder()) +
                ") or Trace=stderr; nothing is traced");
        return;
    }
    vLine("trace of the unit link, " + sToday() + ", process " + std::to_string(::getpid()) +
          "; <- console to unit, -> unit to console");
}

void LinkTrace::vToUnit(std::string_view bytes) { vLine(sTraceLine("<-", bytes)); }

void LinkTrace::vFromUnit(std::string_view bytes) { vLine(sTraceLine("->", bytes)); }

void LinkTrace::vEvent(const std::string& sText) { vLine(sTraceText(sText)); }

void LinkTrace::vLine(const std::string& sText) {
    if (out_ == nullptr) return;
    // One write per line, flushed at once: a crash keeps every line before it.
    std::string line = sTimeOfDay() + " " + sText + "\n";
    const bool booFile = out_ != stderr;
    if (booFile && written_ + line.size() > kTraceFileCap - kCapRoom) {
        line = sTimeOfDay() + " " + kCapLine + "\n";
        std::fwrite(line.data(), 1, line.size(), out_);
        vClose();  // target_ stays: the run's trace is over, not begun again
        return;
    }
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
    written_ += line.size();
}

void LinkTrace::vClose() {
    if (out_ != nullptr && out_ != stderr) std::fclose(out_);
    out_ = nullptr;
    written_ = 0;
}

}  // namespace sim
