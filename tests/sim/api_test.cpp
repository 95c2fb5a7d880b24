// The library's thirteen calls as the console makes them: what the shared
// object exports, the status each call can be told to return (Fail_<Call>),
// the statuses of its own, the console's receive buffer, and the frame
// texts the line hands on to the sensor.
#include <cstdio>
#include <functional>
#include <set>

#include "sim/virtual_unit.h"
#include "tests/sim/sim_fixture.h"

namespace {

using namespace simtest;

// In the order of the library's own table of calls.
const char* const kCalls[] = {"Init", "SetCommInit", "SetSensMduInit", "ResetAll", "SetParamforPictEx",
                              "SetWaitXExpose", "CheckPictStatus", "GetImageDataEx", "SetDeviceFree",
                              "ImageProcessingEx", "SaveBitmap", "Ether232Send", "Ether232Recv"};

// Fault: a helper of the library leaks out of the shared object, or a call is missing.
TEST(ApiExports, ExactlyTheThirteenCalls) {
    const std::string so = sStage() + "/libZyrPan2.so";
    FILE* nm = ::popen(("nm -D --defined-only " + so).c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names, calls;
    char line[512];
    while (std::fgets(line, sizeof line, nm) != nullptr) {
        const std::string s(line, std::strcspn(line, "\n"));
        names.insert(s.substr(s.rfind(' ') + 1));
    }
    ASSERT_EQ(::pclose(nm), 0) << "nm (binutils) could not list " << so;
    for (const char* c : kCalls) calls.insert(std::string("ZyrWeq_") + c);
    EXPECT_EQ(names, calls);
}

class ApiFail : public SimTest, public ::testing::WithParamInterface<size_t> {
protected:
    int32_t lCall(size_t i) {
        char buf[1024];
        uint8_t b = 0;
        int32_t v = 0;
        const std::string dat = dir_.file("x.DAT"), bmp = dir_.file("x.bmp");
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
            case 9: return lib_.ImageProcessingEx(dat.c_str(), &v, &v);
            case 10: return lib_.SaveBitmap(dat.c_str(), 0, 0, 0, 0, bmp.c_str());
            case 11: return lib_.Ether232Send("\x02" "c1 b4\x03", 7);
            default: return lib_.Ether232Recv(buf);
        }
    }
};

// Faults: a key read for another call, _Skip or _Count off by one, the call
// carried out in spite of its fault.
TEST_P(ApiFail, TheChosenStatusForCountCallsAfterSkip) {
    const std::string key = std::string("Fail_") + kCalls[GetParam()];
    sIni(key + "=-95\n" + key + "_Skip=1\n" + key + "_Count=2");
    if (GetParam() != 0) lib_.Init(ini_.c_str(), 1);
    if (GetParam() > 1) {
        ASSERT_EQ(lib_.SetCommInit(), 0);
    }
    std::vector<bool> failed;
    for (int i = 0; i < 4; ++i) failed.push_back(lCall(GetParam()) == -95);
    EXPECT_EQ(failed, (std::vector<bool>{false, true, true, false})) << key;
    if (GetParam() == 11) {
        EXPECT_EQ(sim::theLibrary().embeddedUnit()->commands(), (Texts{"c1", "c1"})) << "a failed send reached the unit";
    }
}

INSTANTIATE_TEST_SUITE_P(AllThirteen, ApiFail, ::testing::Range<size_t>(0, 13),
                         [](const auto& info) { return std::string(kCalls[info.param]); });

using ApiCalls = SimTest;

// Faults: a status of the library changed, a null pointer followed, a link
// still usable after its release, a fault without _Count not kept up.
TEST_F(ApiCalls, StatusesOfTheLinkAndOfNullArguments) {
    char buf[1024];
    int32_t v = 0;
    const struct {
        const char* what;
        std::function<int32_t()> call;
        int32_t status;
    } steps[] = {
        {"open before Init", [&] { return lib_.SetCommInit(); }, 9},
        {"unusable Link", [&] { return lOpen("Link=modem:1"); }, -3},
        {"read, not open", [&] { return lib_.Ether232Recv(buf); }, -1},
        {"send, not open", [&] { return lib_.Ether232Send("c1", 2); }, -1},
        {"open", [&] { return lOpen("Fail_ResetAll=29"); }, 0},
        {"read, nothing came", [&] { return lib_.Ether232Recv(buf); }, 0},
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
        {"Fail_ResetAll without a count, first", [&] { return lib_.ResetAll(); }, 29},
        {"Fail_ResetAll without a count, again", [&] { return lib_.ResetAll(); }, 29},
    };
    for (const auto& s : steps) EXPECT_EQ(s.call(), s.status) << s.what;
}

// Faults: the counts start again at each Init of the same file (the console's
// reconnection), or go on, with the old unit, for another file.
TEST_F(ApiCalls, TheSameSettingsFileKeepsCountsAndUnitAnotherStartsAfresh) {
    const std::string keys = "Fail_SetCommInit=-4\nFail_SetCommInit_Skip=2\nStartAtOrigin=0\nMoveTime=1000";
    auto asked = [&] {  // the connection's two status requests
        const uint32_t t0 = clock_.tickCount();
        line_.events.clear();
        for (int i = 0; i < 2; ++i) {
            line_.lSend("c1");
            vRun(200);
        }
        return line_.seen(t0, false);
    };
    ASSERT_EQ(lOpen(keys), 0);
    line_.lSend("r1");  // the arm goes to its origin
    vRun(1500);
    ASSERT_EQ(lOpen(keys), 0);
    EXPECT_EQ(asked(), (Texts{"100 s1", "300 r1"})) << "the same unit, at its origin";
    EXPECT_EQ(lOpen(keys), -4) << "the third open of the program";
    const std::string other = dir_.file("other.ini");
    zyrtest::writeBytes(other, zyrtest::readBytes(ini_));
    lib_.Init(other.c_str(), 1);
    ASSERT_EQ(lib_.SetCommInit(), 0) << "counted from zero again";
    EXPECT_EQ(asked(), (Texts{"100 s1", "300 r0"})) << "a new unit, away from its origin";
}

// Fault: a read hands the console more than its 1024-byte buffer, or loses the rest.
TEST_F(ApiCalls, AReadFillsAtMostTheConsolesBuffer) {
    ASSERT_EQ(lOpen("AnswerDelay=0"), 0);
    std::string frames;
    for (int i = 0; i < 1100; ++i) frames += sim::sBuildFrame("t0");
    ASSERT_EQ(lib_.Ether232Send(frames.data(), static_cast<int16_t>(frames.size())), 0);
    char buf[1024];
    EXPECT_EQ(lib_.Ether232Recv(buf), 1024);
    EXPECT_EQ(lib_.Ether232Recv(buf), 76);
    EXPECT_EQ(std::string(buf, 76), std::string(76, '\x06'));
    EXPECT_EQ(lib_.Ether232Recv(buf), 0);
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
