// The embedded virtual unit as the console meets it through the library's
// link calls on a fake clock: its reports with the tick each arrives at, for
// the connection, READY and the X-ray, the movements, and each fault it can
// be told to show. Then the resends of its reports on their own.
#include "sim/fault_injector.h"
#include "sim/unit_protocol.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;

struct Script {
    const char* name;
    std::string keys;
    const char* steps;   // "ms command" sent at that tick after the link opened; "~" opens the link again
    uint32_t until;      // ms to run in all
    const char* seen;    // "ms report" as the console reads them (with ACK and NAK when acks)
    bool acks = false;
};

// The unit's times; a case's own keys come first and win.
const char* const kTimings = "AnswerDelay=100\nReadyTime=2000\nHandSwitchDelay=1500\nXrayDelay=500\nXrayOn=3000\n"
                             "XrayGap=1000\nMoveTime=3000\nHalfMoveTime=3000\nCoolTime=10";

class FreshUnit : public SimTest, public ::testing::WithParamInterface<Script> {
protected:
    // Plays the script on a link just opened, or after the connection's
    // first status request and its sensor report.
    void vPlay(bool booConnected);
};
class ConnectedUnit : public FreshUnit {};
const auto byName = [](const auto& info) { return std::string(info.param.name); };

TEST_P(FreshUnit, ReportsAsTheConsoleReadsThem) { vPlay(false); }
TEST_P(ConnectedUnit, ReportsAsTheConsoleReadsThem) { vPlay(true); }

void FreshUnit::vPlay(bool booConnected) {
    const Script& s = GetParam();
    ASSERT_EQ(lOpen(s.keys + "\n" + kTimings), 0);
    if (booConnected) {
        line_.lSend("c1");
        vRun(200);
        line_.events.clear();
    }
    const uint32_t t0 = clock_.tickCount();
    uint32_t now = 0;
    for (const std::string& step : split(s.steps)) {
        const std::string command = step.substr(step.find(' ') + 1);
        vRun(static_cast<uint32_t>(std::stoul(step)) - now);
        now = static_cast<uint32_t>(std::stoul(step));
        if (command == "~") lib_.SetDeviceFree();
        ASSERT_EQ(command == "~" ? lib_.SetCommInit() : line_.lSend(command), 0) << step;
        line_.lPoll(clock_.tickCount());  // the ACK comes at once
    }
    vRun(s.until - now);
    EXPECT_EQ(line_.seen(t0, s.acks), split(s.seen));
}

// Faults each case catches: a report wrong, missing, unasked for or late; a
// count or time off on either side of its edge.
INSTANTIATE_TEST_SUITE_P(Connection, FreshUnit, ::testing::Values(
    Script{"SensorThenPositionThenCooling", "", "0 c1;1000 c1;2000 T1", 20000,
           "0 ACK;100 s1;1000 ACK;1100 r1;2000 ACK;2100 T0", true},
    Script{"Sensor2AtCephalo", "SensorPosition=2", "0 c1;500 c1", 1000, "100 s2;600 m1"},
    Script{"Sensor3", "SensorPosition=3", "0 c1;500 c1", 1000, "100 s3;600 r1"},
    Script{"NoSensor", "SensorPosition=0", "0 c1;500 c1", 1000, "100 s0;600 r1"},
    Script{"AwayFromOrigin", "StartAtOrigin=0", "0 c1;500 c1", 1000, "100 s1;600 r0"},
    Script{"AwayFromCephalo", "StartAtOrigin=0\nSensorPosition=2", "0 c1;500 c1", 1000, "100 s2;600 m0"},
    Script{"CoolingCountsDownRoundedUp", "CoolTimeAtStart=3", "0 T1;1000 T1;2000 T1;3000 T1;4000 T1", 5000,
           "100 T3;1100 T2;2100 T1;3100 T0;4100 T0"},
    Script{"RepeatedStatusRequestOneAnswer", "", "0 c1;0 c1", 1000, "100 s1"},
    Script{"EveryLinkStartsWithTheSensor", "", "0 c1;300 c1;300 ~;600 c1", 1000, "100 s1;700 s1"},
    Script{"UnknownCommandAcknowledged", "", "0 q7;0 NOPE", 5000, "0 ACK;0 ACK", true},
    Script{"ServiceModes", "", "0 c1;500 t1;500 h1;500 c1;1000 p1;1000 c1;1500 t0;1500 c1", 2000,
           "100 s1;600 h1;1100 p1;1600 r1"}), byName);

