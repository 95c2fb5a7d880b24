// The virtual unit: the protocol responder on the line, the device model
// behind it and the fault injector between them. It has no thread of its
// own: whoever carries its bytes moves it on to the tick count of the call
// (the library on each ZyrWeq_* call, zyrpan-unit from its poll loop), and
// it catches up on everything that fell due in between, in order of time.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/fault_injector.h"
#include "sim/unit_config.h"
#include "sim/unit_model.h"
#include "sim/unit_protocol.h"

namespace sim {

class VirtualUnit {
public:
    VirtualUnit(const UnitConfig& config, uint32_t now);

    // A console came on the line, or left it.
    void vConnect(uint32_t now);
    void vDisconnect(uint32_t now);
    bool booConnected() const { return connected_; }
    // The link-loss fault took the line down; vConnect restores it.
    bool booLinkLost() const { return lost_; }

    void vReceive(std::string_view bytes, uint32_t now);
    void vAdvance(uint32_t now);
    std::string sTakeOutput() { return proto_.sTakeOutput(); }
    // When the unit next has something to do (for a poll timeout).
    std::optional<uint32_t> nextDue() const;

    // The latest commands the unit accepted (at least 256 of them, at most
    // 512), oldest first (for tests and the trace).
    const std::vector<std::string>& commands() const { return commands_; }
    const UnitModel& model() const { return model_; }
    const UnitProtocol& protocol() const { return proto_; }

private:
    FaultInjector faults_;
    UnitProtocol proto_;
    UnitModel model_;
    uint32_t now_;
    bool connected_ = false;
    bool lost_ = false;
    std::vector<std::string> commands_;
};

}  // namespace sim
