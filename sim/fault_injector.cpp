#include "sim/fault_injector.h"

namespace sim {

FaultInjector::Reply FaultInjector::reply() {
    if (f_.booNeverAck) return Reply::Silent;
    if (framesReplied_ < f_.lNakFirst) {
        ++framesReplied_;
        return Reply::Nak;
    }
    return Reply::Ack;
}

FaultInjector::Line FaultInjector::outgoing() {
    // Both counters see every frame, so DropEvery=3 and CorruptEvery=2 mean
    // the 3rd, 6th, ... are lost and the 2nd, 4th, ... arrive spoiled.
    const bool drop = booEvery(f_.lDropEvery, outDropSeen_);
    const bool spoil = booEvery(f_.lCorruptEvery, outSpoilSeen_);
    if (drop) return Line::Drop;
    if (spoil) return Line::Corrupt;
    return Line::Deliver;
}

int32_t FaultInjector::lErrorAt(std::string_view step) {
    if (f_.lErrorNo == 0 || step != f_.sErrorAt) return 0;
    return ++errorStepSeen_ == f_.lErrorOccurrence ? f_.lErrorNo : 0;
}

std::optional<uint32_t> FaultInjector::moveStop() {
    if (f_.lMoveStopAfter == 0) return std::nullopt;
    const uint32_t n = ++movesSeen_;
    if (n <= f_.lMoveStopSkip || n - f_.lMoveStopSkip > f_.lMoveStopCount) return std::nullopt;
    return f_.lMoveStopAfter;
}

void FaultInjector::vLinkOpened(uint32_t now) {
    ++linksOpened_;
    lossDue_.reset();
    if (f_.lLoseLinkAfter == 0) return;
    if (linksOpened_ > 1 && !f_.booLoseLinkRepeat) return;
    lossDue_ = now + f_.lLoseLinkAfter * 1000u;
}

}  // namespace sim