INSTANTIATE_TEST_SUITE_P(Exposure, ConnectedUnit, ::testing::Values(
    Script{"Panoramic", "", "0 NP_P1_C 70 4;7100 T1;20000 c1", 20200,
           "2000 d1;3500 X1;7000 X0;7010 E1;7200 T10;20100 r0"},
    Script{"TmjTwoHalves", "", "0 NP_T4 70 6;15000 c1;15200 NP_T4 70 6", 40000,
           "2000 d1;3500 X1;11000 X0;11010 E1;14000 d1;15100 r1;17200 d1;18700 X1;26200 X0;26210 E1"},
    Script{"SameCommandIsARepeat", "", "0 NP_P1_C 70 4;500 NP_P1_C 70 4", 20000, "2000 d1;3500 X1;7000 X0;7010 E1"},
    Script{"CoolingAnswerGivesWay", "", "0 T1;0 NP_P1_C 70 4", 2500, "2000 d1"},
    Script{"CoolingAnswerAheadOfTheAck", "CoolBeforeAck=1", "0 T1;0 NP_P1_C 70 4", 2500, "0 ACK;0 T0;0 ACK;2000 d1",
           true},
    Script{"HandSwitchNever", "HandSwitchDelay=-1", "0 NP_P1_C 70 4", 60000, "2000 d1"},
    Script{"ReadyTimeout", "HandSwitchDelay=-1\nReadyTimeout=5000", "0 NP_P1_C 70 4", 10000, "2000 d1;7000 d0"},
    Script{"HandSwitchReleasedEarly", "HandSwitchHold=1200", "0 NP_T4 70 6", 20000, "2000 d1;3500 X1;4700 X0;4710 d0"},
    Script{"D0CancelsReady", "", "0 NP_P1_C 70 4;1000 d0;11000 c1", 11200, "11100 r0"},
    Script{"D0StopsTheXray", "", "0 NP_P1_C 70 4;4000 d0", 14000, "2000 d1;3500 X1;4000 X0"},
    Script{"X0StopsTheXray", "", "0 NP_P1_C 70 4;4000 x0", 14000, "2000 d1;3500 X1;4000 X0"}), byName);

INSTANTIATE_TEST_SUITE_P(Movement, ConnectedUnit, ::testing::Values(
    Script{"ResetFromAway", "StartAtOrigin=0", "0 r1;11000 c1", 11200, "3000 r1;11100 r1"},
    Script{"ResetAtOrigin", "", "0 r1;11000 c1", 11200, "100 r1;11100 r1"},
    Script{"R0StopsTheReturn", "StartAtOrigin=0", "0 r1;1000 r0;12000 c1", 12200, "12100 r0"},
    Script{"ToCephalo", "", "0 m1;11000 c1", 11200, "3000 m1;11100 m1"},
    Script{"M0StopsTheCephaloMove", "", "0 m1;1000 m0;12000 c1", 12200, "12100 m0"},
    Script{"M0LeavesAReturn", "StartAtOrigin=0", "0 r1;1000 m0;12000 c1", 12200, "3000 r1;12100 r1"},
    Script{"CephaloThenOrigin", "", "0 m1;1000 r1;12000 c1", 12200, "4000 r1;12100 r1"},
    Script{"HalfMode", "", "0 h1;1000 d1;12000 c1", 12200, "3000 d1;6000 z1;12100 h1"},
    Script{"PackageMode", "", "0 p1;1000 d1;12000 c1", 12200, "3000 d1;6000 z1;12100 p1"},
    Script{"HalfModeReset", "", "0 h1;1000 d1;2000 r1;13000 c1", 13200, "5000 r1;13100 h1"},
    Script{"HalfModeOff", "", "0 h1;1000 h0;12000 c1", 12200, "12100 r1"},
    Script{"D0CancelsTheHalfMovement", "", "0 h1;1000 d1;2000 d0;13000 c1", 13200, "13100 h1"},
    Script{"RepeatedD1OneMovement", "", "0 h1;1000 d1;2000 d1;13000 c1", 13200, "3000 d1;6000 z1;13100 h1"}), byName);

