// The unit's sends of its reports on their own, the trace lines of
// zyrpan-unit and the Link setting.
#include "sim/byte_trace.h"
#include "sim/fault_injector.h"
#include "sim/link_spec.h"
#include "sim/unit_protocol.h"
#include "tests/sim/sim_fixture.h"

namespace {

using sim::sBuildFrame;

// Faults: a resend early or late, a fifth send after silence, a report
// never given up, resends after the ACK, a stray ACK taken for the report's.
TEST(UnitProtocol, SendsAReportAgainAfter3000msOfSilenceFourTimesAtMost) {
    sim::FaultInjector faults{sim::UnitFaults{}};
    sim::UnitProtocol proto{faults};
    std::string seen;
    auto at = [&](uint32_t t) {
        proto.vRunDue(t);
        const std::string out = proto.sTakeOutput();
        seen += out.empty() ? " ." : out == sBuildFrame("s1") ? " s1" : " ?";
    };
    proto.vReceive("\x06", 0);
    proto.vQueueReport("s1", 100);
    for (uint32_t t : {100u, 3099u, 3100u, 6099u, 6100u, 9099u, 9100u, 12099u, 12100u, 20000u}) at(t);
    EXPECT_EQ(proto.lReportsGivenUp(), 1u);
    proto.vQueueReport("s1", 20000);
    for (uint32_t t : {20000u, 23000u}) at(t);
    proto.vReceive("\x06", 23050);
    at(40000);
    EXPECT_EQ(seen, " s1 . s1 . s1 . s1 . . . s1 s1 .");
    EXPECT_EQ(proto.lReportsGivenUp(), 1u);
}

// Fault: the trace of zyrpan-unit loses a byte or its readable form.
TEST(UnitTrace, HexThenReadable) {
    EXPECT_EQ(sim::sTraceLine("<-", sBuildFrame("c1")), "<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]");
    EXPECT_EQ(sim::sTraceLine("->", "\x06" + sBuildFrame("s1")), "-> 06 02 73 31 20 63 34 03  [ACK][STX]s1 c4[ETX]");
    EXPECT_EQ(sim::sTraceLine("->", "\x15\x1f~\x7f"), "-> 15 1f 7e 7f  [NAK][1f]~[7f]");
}

// Faults: a link setting taken wrongly, a bad one accepted (port 0 or above
// 65535, no host, no device, an unknown kind).
TEST(LinkSetting, KindAndPlace) {
    const std::pair<const char*, const char*> cases[] = {
        {"sim", "sim"}, {"SIM", "sim"}, {"sim:x", "invalid"}, {"modem:1", "invalid"},
        {"tcp:127.0.0.1:4001", "tcp 127.0.0.1:4001"}, {"tcp:bridge.local:1", "tcp bridge.local:1"},
        {"tcp:[::1]:65535", "tcp ::1:65535"}, {"tcp:127.0.0.1:65536", "invalid"}, {"tcp:127.0.0.1:0", "invalid"},
        {"tcp:127.0.0.1", "invalid"}, {"tcp::4001", "invalid"}, {"serial:/dev/ttyUSB0", "serial /dev/ttyUSB0:9600"},
        {"serial:/dev/ttyS1:115200", "serial /dev/ttyS1:115200"}, {"serial:", "invalid"}};
    for (const auto& [text, want] : cases) {
        const sim::LinkSpec s = sim::parseLinkSpec(text);
        std::string got = "invalid";
        if (s.kind == sim::LinkSpec::Kind::Sim) got = "sim";
        if (s.kind == sim::LinkSpec::Kind::Tcp) got = "tcp " + s.host + ":" + std::to_string(s.port);
        if (s.kind == sim::LinkSpec::Kind::Serial) got = "serial " + s.device + ":" + std::to_string(s.baud);
        EXPECT_EQ(got, want) << text;
    }
}

}  // namespace
