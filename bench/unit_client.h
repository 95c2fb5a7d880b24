// A console's side of one connection to zyrpan-unit, as the soak runs need
// it: send bytes while reading whatever the unit sends back, and wait for
// the unit's ACK and its next report.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace soak {

class UnitClient {
public:
    UnitClient() = default;
    ~UnitClient();
    UnitClient(const UnitClient&) = delete;
    UnitClient& operator=(const UnitClient&) = delete;

    // Connects to 127.0.0.1:port within the time given.
    bool booConnect(uint16_t port, int iTimeoutMs);
    // Sends all bytes, reading (and keeping) what the unit sends meanwhile,
    // so that neither side blocks on a full socket.
    bool booSend(std::string_view bytes, int iTimeoutMs);
    // Waits for the unit's ACK (nothing before it but bytes outside frames).
    bool booAck(int iTimeoutMs);
    // Waits for the unit's ACK, then for its next well-formed report frame;
    // its text, or empty on timeout, a closed line or a NAK.
    std::string sAckThenReport(int iTimeoutMs);
    // Reads until the line has been quiet for the time given (or closed);
    // everything received and not yet looked at.
    std::string sTakeUntilQuiet(int iQuietMs, int iTimeoutMs);
    void vClose();
    const std::string& why() const { return why_; }

private:
    bool booReadSome(int iWaitMs);  // false when the line closed or failed

    int fd_ = -1;
    std::string in_;  // received, not yet looked at
    std::string why_;
};

// The frame of a command text, as the console sends it.
std::string sFrameOf(std::string_view text);

}  // namespace soak
