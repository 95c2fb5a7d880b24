#include "sim/virtual_unit.h"

namespace sim {
namespace {

// The command log keeps the latest commands only: a unit that serves
// consoles for weeks must not grow with every frame. Between kCommandsKept
// and twice as many are kept; trimming by halves keeps it cheap.
constexpr size_t kCommandsKept = 256;

// Wrap-safe: is a at or before b?
bool booNotAfter(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) <= 0; }

}  // namespace

VirtualUnit::VirtualUnit(const UnitConfig& config, uint32_t now)
    : faults_(config.f), proto_(faults_), model_(config.t, faults_, now), now_(now) {
    proto_.vSetCommandSink([this](const std::string& text, uint32_t at) {
        if (commands_.size() == 2 * kCommandsKept)
            commands_.erase(commands_.begin(), commands_.end() - (kCommandsKept - 1));
        commands_.push_back(text);
        model_.vCommand(text, at);
    });
    proto_.vSetBeforeAck([this](uint32_t at) {
        if (faults_.booCoolBeforeAck()) model_.vSayCoolAnswerNow(at);
    });
    model_.vSetReporter([this](const std::string& text, uint32_t at) {
        if (connected_) proto_.vQueueReport(text, at);
    });
}

void VirtualUnit::vConnect(uint32_t now) {
    vAdvance(now);
    proto_.vClear();
    (void)proto_.sTakeOutput();
    connected_ = true;
    lost_ = false;
    model_.vLinkOpened();
    faults_.vLinkOpened(now);
}

void VirtualUnit::vDisconnect(uint32_t now) {
    vAdvance(now);
    connected_ = false;
    proto_.vClear();
    (void)proto_.sTakeOutput();
}

void VirtualUnit::vReceive(std::string_view bytes, uint32_t now) {
    vAdvance(now);
    if (connected_) proto_.vReceive(bytes, now);
}

std::optional<uint32_t> VirtualUnit::nextDue() const {
    std::optional<uint32_t> due = model_.nextDue();
    auto consider = [&due](std::optional<uint32_t> t) {
        if (t && (!due || !booNotAfter(*due, *t))) due = t;
    };
    if (connected_) {
        consider(proto_.nextDue());
        consider(faults_.linkLossDue());
    }
    return due;
}

void VirtualUnit::vAdvance(uint32_t now) {
    // Steps are taken one instant at a time so that a report, its resends
    // and the console's silence interleave as they would on the line.
    for (;;) {
        const auto due = nextDue();
        if (!due || !booNotAfter(*due, now)) break;
        const uint32_t at = booNotAfter(*due, now_) ? now_ : *due;
        now_ = at;
        if (connected_ && faults_.linkLossDue() && booNotAfter(*faults_.linkLossDue(), at)) {
            faults_.vLinkLossHappened();
            connected_ = false;
            lost_ = true;
            proto_.vClear();
            (void)proto_.sTakeOutput();
            continue;
        }
        if (connected_) proto_.vRunDue(at);
        model_.vRunDue(at);
    }
    if (booNotAfter(now_, now)) now_ = now;
}

}  // namespace sim
