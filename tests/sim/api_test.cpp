// The library's thirteen calls as the console makes them: what the shared
// object exports, the status each call can be told to return (Fail_<Call>),
// the statuses of its own, the frame texts the line hands on to the sensor,
// and which settings let the virtual sensor answer at all.
#include <functional>

#include "sim/call_faults.h"
#include "sim/virtual_unit.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;

class ApiFail : public SimTest, public ::testing::WithParamInterface<size_t> {
protected:
    int32_t lCall(size_t i) {
        char buf[1024];
        uint8_t b = 0;
        int32_t v = 0;
        switch (i) {
            case 0: return lib_.Init(ini_.c_str(), 1);
            case 1: return lib_.SetCommInit();
            case 2: return lib_.SetSensMduInit(ini_.c_str(), 1);
            case 3: return lib_.ResetAll();
            case 4: return lib_.SetParamforPictEx(sFilm().c_str(), 1, 10, 50);
            case 5: return lib_.SetWaitXExpose();
            case 6: return lib_.CheckPictStatus(&b);
            case 7: return lib_.GetImageDataEx(1);
            case 8: return lib_.SetDeviceFree();
            case 9: return lib_.ImageProcessingEx(dir_.file("x.DAT").c_str(), &v, &v);
            case 10: return lib_.SaveBitmap(dir_.file("x.DAT").c_str(), 0, 0, 0, 0, dir_.file("x.bmp").c_str());
            case 11: return lib_.Ether232Send("\x02" "c1 b4\x03", 7);
            default: return lib_.Ether232Recv(buf);
        }
    }
};

// Faults: a key read for another call, _Skip or _Count off by one, the call
// carried out in spite of its fault.
TEST_P(ApiFail, TheChosenStatusForCountCallsAfterSkip) {
    const std::string key = std::string("Fail_") + sim::sCallName(sim::Call(GetParam()));
    sIni(key + "=-95\n" + key + "_Skip=1\n" + key + "_Count=2");
    if (GetParam() != 0) lib_.Init(ini_.c_str(), 1);
    ASSERT_TRUE(GetParam() <= 1 || lib_.SetCommInit() == 0) << "the link opened for the calls after it";
    std::vector<bool> failed;
    for (int i = 0; i < 4; ++i) failed.push_back(lCall(GetParam()) == -95);
    EXPECT_EQ(failed, (std::vector<bool>{false, true, true, false})) << key;
    EXPECT_TRUE(GetParam() != 11 || sim::theLibrary().embeddedUnit()->commands().size() == 2) << "a failed send arrived";
}

INSTANTIATE_TEST_SUITE_P(AllThirteen, ApiFail, ::testing::Range<size_t>(0, sim::kCallCount),
                         [](const auto& info) { return std::string(sim::sCallName(sim::Call(info.param))); });

using ApiCalls = SimTest;

// Faults: a helper of the library leaks out of the shared object, a call is
// missing, or the library names a call (in its Fail_ keys) otherwise.
TEST_F(ApiCalls, TheSharedObjectExportsExactlyTheThirteenCalls) {
    const std::string so = sStage() + "/libZyrPan2.so", list = dir_.file("exports");
    ASSERT_EQ(std::system(("nm -D --defined-only --format=just-symbols " + so + " >" + list).c_str()), 0) << so;
    Texts calls;
    for (size_t i = 0; i < sim::kCallCount; ++i) calls.push_back(std::string("ZyrWeq_") + sim::sCallName(sim::Call(i)));
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(split(zyrtest::readBytes(list), '\n'), calls);
}

