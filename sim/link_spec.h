// The value of [ZyrPan2] Link: "sim", "tcp:HOST:PORT" or
// "serial:DEVICE[:BAUD]". There is no default: without the key the library
// does not know where the unit is, and never falls back to the simulator.
#pragma once
#include <cstdint>
#include <string>

namespace sim {

struct LinkSpec {
    enum class Kind { Missing, Sim, Tcp, Serial, Invalid };
    Kind kind = Kind::Missing;
    std::string host;    // tcp
    uint16_t port = 0;   // tcp
    std::string device;  // serial
    uint32_t baud = 9600;
};

LinkSpec parseLinkSpec(const std::string& text);

}  // namespace sim
