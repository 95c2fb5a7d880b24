// The value of [ZyrPan2] Link: "sim" (or absent), "tcp:HOST:PORT" or
// "serial:DEVICE[:BAUD]".
#pragma once
#include <cstdint>
#include <string>

namespace sim {

struct LinkSpec {
    enum class Kind { Sim, Tcp, Serial, Invalid };
    Kind kind = Kind::Sim;
    std::string host;    // tcp
    uint16_t port = 0;   // tcp
    std::string device;  // serial
    uint32_t baud = 9600;
};

LinkSpec parseLinkSpec(const std::string& text);

}  // namespace sim
