// The unit link's frames as both ends of the line see them: STX, the text,
// one blank, a two-digit checksum, ETX; ACK and NAK travel alone. The unit
// side and the library's own watch of the line use the same rules as the
// console's scanner, so that what one end accepts the other would too.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr size_t kMinFrame = 5;
constexpr size_t kMaxFrame = 1024;

// Sum of the byte values modulo 256, as two lower-case hexadecimal digits.
std::string sCheckSum(std::string_view stretch);

// STX + text + blank + checksum + ETX.
std::string sBuildFrame(std::string_view text);

// The text of a whole frame (STX .. ETX) with surrounding blanks removed.
std::string sFrameText(std::string_view frame);

// True when the frame's length is 5..1024 and its checksum, compared without
// regard to letter case, matches the text and the blank.
bool booFrameValid(std::string_view frame);

// Turns a byte stream into events, one per call of next(). A frame may come
// split over several feeds; an ACK or NAK inside a frame abandons the frame,
// a second STX restarts it, and bytes outside a frame are ignored.
class FrameScanner {
public:
    enum class Kind { None, Ack, Nak, Frame };
    struct Event {
        Kind kind = Kind::None;
        std::string frame;  // the whole frame for Kind::Frame
        bool valid = false; // length and checksum good
    };

    void feed(std::string_view bytes) { pending_.append(bytes); }
    Event next();
    void reset();

private:
    std::string pending_;
    size_t pos_ = 0;
    bool inFrame_ = false;
    std::string frame_;
};

}  // namespace sim
