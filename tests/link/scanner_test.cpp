// The receive scanner: one event per call, frames verified and answered.
#include <gtest/gtest.h>

#include "link/scanner.h"
#include "tests/link/link_fixture.h"

using fakeunit::sFrame;
using fakeunit::sHex;
using fakeunit::unit;
using fakeunit::vecWire;

namespace {
const std::string kAck = "\x06";
const std::string kNak = "\x15";
size_t lReads() { return unit.inRecvDuringRead.size(); }
}  // namespace

class Scanner : public LinkTest {};

TEST_F(Scanner, AcceptsTheUnitsPositionReportAndAcknowledgesIt) {
    unit.reads = {std::string("\x02\x73\x31\x20\x63\x34\x03", 7)};
    vRecvProc();
    EXPECT_EQ(App.g_sLinkAnswer, sFrame("s1"));
    ASSERT_EQ(unit.sends.size(), 1u);
    EXPECT_EQ(sHex(unit.sends[0].bytes), "06");
    EXPECT_EQ(sGetAnswer(), "s1");
    EXPECT_EQ(App.g_sLinkAnswer, "");
    EXPECT_EQ(sGetAnswer(), "");
}

TEST_F(Scanner, MarksTheReceiveCallWhileItRuns) {
    unit.reads = {"x"};
    vRecvProc();
    ASSERT_EQ(unit.inRecvDuringRead, std::vector<bool>{true});
    EXPECT_FALSE(App.g_booInRecv);
}

TEST_F(Scanner, AcceptsAnUpperCaseChecksum) {
    unit.reads = {"\x02" "c1 B4\x03"};
    vRecvProc();
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> ACK"});
    EXPECT_EQ(sGetAnswer(), "c1");
}

TEST_F(Scanner, RefusesAWrongChecksumWithNakAndDeliversNothing) {
    unit.reads = {"\x02s1 c5\x03"};
    vRecvProc();
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> NAK"});
    EXPECT_EQ(App.g_sLinkAnswer, "");
    EXPECT_EQ(sGetAnswer(), "");
}

TEST_F(Scanner, AssemblesAFrameSplitOverSeveralReads) {
    unit.reads = {"\x02s", "1 c", "4\x03"};
    vRecvProc();
    vRecvProc();
    EXPECT_TRUE(unit.sends.empty());
    EXPECT_TRUE(App.g_tLink.booInFrame);
    vRecvProc();
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> ACK"});
    EXPECT_EQ(sGetAnswer(), "s1");
}

TEST_F(Scanner, AnAckInsideAFrameEndsItAndIsRecorded) {
    unit.reads = {"\x02s1\x06 c4\x03"};
    vRecvProc();
    EXPECT_EQ(App.g_sLinkAnswer, kAck);
    EXPECT_FALSE(App.g_tLink.booInFrame);
    EXPECT_TRUE(App.g_tLink.booRecvPending);
    // The rest of the broken frame is ignored: no STX opens it again.
    vRecvProc();
    EXPECT_EQ(lReads(), 1u);
    EXPECT_TRUE(unit.sends.empty());
    EXPECT_EQ(App.g_sLinkAnswer, kAck);
    EXPECT_EQ(sGetAnswer(), "");
}

TEST_F(Scanner, ANakIsRecordedAndYieldsNoAnswer) {
    unit.reads = {kNak};
    vRecvProc();
    EXPECT_EQ(App.g_sLinkAnswer, kNak);
    EXPECT_FALSE(App.g_tLink.booRecvPending);
    EXPECT_EQ(sGetAnswer(), "");
    EXPECT_EQ(App.g_sLinkAnswer, "");
}

TEST_F(Scanner, ASecondStxRestartsTheFrame) {
    unit.reads = {"\x02xx\x02" "d1 b5\x03"};
    vRecvProc();
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> ACK"});
    EXPECT_EQ(sGetAnswer(), "d1");
}

TEST_F(Scanner, IgnoresBytesBeforeTheStxAndAnEtxOutsideAFrame) {
    unit.reads = {"zz\x03 \x02" "d1 b5\x03"};
    vRecvProc();
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> ACK"});
    EXPECT_EQ(sGetAnswer(), "d1");
}

