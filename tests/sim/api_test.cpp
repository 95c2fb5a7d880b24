// The library's thirteen calls as the console makes them: what the shared
// object exports, the status each call can be told to return (Fail_<Call>),
// the statuses of its own, and the frame texts the line hands on to the sensor.
#include <cstdio>
#include <functional>
#include <set>

#include "sim/call_faults.h"
#include "sim/virtual_unit.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;

// Faults: a helper of the library leaks out of the shared object, a call is
// missing, or the library names a call (in its Fail_ keys) otherwise.
TEST(ApiExports, ExactlyTheThirteenCalls) {
    const std::string so = sStage() + "/libZyrPan2.so";
    FILE* nm = ::popen(("nm -D --defined-only --format=just-symbols " + so).c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names, calls;
    char line[512];
    while (std::fgets(line, sizeof line, nm) != nullptr) names.insert(std::string(line, std::strcspn(line, "\n")));
    ASSERT_EQ(::pclose(nm), 0) << "nm (binutils) could not list " << so;
    for (size_t i = 0; i < sim::kCallCount; ++i) calls.insert(std::string("ZyrWeq_") + sim::sCallName(sim::Call(i)));
    EXPECT_EQ(names, calls);
}

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

// Faults: a status of the library changed, a null pointer followed, a read
// handing the console more than its 1024-byte buffer or losing the rest, a
// link still usable after its release, a fault without _Count not kept up.
TEST_F(ApiCalls, StatusesOfTheLinkAndOfNullArguments) {
    char buf[1024];
    int32_t v = 0;
    std::string frames;
    for (int i = 0; i < 1100; ++i) frames += sim::sBuildFrame("t0");
    const struct {
        const char* what;
        std::function<int32_t()> call;
        int32_t status;
    } steps[] = {
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

}  // namespace
