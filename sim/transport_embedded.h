// The virtual unit in the library's own process (Link=sim). Each call moves
// the unit on to the current tick count, so a fake clock drives it in tests.
#pragma once
#include <string>

#include "sim/transport.h"
#include "sim/virtual_unit.h"

namespace sim {

class EmbeddedTransport : public Transport {
public:
    // The unit outlives the link: a reconnection finds it as it was left.
    explicit EmbeddedTransport(VirtualUnit& unit) : unit_(unit) {}
    ~EmbeddedTransport() override { close(); }

    int32_t open() override;
    void close() override;
    int32_t send(const char* data, size_t len) override;
    int32_t recv(char* buf, size_t cap) override;

private:
    VirtualUnit& unit_;
    bool open_ = false;
    std::string rx_;  // the unit's bytes not yet read by the console
};

}  // namespace sim
