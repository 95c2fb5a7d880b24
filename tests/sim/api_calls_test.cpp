// The library's thirteen calls as the console makes them: the chosen status
// of each ([ZyrPan2] Fail_<Call>), the link calls' own statuses, and the
// frame texts handed to the virtual sensor.
#include <gtest/gtest.h>

#include <functional>

#include "sim/call_faults.h"
#include "sim/library.h"
#include "tests/sim/sim_fixture.h"

namespace {

using simtest::Texts;

class ApiCalls : public simtest::SimFixture {
protected:
    // Runs the call with arguments the console could pass.
    int32_t lCall(sim::Call call) {
        const std::string dat = dir + "/ZYR_PAN_WEQ.DAT";
        const std::string bmp = dir + "/out.bmp";
        uint8_t byt = 0;
        int32_t v1 = 0, v2 = 0;
        char buf[1024];
        switch (call) {
            case sim::Call::Init: return ZyrWeq_Init(ini.c_str(), 1);
            case sim::Call::SetCommInit: return ZyrWeq_SetCommInit();
            case sim::Call::SetSensMduInit: return ZyrWeq_SetSensMduInit(ini.c_str(), 1);
            case sim::Call::ResetAll: return ZyrWeq_ResetAll();
            case sim::Call::SetParamforPictEx: return ZyrWeq_SetParamforPictEx("/nonexistent/NP_P1_A.dat", 1, 10, 50);
            case sim::Call::SetWaitXExpose: return ZyrWeq_SetWaitXExpose();
            case sim::Call::CheckPictStatus: return ZyrWeq_CheckPictStatus(&byt);
            case sim::Call::GetImageDataEx: return ZyrWeq_GetImageDataEx(1);
            case sim::Call::SetDeviceFree: return ZyrWeq_SetDeviceFree();
            case sim::Call::ImageProcessingEx: return ZyrWeq_ImageProcessingEx(dat.c_str(), &v1, &v2);
            case sim::Call::SaveBitmap: return ZyrWeq_SaveBitmap(dat.c_str(), 0, 0, 0, 0, bmp.c_str());
            case sim::Call::Ether232Send: return ZyrWeq_Ether232Send("\x02" "c1 b4\x03", 7);
            case sim::Call::Ether232Recv: return ZyrWeq_Ether232Recv(buf);
        }
        return 0;
    }
};

class ApiFailKey : public ApiCalls, public ::testing::WithParamInterface<int> {};

TEST_P(ApiFailKey, ReturnsTheChosenStatusWithoutDoingTheCall) {
    const auto call = static_cast<sim::Call>(GetParam());
    const std::string key = std::string("Fail_") + sim::sCallName(call);
    vWriteIni("Link=sim\n" + key + "=-95");
    if (call != sim::Call::Init) ZyrWeq_Init(ini.c_str(), 1);
    EXPECT_EQ(lCall(call), -95) << key;
    EXPECT_EQ(lCall(call), -95) << key << " (every call without _Count)";
}

INSTANTIATE_TEST_SUITE_P(AllThirteen, ApiFailKey, ::testing::Range(0, static_cast<int>(sim::kCallCount)),
                         [](const auto& info) { return std::string(sim::sCallName(static_cast<sim::Call>(info.param))); });

TEST_F(ApiCalls, SkipAndCountChooseWhichCallsFail) {
    vWriteIni("Fail_ResetAll=29\nFail_ResetAll_Skip=1\nFail_ResetAll_Count=2\n"
              "Fail_Ether232Recv=-7\nFail_Ether232Recv_Skip=2\nFail_Ether232Recv_Count=1");
    ZyrWeq_Init(ini.c_str(), 1);
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    std::vector<bool> reset, recv;
    char buf[1024];
    for (int i = 0; i < 4; ++i) reset.push_back(ZyrWeq_ResetAll() == 29);
    for (int i = 0; i < 4; ++i) recv.push_back(ZyrWeq_Ether232Recv(buf) == -7);
    EXPECT_EQ(reset, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(recv, (std::vector<bool>{false, false, true, false}));
}

TEST_F(ApiCalls, CallCountsSurviveANewInit) {
    vWriteIni("Fail_SetCommInit=-4\nFail_SetCommInit_Skip=1");
    ZyrWeq_Init(ini.c_str(), 1);
    EXPECT_EQ(ZyrWeq_SetCommInit(), 0);
    ZyrWeq_Init(ini.c_str(), 1);  // the console's reconnection
    EXPECT_EQ(ZyrWeq_SetCommInit(), -4);
    EXPECT_EQ(sim::theLibrary().lCalls(sim::Call::SetCommInit), 2u);
}

TEST_F(ApiCalls, AnotherSettingsFileStartsTheLibraryAfresh) {
    vWriteIni("Fail_SetCommInit=-4\nFail_SetCommInit_Skip=1\nStartAtOrigin=0\nMoveTime=1000");
    ZyrWeq_Init(ini.c_str(), 1);
    ASSERT_EQ(ZyrWeq_SetCommInit(), 0);
    vCommand("r1");  // the arm goes to its origin
    vRun(1200);
    const std::string other = dir + "/other.ini";
    std::filesystem::copy_file(ini, other);
    ZyrWeq_Init(other.c_str(), 1);
    EXPECT_EQ(ZyrWeq_SetCommInit(), 0) << "counted from zero again";
    con.vClear();
    vCommand("c1");
    vRun(200);
    vCommand("c1");
    vRun(200);
    EXPECT_EQ(vsTake(), (Texts{"s1", "r0"})) << "a new unit, away from its origin";
}

TEST_F(ApiCalls, FailedSendPutsNothingOnTheLine) {
    ASSERT_EQ(lOpen("Fail_Ether232Send=12\nFail_Ether232Send_Count=1"), 0);
    EXPECT_EQ(con.lSendText("c1"), 12);
    vRun(500);
    EXPECT_TRUE(con.wire.empty());
    EXPECT_TRUE(sim::theLibrary().embeddedUnit()->commands().empty());
    vCommand("c1");
    vRun(500);
    EXPECT_EQ(con.whats(), (Texts{"ACK", "s1"}));
}

TEST_F(ApiCalls, FailedLinkOpenLeavesTheLinkClosed) {
    ASSERT_EQ(lOpen("Fail_SetCommInit=-1"), -1);
    EXPECT_EQ(con.lPoll(), -1);
    EXPECT_EQ(con.lSendText("c1"), -1);
}

TEST_F(ApiCalls, LinkStatuses) {
    char buf[1024];
    EXPECT_EQ(ZyrWeq_SetCommInit(), 9) << "before ZyrWeq_Init";
    vWriteIni("Link=modem:1");
    ZyrWeq_Init(ini.c_str(), 1);
    EXPECT_EQ(ZyrWeq_SetCommInit(), -3) << "unusable Link";
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), -1) << "not open";
    EXPECT_EQ(ZyrWeq_Ether232Send("c1", 2), -1) << "not open";
    ASSERT_EQ(lOpen(), 0);
    EXPECT_EQ(ZyrWeq_Ether232Send(nullptr, 2), 3);
    EXPECT_EQ(ZyrWeq_Ether232Send("c1", -1), 3);
    EXPECT_EQ(ZyrWeq_Ether232Recv(nullptr), 3);
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), 0) << "open, nothing came";
    ZyrWeq_SetDeviceFree();
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), -1) << "released";
}