// Faults: a status of the library changed, a null pointer followed, a read
// handing the console more than its 1024-byte buffer or losing the rest, a
// link still usable after its release, a fault without _Count not kept up.
TEST_F(ApiCalls, StatusesOfTheLinkAndOfNullArguments) {
    char buf[1024];
    int32_t v = 0;
    std::string frames;
    for (int i = 0; i < 1100; ++i) frames += sim::sBuildFrame("t0");
    const struct { const char* what; std::function<int32_t()> call; int32_t status; } steps[] = {
        {"open before Init", [&] { return lib_.SetCommInit(); }, 9},
        {"unusable Link", [&] { return lOpen("Link=modem:1"); }, -3},
        {"read, not open", [&] { return lib_.Ether232Recv(buf); }, -1},
        {"send, not open", [&] { return lib_.Ether232Send("c1", 2); }, -1},
        {"open", [&] { return lOpen("Fail_ResetAll=29\nAnswerDelay=0"); }, 0},
        {"read, nothing came", [&] { return lib_.Ether232Recv(buf); }, 0},
        {"1100 frames", [&] { return lib_.Ether232Send(frames.data(), static_cast<int16_t>(frames.size())); }, 0},
        {"read, their ACKs fill the buffer", [&] { return lib_.Ether232Recv(buf); }, 1024},
        {"read, the rest", [&] { return lib_.Ether232Recv(buf); }, 76},
        {"read, nothing more", [&] { return lib_.Ether232Recv(buf); }, 0},
        {"null text", [&] { return lib_.Ether232Send(nullptr, 2); }, 3},
        {"negative length", [&] { return lib_.Ether232Send("c1", -1); }, 3},
        {"null buffer", [&] { return lib_.Ether232Recv(nullptr); }, 3},
        {"release", [&] { return lib_.SetDeviceFree(); }, 0},
        {"read, released", [&] { return lib_.Ether232Recv(buf); }, -1},
        {"module, null path", [&] { return lib_.SetSensMduInit(nullptr, 1); }, 3},
        {"film, null path", [&] { return lib_.SetParamforPictEx(nullptr, 1, 10, 50); }, 3},
        {"poll, no byte", [&] { return lib_.CheckPictStatus(nullptr); }, 3},
        {"processing, no width", [&] { return lib_.ImageProcessingEx("x", nullptr, &v); }, 3},
        {"processing, no height", [&] { return lib_.ImageProcessingEx("x", &v, nullptr); }, 3},
        {"bitmap, no name", [&] { return lib_.SaveBitmap("x", 0, 0, 0, 0, nullptr); }, 3},
        {"Fail_ResetAll without a count", [&] { return lib_.ResetAll() + lib_.ResetAll(); }, 58},
    };
    for (const auto& s : steps) EXPECT_EQ(s.call(), s.status) << s.what;
}

// Faults: the counts start again at each Init of the same file (the console's
// reconnection), or go on, with the old unit, for another file.
TEST_F(ApiCalls, AnotherSettingsFileStartsCountsAndUnitAfresh) {
    const std::string keys = "Fail_SetCommInit=-4\nFail_SetCommInit_Skip=1\nStartAtOrigin=0\nMoveTime=1000";
    ASSERT_EQ(lOpen(keys), 0);
    line_.lSend("r1");  // the arm goes to its origin
    vRun(1500);
    EXPECT_EQ(lOpen(keys), -4) << "the second open of the program";
    zyrtest::writeBytes(dir_.file("other.ini"), zyrtest::readBytes(ini_));
    lib_.Init(dir_.file("other.ini").c_str(), 1);
    ASSERT_EQ(lib_.SetCommInit(), 0) << "counted from zero again";
    const uint32_t t0 = clock_.tickCount();
    line_.events.clear();
    line_.lSend("c1");
    vRun(200);
    line_.lSend("c1");
    vRun(200);
    EXPECT_EQ(line_.seen(t0, false), (Texts{"100 s1", "300 r0"})) << "a new unit, away from its origin";
}

// Faults: a spoilt frame reaches the sensor, a frame is missed in either
// direction, or a report is passed on before its good copy arrives.
TEST_F(ApiCalls, EveryGoodFrameOnTheLineGoesToTheSensor) {
    Texts commands, reports;
    sim::theLibrary().vSetTextSinks([&](const std::string& t) { commands.push_back(t); },
                                    [&](const std::string& t) { reports.push_back(t); });
    ASSERT_EQ(lOpen("AnswerDelay=100\nReadyTime=1000\nHandSwitchDelay=500\nCorruptEvery=3"), 0);
    lib_.Ether232Send("\x02" "c1 b5\x03", 7);  // spoilt: refused by the unit
    line_.lSend("c1");
    vRun(300);
    line_.lSend("NP_P1_C 70 4");
    vRun(2000);
    EXPECT_EQ(commands, (Texts{"c1", "NP_P1_C 70 4"}));
    EXPECT_EQ(reports, (Texts{"s1", "d1", "X1"}));
    EXPECT_EQ(line_.seen(1000, true), (Texts{"10 NAK", "10 ACK", "100 s1", "310 ACK", "1300 d1", "1800 BAD", "1810 X1"}));
}

