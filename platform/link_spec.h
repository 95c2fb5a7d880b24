// The value of [ZyrPan2] Link: "sim", "tcp:HOST:PORT" or
// "serial:DEVICE[:BAUD]". There is no default: without the key the library
// does not know where the unit is, and never falls back to the simulator.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

struct LinkSpec {
    enum class Kind { Missing, Sim, Tcp, Serial, Invalid };
    Kind kind = Kind::Missing;
    std::string host;    // tcp
    uint16_t port = 0;   // tcp
    std::string device;  // serial
    uint32_t baud = 9600;
};

LinkSpec parseLinkSpec(const std::string& text);

// What section [ZyrPan2] of a settings file chooses, read the way the
// library reads it, so that the console tells the operator what the library
// will do.
struct UnitChoice {
    LinkSpec link;
    // The library's simulated sensor makes the images: Link=sim, or
    // Sensor=sim (any case) beside any link.
    bool booSimulatedSensor = false;
    // A real unit's X-ray for an invented image: Sensor=sim beside a tcp: or
    // serial: link.
    bool booRealUnitSimulatedSensor() const {
        return booSimulatedSensor && (link.kind == LinkSpec::Kind::Tcp || link.kind == LinkSpec::Kind::Serial);
    }
};
UnitChoice readUnitChoice(const std::string& sIniPath);

// The value of a [ZyrPan2] key with the blanks around it removed; empty when
// the key is absent.
std::string sZyrPan2Text(const std::string& sIniPath, const char* key);

}  // namespace platform
