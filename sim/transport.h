// How the library's two link calls reach the unit: the embedded virtual
// unit, a TCP connection to an Ethernet-to-serial bridge, or a serial
// device. The frames are the same on all of them; only the carrier differs.
#pragma once
#include <cstddef>
#include <cstdint>

namespace sim {

// Link statuses (the console explains -1..-10 as "Communication is not
// established", except -4, -5 and -6, which have remedies of their own).
constexpr int32_t kLinkNotOpen = -1;    // never opened, refused, or no such device
constexpr int32_t kLinkLost = -2;       // the peer closed or the line failed
constexpr int32_t kLinkBadSetting = -3; // [ZyrPan2] Link names no usable link
constexpr int32_t kLinkNoSetting = -4;  // [ZyrPan2] has no Link at all
constexpr int32_t kLinkNoPermission = -5;  // the serial device exists, but the user may not open it
constexpr int32_t kLinkInUse = -6;      // another program (another console) holds the serial device
constexpr int32_t kBadArgument = 3;     // a null text or a negative length
constexpr int32_t kNotInitialised = 9;  // the link was opened before ZyrWeq_Init

class Transport {
public:
    virtual ~Transport() = default;
    // 0 when the link is up, else a link status.
    virtual int32_t open() = 0;
    virtual void close() = 0;
    // 0 when all bytes went out, else a link status.
    virtual int32_t send(const char* data, size_t len) = 0;
    // Bytes that arrived (at most cap), 0 when none, negative when the link failed.
    virtual int32_t recv(char* buf, size_t cap) = 0;
};

}  // namespace sim