TEST_F(ApiCalls, NullPointersAreRefusedByTheSensorCalls) {
    ZyrWeq_Init(ini.c_str(), 1);
    int32_t v = 0;
    EXPECT_EQ(ZyrWeq_SetSensMduInit(nullptr, 1), 3);
    EXPECT_EQ(ZyrWeq_SetParamforPictEx(nullptr, 1, 10, 50), 3);
    EXPECT_EQ(ZyrWeq_CheckPictStatus(nullptr), 3);
    EXPECT_EQ(ZyrWeq_ImageProcessingEx("x", nullptr, &v), 3);
    EXPECT_EQ(ZyrWeq_ImageProcessingEx("x", &v, nullptr), 3);
    EXPECT_EQ(ZyrWeq_SaveBitmap("x", 0, 0, 0, 0, nullptr), 3);
}

TEST_F(ApiCalls, ReceiveReturnsAtMostTheConsolesBufferAtATime) {
    ASSERT_EQ(lOpen("AnswerDelay=0"), 0);
    // 200 well-formed frames of 7 bytes each are acknowledged with 200 ACKs.
    std::string burst;
    for (int i = 0; i < 200; ++i) burst += sim::sBuildFrame("t1");
    ASSERT_EQ(ZyrWeq_Ether232Send(burst.data(), static_cast<int16_t>(burst.size())), 0);
    char buf[1024];
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), 200);
    EXPECT_EQ(std::string(buf, 200), std::string(200, '\x06'));
    std::string big;
    for (int i = 0; i < 1100; ++i) big += sim::sBuildFrame("t0");
    // The console's count is 16-bit; stay below 32768 bytes.
    ASSERT_LT(big.size(), 32768u);
    ASSERT_EQ(ZyrWeq_Ether232Send(big.data(), static_cast<int16_t>(big.size())), 0);
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), 1024);
    EXPECT_EQ(ZyrWeq_Ether232Recv(buf), 76);
}

TEST_F(ApiCalls, FrameTextsOnTheLineGoToTheSensor) {
    Texts commands, reports;
    sim::theLibrary().vSetTextSinks([&](const std::string& t) { commands.push_back(t); },
                                    [&](const std::string& t) { reports.push_back(t); });
    ASSERT_EQ(lOpen("AnswerDelay=100\nReadyTime=1000\nHandSwitchDelay=500\nCorruptEvery=3"), 0);
    con.lSendRaw("\x02" "c1 b5\x03");  // spoilt: the unit refuses it, the sensor never hears it
    con.lPoll();
    vCommand("c1");
    vRun(300);
    vCommand("NP_P1_C 70 4");
    vRun(2000);
    EXPECT_EQ(commands, (Texts{"c1", "NP_P1_C 70 4"}));
    // The unit's third frame, X1, arrives spoilt and is heard only when sent again.
    EXPECT_EQ(reports, (Texts{"s1", "d1", "X1"}));
    std::string spoilt = sim::sBuildFrame("X1");
    spoilt[spoilt.size() - 2] = spoilt[spoilt.size() - 2] == '0' ? '1' : '0';
    EXPECT_EQ(con.whats(), (Texts{"NAK", "ACK", "s1", "ACK", "d1", "BAD:" + spoilt, "X1"}));
}

}  // namespace
