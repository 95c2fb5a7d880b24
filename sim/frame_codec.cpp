#include "sim/frame_codec.h"

#include <cctype>

namespace sim {

std::string sCheckSum(std::string_view stretch) {
    unsigned sum = 0;
    for (char ch : stretch) sum += static_cast<unsigned char>(ch);
    static const char kDigits[] = "0123456789abcdef";
    sum &= 0xFFu;
    return {kDigits[sum >> 4], kDigits[sum & 0x0Fu]};
}

std::string sBuildFrame(std::string_view text) {
    std::string body(text);
    body += ' ';
    std::string frame(1, kStx);
    frame += body;
    frame += sCheckSum(body);
    frame += kEtx;
    return frame;
}

std::string sFrameText(std::string_view frame) {
    if (frame.size() < kMinFrame) return {};
    std::string_view text = frame.substr(1, frame.size() - 4);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

bool booFrameValid(std::string_view frame) {
    const size_t len = frame.size();
    if (len < kMinFrame || len > kMaxFrame) return false;
    const std::string want = sCheckSum(frame.substr(1, len - 4));
    for (size_t i = 0; i < 2; ++i) {
        const auto got = static_cast<unsigned char>(frame[len - 3 + i]);
        if (std::tolower(got) != want[i]) return false;
    }
    return true;
}

FrameScanner::Event FrameScanner::next() {
    Event ev;
    while (pos_ < pending_.size()) {
        const char ch = pending_[pos_++];
        if (ch == kAck || ch == kNak) {
            inFrame_ = false;
            ev.kind = ch == kAck ? Kind::Ack : Kind::Nak;
            break;
        }
        if (ch == kStx) {
            inFrame_ = true;
            frame_.assign(1, kStx);
        } else if (inFrame_ && ch == kEtx) {
            inFrame_ = false;
            frame_ += kEtx;
            ev.kind = Kind::Frame;
            ev.valid = booFrameValid(frame_);
            ev.frame = std::move(frame_);
            frame_.clear();
            break;
        } else if (inFrame_) {
            // A frame that can no longer be valid still runs to its ETX, but
            // its bytes are not kept beyond what shows it was too long.
            if (frame_.size() <= kMaxFrame) frame_ += ch;
        }
    }
    if (pos_ >= pending_.size()) {
        pending_.clear();
        pos_ = 0;
    }
    return ev;
}

void FrameScanner::reset() {
    pending_.clear();
    pos_ = 0;
    inFrame_ = false;
    frame_.clear();
}

}  // namespace sim
