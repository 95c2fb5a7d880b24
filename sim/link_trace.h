// The service trace of the unit link ([ZyrPan2] Trace=stderr, or Trace=1
// for a file of this run in the user's state folder, see trace_file.h):
// every byte both ways, each chunk on one line after the local time to the
// millisecond, in zyrpan-unit's format, so the two traces of one session
// read alike:
//   14:03:27.512 <- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]
//   14:03:27.513 -> 06  [ACK]
// "<-" went from the console to the unit, "->" from the unit to the console.
// Events of the link (opened, refused, lost, released) are lines of words;
// text in them that came from outside is escaped (sTraceText).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace sim {

// A trace file ends at this size, with one line saying so.
inline constexpr uint64_t kTraceFileCap = 4u << 20;

class LinkTrace {
public:
    LinkTrace() = default;
    ~LinkTrace() { vClose(); }
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // The value of the Trace key: empty turns the trace off, "stderr" writes
    // to the standard error, "1" to a new file in the user's state folder;
    // any other value (a path above all) is refused with one zyr.lib line
    // on the standard error, and nothing is traced.
    void vConfigure(const std::string& sTarget);
    bool booOn() const { return out_ != nullptr; }

    void vToUnit(std::string_view bytes);
    void vFromUnit(std::string_view bytes);
    void vEvent(const std::string& sText);

private:
    void vLine(const std::string& sText);
    void vClose();

    std::string target_;
    FILE* out_ = nullptr;
    uint64_t written_ = 0;  // bytes in the file (the standard error has no cap)
};

}  // namespace sim
