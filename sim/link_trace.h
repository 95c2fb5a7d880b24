// The service trace of the unit link ([ZyrPan2] Trace=stderr or
// Trace=<file>): every byte both ways, each chunk on one line after the
// local time to the millisecond, in zyrpan-unit's format, so the two traces
// of one session read alike:
//   14:03:27.512 <- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]
//   14:03:27.513 -> 06  [ACK]
// "<-" went from the console to the unit, "->" from the unit to the console.
// Events of the link (opened, refused, lost, released) are lines of words.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace sim {

class LinkTrace {
public:
    LinkTrace() = default;
    ~LinkTrace() { vClose(); }
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // The value of the Trace key: empty turns the trace off, "stderr" writes
    // to the standard error, anything else is a file the lines are added to.
    void vConfigure(const std::string& sTarget);
    bool booOn() const { return out_ != nullptr; }

    void vToUnit(std::string_view bytes);
    void vFromUnit(std::string_view bytes);
    void vEvent(const std::string& sText) { vLine(sText); }

private:
    void vLine(const std::string& sText);
    void vClose();

    std::string target_;
    FILE* out_ = nullptr;
};

}  // namespace sim
