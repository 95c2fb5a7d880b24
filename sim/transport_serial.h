// The unit on a serial line (Link=serial:DEVICE[:BAUD]): 8 data bits, no
// parity, one stop bit, raw, no flow control; 9600 baud unless given. The
// line is held for exclusive use while open (kLinkInUse for a second one).
#pragma once
#include <string>

#include "sim/transport.h"

namespace sim {

class SerialTransport : public Transport {
public:
    SerialTransport(std::string device, uint32_t baud) : device_(std::move(device)), baud_(baud) {}
    ~SerialTransport() override { close(); }

    int32_t open() override;
    void close() override;
    int32_t send(const char* data, size_t len) override;
    int32_t recv(char* buf, size_t cap) override;

    // False for a rate the line cannot be set to.
    static bool booBaudSupported(uint32_t baud);

private:
    int32_t lLost();
    void vRelease();

    std::string device_;
    uint32_t baud_;
    int fd_ = -1;
    bool exclusive_ = false;  // this descriptor set TIOCEXCL
    bool lost_ = false;
};

}  // namespace sim
