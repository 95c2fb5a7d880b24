// The unit side of the line: it answers each frame from the console with
// ACK (handing the text on) or NAK, and sends its own reports as frames,
// one at a time, each until the console ACKs it: a NAK makes it send again
// at once, silence after 3000 ms; after the fourth send it gives the report
// up and goes on with the next.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "sim/fault_injector.h"
#include "sim/frame_codec.h"

namespace sim {

class UnitProtocol {
public:
    static constexpr uint32_t kAckWait = 3000;
    static constexpr uint32_t kMostSends = 4;

    using CommandSink = std::function<void(const std::string& text, uint32_t now)>;

    explicit UnitProtocol(FaultInjector& faults) : faults_(faults) {}
    void vSetCommandSink(CommandSink sink) { sink_ = std::move(sink); }
    // Runs just before the ACK of a command frame goes on the line.
    void vSetBeforeAck(std::function<void(uint32_t now)> f) { beforeAck_ = std::move(f); }

    // Bytes from the console.
    void vReceive(std::string_view bytes, uint32_t now);
    // A report of the unit, sent when the ones before it are through.
    void vQueueReport(const std::string& text, uint32_t now);
    // Resends that fall due by now.
    void vRunDue(uint32_t now);
    std::optional<uint32_t> nextDue() const;

    // Bytes the unit has put on the line since the last call.
    std::string sTakeOutput() { return std::exchange(out_, {}); }
    // The line went down: half-read frames and unsent reports are lost.
    void vClear();

    // Reports given up after four sends, for the trace and for tests.
    uint32_t lReportsGivenUp() const { return givenUp_; }

private:
    void vSendHead(uint32_t now);
    void vNextReport(uint32_t now, bool booGivenUp);
    void vPutFrame(const std::string& frame);

    FaultInjector& faults_;
    CommandSink sink_;
    std::function<void(uint32_t now)> beforeAck_;
    FrameScanner scanner_;
    std::deque<std::string> queue_;  // reports; the front one is in flight when sends_ > 0
    uint32_t sends_ = 0;
    uint32_t lastSend_ = 0;
    uint32_t givenUp_ = 0;
    std::string out_;
};

}  // namespace sim