// A unit that serves consoles for weeks (zyrpan-unit) must not grow with
// every frame, yet its latest commands stay readable, in order.
// Faults: a log that keeps every command; one that trims the newest instead
// of the oldest, or out of order; one trimmed so early that a short
// session's commands are already gone.
TEST_F(ApiCalls, TheUnitsCommandLogIsBoundedAndEndsWithTheLatestCommands) {
    ASSERT_EQ(lOpen(""), 0);
    int sent = 0;
    for (const auto& [upTo, kept] : {std::pair{1, 1u}, {255, 255u}, {256, 256u}, {512, 512u}, {513, 256u}, {20000, 256u}}) {
        for (; sent < upTo; ++sent, line_.lPoll(0)) ASSERT_EQ(line_.lSend("q" + std::to_string(sent)), 0);
        const Texts& log = sim::theLibrary().embeddedUnit()->commands();
        ASSERT_GE(log.size(), kept) << sent;
        EXPECT_LE(log.size(), 512u) << sent;
        for (size_t k = 0; k < log.size(); ++k) ASSERT_EQ(log[k], "q" + std::to_string(sent - log.size() + k)) << sent;
    }
}

// The keys of [ZyrPan2], the status of ZyrWeq_SetCommInit, whether the
// virtual sensor answers.
class SensorChoice : public SimTest, public ::testing::WithParamInterface<std::tuple<const char*, int32_t, bool>> {};

// Faults: a missing Link taken for the simulator; the virtual sensor
// answering beside a real link; Sensor=sim ignored, matched as a prefix or
// case by case; a later sensor call (the image among them) not refused.
TEST_P(SensorChoice, RefusesEverySensorCallUnlessTheVirtualSensorWasChosen) {
    const auto& [keys, commInit, booVirtual] = GetParam();
    ASSERT_EQ(lib_.Init(sIni(keys, false).c_str(), 1), 0);
    EXPECT_EQ(lib_.SetCommInit(), commInit);
    EXPECT_EQ(lib_.ResetAll(), 0) << "the console resets the sensor while it connects";
    EXPECT_EQ(lib_.SetSensMduInit(ini_.c_str(), 1), booVirtual ? 0 : sim::kNoSensorDriver);
    uint8_t b = 0;
    int32_t v = 0;
    for (int32_t status : {lib_.ResetAll(), lib_.SetParamforPictEx("/nonexistent/NP.dat", 1, 10, 50), lib_.SetWaitXExpose(),
                           lib_.CheckPictStatus(&b), lib_.GetImageDataEx(1), lib_.ImageProcessingEx("/nonexistent/Z.DAT", &v, &v),
                           lib_.SaveBitmap("/nonexistent/Z.DAT", v, v, 0, 0, "/nonexistent/z.bmp")})
        EXPECT_EQ(status == sim::kNoSensorDriver, !booVirtual) << keys;
}

INSTANTIATE_TEST_SUITE_P(Settings, SensorChoice, ::testing::Values(
    std::tuple{"", -4, false}, std::tuple{"Link=", -4, false}, std::tuple{"Link=sim", 0, true},
    std::tuple{"Link=tcp:127.0.0.1:1", -1, false}, std::tuple{"Link=tcp:127.0.0.1:1\nSensor=sim", -1, true},
    std::tuple{"Link=tcp:127.0.0.1:1\nSensor=simx", -1, false}, std::tuple{"Link=serial:/nonexistent/ttyS9\nSensor=SIM", -1, true}));

}  // namespace
