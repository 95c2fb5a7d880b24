// A console's end of the unit link for the library's tests: it frames
// commands, reads what the unit sends, answers each frame with ACK (or NAK
// when it is spoiled) and records every event with the tick it came at.
// It calls the library through a table, so the same helper serves the
// static library in this process and libZyrPan2.so loaded with dlopen.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/tick_clock.h"
#include "sensor/zyrpan2.h"
#include "sim/frame_codec.h"

namespace simtest {

struct LinkCalls {
    decltype(&ZyrWeq_Init) Init = &ZyrWeq_Init;
    decltype(&ZyrWeq_SetCommInit) SetCommInit = &ZyrWeq_SetCommInit;
    decltype(&ZyrWeq_SetDeviceFree) SetDeviceFree = &ZyrWeq_SetDeviceFree;
    decltype(&ZyrWeq_Ether232Send) Send = &ZyrWeq_Ether232Send;
    decltype(&ZyrWeq_Ether232Recv) Recv = &ZyrWeq_Ether232Recv;
};

// "ACK", "NAK", a frame's text, or "BAD:" + the raw frame when its checksum fails.
struct LinkEvent {
    uint32_t at;
    std::string what;
    bool operator==(const LinkEvent&) const = default;
};

class LinkConsole {
public:
    explicit LinkConsole(LinkCalls calls = {}) : calls_(calls) {}

    int32_t lSendText(const std::string& text) { return lSendRaw(sim::sBuildFrame(text)); }
    int32_t lSendRaw(const std::string& bytes) {
        return calls_.Send(bytes.data(), static_cast<int16_t>(bytes.size()));
    }

    // One read; bytes are scanned, frames answered; returns the Recv result.
    int32_t lPoll() {
        char buf[1024];
        const int32_t n = calls_.Recv(buf);
        lastRecv = n;
        if (n <= 0) return n;
        wire.append(buf, static_cast<size_t>(n));
        scanner_.feed(std::string_view(buf, static_cast<size_t>(n)));
        const uint32_t now = platform::GetTickCount();
        for (;;) {
            auto ev = scanner_.next();
            if (ev.kind == sim::FrameScanner::Kind::None) break;
            if (ev.kind == sim::FrameScanner::Kind::Ack) events.push_back({now, "ACK"});
            if (ev.kind == sim::FrameScanner::Kind::Nak) events.push_back({now, "NAK"});
            if (ev.kind != sim::FrameScanner::Kind::Frame) continue;
            events.push_back({now, ev.valid ? sim::sFrameText(ev.frame) : "BAD:" + ev.frame});
            const char reply = ev.valid ? sim::kAck : sim::kNak;
            if (ackFrames) calls_.Send(&reply, 1);
        }
        return n;
    }

    // Texts (and ACK/NAK) only, without times.
    std::vector<std::string> whats() const {
        std::vector<std::string> out;
        for (const auto& e : events) out.push_back(e.what);
        return out;
    }
    // The texts of frames only.
    std::vector<std::string> reports() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.what != "ACK" && e.what != "NAK") out.push_back(e.what);
        return out;
    }
    void vClear() {
        events.clear();
        wire.clear();
    }

    std::vector<LinkEvent> events;
    std::string wire;
    int32_t lastRecv = 0;
    bool ackFrames = true;  // false: the console stays silent (tests of resends)

private:
    LinkCalls calls_;
    sim::FrameScanner scanner_;
};

}  // namespace simtest
