// zyrpan-unit's service: the virtual unit behind a TCP port on the loopback
// address, one console at a time, as a unit behind an Ethernet-to-serial
// bridge would be. Every byte in either direction is written to the trace.
// It runs on the real clock in its own process; a poll() loop waits for
// bytes, a connection, or the unit's next step.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "sim/unit_config.h"
#include "sim/virtual_unit.h"

namespace sim {

class UnitServer {
public:
    using TraceSink = std::function<void(const std::string& line)>;

    UnitServer(const UnitConfig& config, TraceSink trace);
    ~UnitServer();
    UnitServer(const UnitServer&) = delete;
    UnitServer& operator=(const UnitServer&) = delete;

    // Listens on 127.0.0.1:port (0 = any free port). False with a reason on failure.
    bool booListen(uint16_t port, std::string& error);
    uint16_t port() const { return port_; }

    // One pass: waits at most maxWaitMs for something to do, then does it.
    void vStep(int maxWaitMs);
    bool booClientConnected() const { return client_ >= 0; }

private:
    void vAccept(uint32_t now);
    void vDrop(const char* why, uint32_t now);
    void vReadClient(uint32_t now);
    void vFlush();

    VirtualUnit unit_;
    TraceSink trace_;
    int listen_ = -1;
    int client_ = -1;
    uint16_t port_ = 0;
};

}  // namespace sim