INSTANTIATE_TEST_SUITE_P(Faults, FreshUnit, ::testing::Values(
    Script{"NakFirst", "NakFirst=2", "0 c1;0 c1;0 c1", 300, "0 NAK;0 NAK;0 ACK;100 s1", true},
    Script{"NeverAck", "NeverAck=1", "0 c1;3010 c1;6020 c1", 10000, "", true},
    Script{"DropEvery", "DropEvery=2", "0 c1;200 c1", 6000, "100 s1;3300 r1"},
    Script{"CorruptEvery", "CorruptEvery=2", "0 c1;200 c1", 400, "0 ACK;100 s1;200 ACK;300 BAD;310 r1", true},
    Script{"CorruptEveryReportGivenUp", "CorruptEvery=1", "0 c1", 20000, "0 ACK;100 BAD;110 BAD;120 BAD;130 BAD", true},
    Script{"DropEveryCommand", "DropEveryCommand=2", "0 t1;0 h1;0 ap1", 3000, "0 ACK;0 ACK", true},
    Script{"CorruptEveryCommand", "CorruptEveryCommand=3", "0 t1;0 h1;0 p1;0 p1", 1000, "0 ACK;0 ACK;0 NAK;0 ACK", true},
    Script{"MoveStop", "StartAtOrigin=0\nMoveStopAfter=800\nMoveStopSkip=1", "0 r1;4000 m1;8000 r1", 12000,
           "3000 r1;4800 m0;11000 r1"},
    Script{"LoseLinkFirstOnly", "LoseLinkAfter=2", "0 c1;3000 ~;3000 c1", 13000, "100 s1;2000 -2;3100 s1"},
    Script{"LoseLinkRepeat", "LoseLinkAfter=1\nLoseLinkRepeat=1", "1500 ~", 3000, "1000 -2;2500 -2"}), byName);

// The error report at its step, with the short times below: "e" + n in place
// of the step's outcome until r0 or r1.
const std::string kErr = "HandSwitchDelay=500\nReadyTime=500\nMoveTime=1000\nHalfMoveTime=1000\nErrorNo=";

INSTANTIATE_TEST_SUITE_P(ErrorAt, FreshUnit, ::testing::Values(
    Script{"Connection", kErr + "17\nErrorAt=c1", "0 c1;3000 c1;6000 r0;9000 c1;12000 c1", 15000,
           "100 e17;3100 e17;9100 s1;12100 r1"},
    Script{"SecondStatusRequest", kErr + "6\nErrorAt=c1\nErrorOccurrence=2", "0 c1;3000 c1;6000 c1;9000 r0;12000 c1", 15000,
           "100 s1;3100 e6;6100 e6;12100 r1"},
    Script{"Ready", kErr + "19\nErrorAt=NP", "0 c1;3000 NP_P1_A 60 2;6000 c1;9000 r1", 12000,
           "100 s1;3100 e19;3110 r0;6100 e19;10000 r1"},
    Script{"HandSwitch", kErr + "5\nErrorAt=X1", "0 c1;3000 NP_P1_A 60 2;6000 NP_P1_A 60 2;9000 r0;12000 c1", 15000,
           "100 s1;3500 d1;4100 e5;4110 r0;6100 e5;12100 r0"},
    Script{"ReturnToOrigin", kErr + "3\nErrorAt=r1", "0 c1;3000 r1;6000 r1", 9000, "100 s1;3100 e3;3110 r0;7000 r1"},
    Script{"CephaloMove", kErr + "4\nErrorAt=m1", "0 c1;3000 m1;6000 d1", 9000, "100 s1;3100 e4;3110 r0;6100 e4"},
    Script{"CoolingRequest", kErr + "2\nErrorAt=T1", "0 c1;3000 T1;6000 T1", 9000, "100 s1;3100 e2;6100 T0"},
    Script{"HalfReady", kErr + "16\nErrorAt=d1", "0 c1;3000 h1;6000 d1;9000 r0;12000 d1", 15000,
           "100 s1;6100 e16;6110 r0;12500 d1;13500 z1"}), byName);

// Faults: a resend early or late, a fifth send after silence, a report
// never given up, resends after the ACK, a stray ACK taken for the report's.
TEST(UnitProtocol, SendsAReportAgainAfter3000msOfSilenceFourTimesAtMost) {
    sim::FaultInjector faults{sim::UnitFaults{}};
    sim::UnitProtocol proto{faults};
    std::string seen;
    auto at = [&](uint32_t t) {
        proto.vRunDue(t);
        const std::string out = proto.sTakeOutput();
        seen += out.empty() ? " ." : out == sim::sBuildFrame("s1") ? " s1" : " ?";
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

}  // namespace