TEST_F(Scanner, AnAckThenAFrameInOneReadAreTwoEventsWithOneRead) {
    unit.reads = {kAck + sFrame("s2")};
    vRecvProc();
    EXPECT_EQ(App.g_sLinkAnswer, kAck);
    EXPECT_TRUE(App.g_tLink.booRecvPending);
    EXPECT_EQ(App.g_tLink.lRecvPos, 1);
    EXPECT_TRUE(unit.sends.empty());

    vRecvProc();
    EXPECT_EQ(lReads(), 1u);  // resumed in the buffer without reading
    EXPECT_FALSE(App.g_tLink.booRecvPending);
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> ACK"});
    EXPECT_EQ(sGetAnswer(), "s2");

    vRecvProc();
    EXPECT_EQ(lReads(), 2u);
}

TEST_F(Scanner, TwoFramesInOneReadAreDeliveredOneAtATime) {
    unit.reads = {sFrame("r1") + sFrame("T0")};
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), "r1");
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), "T0");
    EXPECT_EQ(lReads(), 1u);
    EXPECT_EQ(vecWire(), (std::vector<std::string>{"> ACK", "> ACK"}));
}

TEST_F(Scanner, AnEmptyTextFrameOfFiveCharactersIsAccepted) {
    unit.reads = {"\x02 20\x03"};
    vRecvProc();
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> ACK"});
    EXPECT_EQ(App.g_sLinkAnswer, "\x02 20\x03");
    EXPECT_EQ(sGetAnswer(), "");
}

TEST_F(Scanner, FramesShorterThanFiveAreRefused) {
    unit.reads = {"\x02\x03", "\x02 \x03", "\x02" "20\x03"};
    vRecvProc();
    vRecvProc();
    vRecvProc();
    EXPECT_EQ(vecWire(), (std::vector<std::string>{"> NAK", "> NAK", "> NAK"}));
    EXPECT_EQ(App.g_sLinkAnswer, "");
}

TEST_F(Scanner, TrimsBlanksAroundTheText) {
    unit.reads = {sFrame("  E1 ")};
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), "E1");
}

TEST_F(Scanner, AFrameOf1024CharactersIsVerifiedAndOneOf1025IsRefused) {
    // 1019 characters of text make a frame of 1024; one more makes 1025.
    const std::string s1024 = sFrame(std::string(1019, 'a'));
    const std::string s1025 = sFrame(std::string(1020, 'a'));
    ASSERT_EQ(s1024.size(), 1024u);
    ASSERT_EQ(s1025.size(), 1025u);
    unit.reads = {s1024, s1025.substr(0, 1000), s1025.substr(1000)};
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), std::string(1019, 'a'));
    vRecvProc();
    vRecvProc();
    EXPECT_EQ(vecWire(), (std::vector<std::string>{"> ACK", "> NAK"}));
    EXPECT_EQ(App.g_sLinkAnswer, "");
}

TEST_F(Scanner, AnEndlessFrameIsRefusedAtItsEtxWithoutGrowingWithoutBound) {
    unit.reads = {"\x02" + std::string(1023, 'a'), std::string(1024, 'b'), std::string(1024, 'c'),
                  " 00\x03"};
    for (int i = 0; i < 4; ++i) {
        vRecvProc();
        EXPECT_LE(App.g_tLink.sFrame.size(), 1026u);
    }
    EXPECT_EQ(vecWire(), std::vector<std::string>{"> NAK"});
    // The next good frame is accepted as usual.
    unit.reads = {sFrame("z1")};
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), "z1");
}

TEST_F(Scanner, ANegativeReadMarksTheLinkLost) {
    unit.booRecvOverride = true;
    unit.lRecvOverride = -2;
    vRecvProc();
    EXPECT_TRUE(App.g_booLinkErr);
    EXPECT_FALSE(App.g_booInRecv);
    EXPECT_EQ(App.g_tLink.lRecvLen, -2);
    EXPECT_TRUE(unit.sends.empty());
    // Only the reconnection clears it.
    unit.booRecvOverride = false;
    unit.reads = {sFrame("s1")};
    vRecvProc();
    EXPECT_TRUE(App.g_booLinkErr);
}

TEST_F(Scanner, NothingReadIsNoEvent) {
    vRecvProc();
    EXPECT_EQ(App.g_tLink.lRecvLen, 0);
    EXPECT_EQ(App.g_sLinkAnswer, "");
    EXPECT_FALSE(App.g_booLinkErr);
    EXPECT_TRUE(unit.sends.empty());
}

TEST_F(Scanner, TheAcknowledgementsSendResultIsNotExamined) {
    unit.sendResults = {-5};
    unit.reads = {sFrame("s3")};
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), "s3");
}
