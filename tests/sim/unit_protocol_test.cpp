// The unit's side of the line on its own: what it answers to each frame,
// and how it sends its reports until the console acknowledges them.
#include <gtest/gtest.h>

#include "sim/fault_injector.h"
#include "sim/frame_codec.h"
#include "sim/unit_protocol.h"

namespace {

using sim::sBuildFrame;

class UnitProtocolTest : public ::testing::Test {
protected:
    UnitProtocolTest() : faults(sim::UnitFaults{}), proto(faults) {
        proto.vSetCommandSink([this](const std::string& text, uint32_t) { commands.push_back(text); });
    }
    // The unit's output over time: runs the resend clock to t and collects.
    std::string at(uint32_t t) {
        proto.vRunDue(t);
        return proto.sTakeOutput();
    }

    sim::FaultInjector faults;
    sim::UnitProtocol proto;
    std::vector<std::string> commands;
};

TEST_F(UnitProtocolTest, AcknowledgesAGoodFrameAndHandsItsTextOn) {
    proto.vReceive(sBuildFrame("c1"), 0);
    EXPECT_EQ(proto.sTakeOutput(), "\x06");
    EXPECT_EQ(commands, std::vector<std::string>{"c1"});
}

TEST_F(UnitProtocolTest, RefusesSpoiltFramesWithNakAndDoesNothing) {
    proto.vReceive("\x02" "c1 b5\x03", 0);
    proto.vReceive("\x02" + std::string(1020, 'a') + " 00\x03", 0);
    EXPECT_EQ(proto.sTakeOutput(), "\x15\x15");
    EXPECT_TRUE(commands.empty());
}

TEST_F(UnitProtocolTest, ReadsAFrameSplitOverSeveralChunks) {
    proto.vReceive("\x02" "NP_P1", 0);
    EXPECT_EQ(proto.sTakeOutput(), "");
    proto.vReceive("_C 70 4 ", 1);
    proto.vReceive(sim::sCheckSum("NP_P1_C 70 4 ") + "\x03", 2);
    EXPECT_EQ(proto.sTakeOutput(), "\x06");
    EXPECT_EQ(commands, std::vector<std::string>{"NP_P1_C 70 4"});
}

TEST_F(UnitProtocolTest, SendsAReportFourTimes3000msApartThenGivesUp) {
    proto.vQueueReport("s1", 100);
    const std::string frame = sBuildFrame("s1");
    EXPECT_EQ(proto.sTakeOutput(), frame);
    EXPECT_EQ(at(3099), "");
    EXPECT_EQ(at(3100), frame);
    EXPECT_EQ(at(6100), frame);
    EXPECT_EQ(at(9099), "");
    EXPECT_EQ(at(9100), frame);
    EXPECT_EQ(at(12099), "");
    EXPECT_EQ(at(12100), "");  // given up after the fourth send
    EXPECT_EQ(proto.lReportsGivenUp(), 1u);
    EXPECT_FALSE(proto.nextDue().has_value());
}

TEST_F(UnitProtocolTest, StopsSendingOnceAcknowledgedAtTheThirdSend) {
    proto.vQueueReport("r1", 0);
    (void)proto.sTakeOutput();
    at(3000);
    at(6000);
    proto.vReceive("\x06", 6050);
    EXPECT_EQ(at(9000), "");
    EXPECT_EQ(at(20000), "");
    EXPECT_EQ(proto.lReportsGivenUp(), 0u);
}

TEST_F(UnitProtocolTest, SendsAgainAtOnceAfterANak) {
    proto.vQueueReport("T0", 0);
    const std::string frame = sBuildFrame("T0");
    EXPECT_EQ(proto.sTakeOutput(), frame);
    proto.vReceive("\x15", 10);
    EXPECT_EQ(proto.sTakeOutput(), frame);
    proto.vReceive("\x15\x15\x15", 20);  // fourth send refused too: given up
    EXPECT_EQ(proto.sTakeOutput(), frame + frame);
    EXPECT_EQ(proto.lReportsGivenUp(), 1u);
}

TEST_F(UnitProtocolTest, SendsItsReportsOneAtATimeInOrder) {
    proto.vQueueReport("X0", 0);
    proto.vQueueReport("E1", 0);
    EXPECT_EQ(proto.sTakeOutput(), sBuildFrame("X0"));
    proto.vReceive("\x06", 5);
    EXPECT_EQ(proto.sTakeOutput(), sBuildFrame("E1"));
    proto.vReceive("\x06", 6);
    EXPECT_EQ(proto.sTakeOutput(), "");
}

TEST_F(UnitProtocolTest, AnAckWithNothingInFlightIsIgnored) {
    proto.vReceive("\x06\x15", 0);
    EXPECT_EQ(proto.sTakeOutput(), "");
    EXPECT_TRUE(commands.empty());
}

TEST_F(UnitProtocolTest, AnswersACommandWhileItsOwnReportWaitsForItsAck) {
    proto.vQueueReport("d1", 0);
    (void)proto.sTakeOutput();
    proto.vReceive(sBuildFrame("c1"), 10);
    EXPECT_EQ(proto.sTakeOutput(), "\x06");
    proto.vReceive("\x06", 20);  // the report's ACK
    EXPECT_EQ(at(5000), "");
}

TEST_F(UnitProtocolTest, ClearingTheLineForgetsReportsAndHalfFrames) {
    proto.vQueueReport("d1", 0);
    proto.vQueueReport("X1", 0);
    proto.vReceive("\x02" "c", 1);
    proto.vClear();
    (void)proto.sTakeOutput();
    proto.vReceive("1 b4\x03", 2);  // the rest of the old frame is noise now
    EXPECT_EQ(proto.sTakeOutput(), "");
    EXPECT_EQ(at(10000), "");
    EXPECT_TRUE(commands.empty());
}

}  // namespace
