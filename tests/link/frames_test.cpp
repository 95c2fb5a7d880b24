// Frames and checksums as they go on the wire.
#include <gtest/gtest.h>

#include "link/frames.h"
#include "tests/link/link_fixture.h"

using fakeunit::sHex;
using fakeunit::unit;

TEST(CheckSum, SumsTheStretchModulo256InLowerCaseHex) {
    EXPECT_EQ(sGetCheckSum("c1 ", 1, 3), "b4");
    EXPECT_EQ(sGetCheckSum("T1 ", 1, 3), "a5");
    EXPECT_EQ(sGetCheckSum("s1 ", 1, 3), "c4");
    EXPECT_EQ(sGetCheckSum("", 1, 0), "00");
}

TEST(CheckSum, WritesALeadingZeroBelowSixteen) {
    EXPECT_EQ(sGetCheckSum("\x0a", 1, 1), "0a");
    // 0x80 + 0x8a = 0x10a: the carry beyond one byte is dropped.
    EXPECT_EQ(sGetCheckSum("\x80\x8a", 1, 2), "0a");
}

TEST(CheckSum, CountsOnlyTheGivenStretchAndHighBytesAsUnsigned) {
    // Positions 2..3 of "xc1 y" are "c1".
    EXPECT_EQ(sGetCheckSum("xc1 y", 2, 2), "94");
    EXPECT_EQ(sGetCheckSum("\xff\xff", 1, 2), "fe");
}

struct FrameCase {
    const char* sCmd;
    const char* sHexBytes;
};

class FrameOnWire : public LinkTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameOnWire, IsStxTextBlankChecksumEtx) {
    EXPECT_EQ(lSendFrame(GetParam().sCmd), 0);
    ASSERT_EQ(unit.sends.size(), 1u);
    EXPECT_EQ(sHex(unit.sends[0].bytes), GetParam().sHexBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FrameOnWire,
    ::testing::Values(FrameCase{"c1", "02 63 31 20 62 34 03"}, FrameCase{"T1", "02 54 31 20 61 35 03"},
                      FrameCase{"r0", "02 72 30 20 63 32 03"}, FrameCase{"", "02 20 32 30 03"},
                      // 0x61+0x70+0x31+0x20 = 0x122: "22".
                      FrameCase{"ap1", "02 61 70 31 20 32 32 03"},
                      FrameCase{"NP_P1_C 60 2",
                                "02 4e 50 5f 50 31 5f 43 20 36 30 20 32 20 31 38 03"}));

TEST_F(LinkTest, SendFrameHandsOnTheLibrarysResult) {
    unit.sendResults = {-3};
    EXPECT_EQ(lSendFrame("c1"), -3);
    unit.sendResults = {0, 7};
    EXPECT_EQ(lSendFrame("c1"), 7);
}
