// The faults a test or a demonstration asks the virtual unit to show: a
// deaf or fussy CPU, a noisy line, an error report at a chosen step, a
// movement that halts, a link that goes down. It only decides; the protocol
// responder and the device model act on its verdicts.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "sim/unit_config.h"

namespace sim {

class FaultInjector {
public:
    explicit FaultInjector(const UnitFaults& f) : f_(f) {}

    // A frame from the console reached the line: lost on the way?
    bool booDropCommand() { return booEvery(f_.lDropEveryCommand, cmdSeen_); }
    // ... or spoiled on the way (the unit then answers NAK)?
    bool booCorruptCommand() { return booEvery(f_.lCorruptEveryCommand, cmdSpoilSeen_); }

    // What the unit does with a well-formed frame from the console.
    enum class Reply { Ack, Nak, Silent };
    Reply reply();
    // Does a cooling answer still owed go out ahead of a command's ACK?
    bool booCoolBeforeAck() const { return f_.booCoolBeforeAck; }

    // What the line does with a frame the unit sends.
    enum class Line { Deliver, Drop, Corrupt };
    Line outgoing();

    // The error number to report instead of the step's normal outcome, or 0.
    int32_t lErrorAt(std::string_view step);

    // Counts a movement; its halt time when this one is to halt.
    std::optional<uint32_t> moveStop();

    // The link-loss clock of the link that has just opened.
    void vLinkOpened(uint32_t now);
    std::optional<uint32_t> linkLossDue() const { return lossDue_; }
    void vLinkLossHappened() { lossDue_.reset(); }

private:
    static bool booEvery(uint32_t n, uint32_t& seen) { return n != 0 && ++seen % n == 0; }

    UnitFaults f_;
    uint32_t cmdSeen_ = 0, cmdSpoilSeen_ = 0, framesReplied_ = 0;
    uint32_t outDropSeen_ = 0, outSpoilSeen_ = 0;
    uint32_t errorStepSeen_ = 0, movesSeen_ = 0, linksOpened_ = 0;
    std::optional<uint32_t> lossDue_;
};

}  // namespace sim
