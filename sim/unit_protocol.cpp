#include "sim/unit_protocol.h"

#include <utility>

namespace sim {

void UnitProtocol::vReceive(std::string_view bytes, uint32_t now) {
    scanner_.feed(bytes);
    for (;;) {
        FrameScanner::Event ev = scanner_.next();
        if (ev.kind == FrameScanner::Kind::None) break;
        if (ev.kind == FrameScanner::Kind::Ack) {
            if (sends_ > 0) vNextReport(now, false);
            continue;
        }
        if (ev.kind == FrameScanner::Kind::Nak) {
            if (sends_ > 0) {
                if (sends_ < kMostSends) vSendHead(now);
                else vNextReport(now, true);
            }
            continue;
        }
        if (faults_.booDropCommand()) continue;
        if (faults_.booCorruptCommand()) ev.valid = false;
        if (!ev.valid) {
            out_ += kNak;
            continue;
        }
        switch (faults_.reply()) {
            case FaultInjector::Reply::Silent: break;
            case FaultInjector::Reply::Nak: out_ += kNak; break;
            case FaultInjector::Reply::Ack:
                if (beforeAck_) beforeAck_(now);
                out_ += kAck;
                if (sink_) sink_(sFrameText(ev.frame), now);
                break;
        }
    }
}

void UnitProtocol::vQueueReport(const std::string& text, uint32_t now) {
    queue_.push_back(text);
    if (sends_ == 0 && queue_.size() == 1) vSendHead(now);
}

void UnitProtocol::vRunDue(uint32_t now) {
    if (sends_ == 0 || static_cast<int32_t>(now - (lastSend_ + kAckWait)) < 0) return;
    if (sends_ < kMostSends) vSendHead(lastSend_ + kAckWait);
    else vNextReport(lastSend_ + kAckWait, true);
}

std::optional<uint32_t> UnitProtocol::nextDue() const {
    if (sends_ == 0) return std::nullopt;
    return lastSend_ + kAckWait;
}

void UnitProtocol::vClear() {
    scanner_.reset();
    queue_.clear();
    sends_ = 0;
}

void UnitProtocol::vSendHead(uint32_t now) {
    ++sends_;
    lastSend_ = now;
    vPutFrame(sBuildFrame(queue_.front()));
}

void UnitProtocol::vNextReport(uint32_t now, bool booGivenUp) {
    if (booGivenUp) ++givenUp_;
    queue_.pop_front();
    sends_ = 0;
    if (!queue_.empty()) vSendHead(now);
}

void UnitProtocol::vPutFrame(const std::string& frame) {
    switch (faults_.outgoing()) {
        case FaultInjector::Line::Drop: break;
        case FaultInjector::Line::Corrupt: {
            std::string spoilt = frame;
            char& digit = spoilt[spoilt.size() - 2];
            digit = digit == '0' ? '1' : '0';
            out_ += spoilt;
            break;
        }
        case FaultInjector::Line::Deliver: out_ += frame; break;
    }
}

}  // namespace sim
