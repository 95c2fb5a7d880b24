#include "sim/transport_embedded.h"

#include <algorithm>
#include <cstring>

#include "platform/tick_clock.h"

namespace sim {

int32_t EmbeddedTransport::open() {
    close();
    unit_.vConnect(platform::GetTickCount());
    open_ = true;
    return 0;
}

void EmbeddedTransport::close() {
    if (open_) unit_.vDisconnect(platform::GetTickCount());
    open_ = false;
    rx_.clear();
}

int32_t EmbeddedTransport::send(const char* data, size_t len) {
    if (!open_) return kLinkNotOpen;
    const uint32_t now = platform::GetTickCount();
    unit_.vAdvance(now);
    if (unit_.booLinkLost()) return kLinkLost;
    unit_.vReceive(std::string_view(data, len), now);
    rx_ += unit_.sTakeOutput();
    return 0;
}

int32_t EmbeddedTransport::recv(char* buf, size_t cap) {
    if (!open_) return kLinkNotOpen;
    unit_.vAdvance(platform::GetTickCount());
    if (unit_.booLinkLost()) {
        rx_.clear();
        return kLinkLost;
    }
    rx_ += unit_.sTakeOutput();
    const size_t n = std::min(cap, rx_.size());
    std::memcpy(buf, rx_.data(), n);
    rx_.erase(0, n);
    return static_cast<int32_t>(n);
}

}  // namespace sim
