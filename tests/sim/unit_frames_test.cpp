// Frames as the unit and the library's line watch build and read them, the
// trace lines of zyrpan-unit, and the Link setting.
#include <gtest/gtest.h>

#include "sim/byte_trace.h"
#include "sim/frame_codec.h"
#include "sim/link_spec.h"

namespace {

using sim::FrameScanner;

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

TEST(UnitFrames, BuildsTheWorkedExamplesByteForByte) {
    EXPECT_EQ(sim::sBuildFrame("c1"), bytes({0x02, 0x63, 0x31, 0x20, 0x62, 0x34, 0x03}));
    EXPECT_EQ(sim::sBuildFrame("T1"), bytes({0x02, 0x54, 0x31, 0x20, 0x61, 0x35, 0x03}));
    EXPECT_EQ(sim::sBuildFrame("s1"), bytes({0x02, 0x73, 0x31, 0x20, 0x63, 0x34, 0x03}));
    EXPECT_EQ(sim::sBuildFrame("NP_P1_C 60 2"), "\x02NP_P1_C 60 2 " + sim::sCheckSum("NP_P1_C 60 2 ") + "\x03");
}

TEST(UnitFrames, ChecksumIsTwoLowerCaseDigitsWithLeadingZero) {
    EXPECT_EQ(sim::sCheckSum(std::string(1, '\x0a')), "0a");
    EXPECT_EQ(sim::sCheckSum(""), "00");
    EXPECT_EQ(sim::sCheckSum(std::string(2, '\x80')), "00");  // 256 wraps
    EXPECT_EQ(sim::sCheckSum("\xff"), "ff");
}

TEST(UnitFrames, ValidityFollowsLengthAndChecksumInEitherCase) {
    EXPECT_TRUE(sim::booFrameValid("\x02" "c1 b4\x03"));
    EXPECT_TRUE(sim::booFrameValid("\x02" "c1 B4\x03"));
    EXPECT_FALSE(sim::booFrameValid("\x02" "c1 b5\x03"));
    EXPECT_TRUE(sim::booFrameValid(sim::sBuildFrame("")));  // five characters, empty text
    EXPECT_FALSE(sim::booFrameValid("\x02 2\x03"));
    const std::string longest = sim::sBuildFrame(std::string(1019, 'a'));
    ASSERT_EQ(longest.size(), 1024u);
    EXPECT_TRUE(sim::booFrameValid(longest));
    EXPECT_FALSE(sim::booFrameValid(sim::sBuildFrame(std::string(1020, 'a'))));
}

TEST(UnitFrames, TextLosesFrameAndSurroundingBlanks) {
    EXPECT_EQ(sim::sFrameText(sim::sBuildFrame("NP_T4 70 6")), "NP_T4 70 6");
    EXPECT_EQ(sim::sFrameText(sim::sBuildFrame("  r1 ")), "r1");
    EXPECT_EQ(sim::sFrameText(sim::sBuildFrame("")), "");
}

struct ScanCase {
    const char* name;
    std::vector<std::string> feeds;
    std::vector<std::string> events;  // "ACK", "NAK", "ok:<text>", "bad"
};

class UnitScanner : public ::testing::TestWithParam<ScanCase> {};

TEST_P(UnitScanner, TurnsBytesIntoEvents) {
    FrameScanner scanner;
    std::vector<std::string> got;
    for (const auto& feed : GetParam().feeds) {
        scanner.feed(feed);
        for (auto ev = scanner.next(); ev.kind != FrameScanner::Kind::None; ev = scanner.next()) {
            if (ev.kind == FrameScanner::Kind::Ack) got.push_back("ACK");
            if (ev.kind == FrameScanner::Kind::Nak) got.push_back("NAK");
            if (ev.kind == FrameScanner::Kind::Frame)
                got.push_back(ev.valid ? "ok:" + sim::sFrameText(ev.frame) : "bad");
        }
    }
    EXPECT_EQ(got, GetParam().events);
}

const std::string kC1 = "\x02" "c1 b4\x03";

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitScanner,
    ::testing::Values(
        ScanCase{"Whole", {kC1}, {"ok:c1"}},
        ScanCase{"SplitOverThreeReads", {"\x02" "c", "1 b", "4\x03"}, {"ok:c1"}},
        ScanCase{"UpperCaseChecksum", {"\x02" "c1 B4\x03"}, {"ok:c1"}},
        ScanCase{"WrongChecksum", {"\x02" "c1 b5\x03"}, {"bad"}},
        ScanCase{"AckInsideFrameAbandonsIt", {"\x02" "c1\x06 b4\x03"}, {"ACK"}},
        ScanCase{"SecondStxRestarts", {"\x02" "zz\x02" "c1 b4\x03"}, {"ok:c1"}},
        ScanCase{"NoiseAndLoneEtxIgnored", {"ab\x03" "cd" + kC1}, {"ok:c1"}},
        ScanCase{"AckThenFrameInOneRead", {"\x06" + kC1 + "\x15"}, {"ACK", "ok:c1", "NAK"}},
        ScanCase{"Oversize", {"\x02" + std::string(1020, 'a') + " " + sim::sCheckSum(std::string(1020, 'a') + " ") + "\x03"}, {"bad"}},
        ScanCase{"TooShort", {"\x02" "b4\x03"}, {"bad"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnitTrace, ShowsHexAndReadableBytes) {
    EXPECT_EQ(sim::sTraceLine("<-", sim::sBuildFrame("c1")), "<- 02 63 31 20 62 34 03  [STX]c1 b4[ETX]");
    EXPECT_EQ(sim::sTraceLine("->", "\x06" + sim::sBuildFrame("s1")),
              "-> 06 02 73 31 20 63 34 03  [ACK][STX]s1 c4[ETX]");
    EXPECT_EQ(sim::sTraceLine("->", std::string("\x15\x7f", 2)), "-> 15 7f  [NAK][7f]");
}

struct SpecCase {
    const char* text;
    sim::LinkSpec::Kind kind;
    const char* where;  // host:port or device:baud
};

class UnitLinkSpec : public ::testing::TestWithParam<SpecCase> {};

TEST_P(UnitLinkSpec, ParsesTheLinkSetting) {
    const auto spec = sim::parseLinkSpec(GetParam().text);
    EXPECT_EQ(spec.kind, GetParam().kind) << GetParam().text;
    std::string where;
    if (spec.kind == sim::LinkSpec::Kind::Tcp) where = spec.host + ":" + std::to_string(spec.port);
    if (spec.kind == sim::LinkSpec::Kind::Serial) where = spec.device + ":" + std::to_string(spec.baud);
    EXPECT_EQ(where, GetParam().where) << GetParam().text;
}

using K = sim::LinkSpec::Kind;
INSTANTIATE_TEST_SUITE_P(
    Values, UnitLinkSpec,
    ::testing::Values(SpecCase{"", K::Missing, ""}, SpecCase{"sim", K::Sim, ""}, SpecCase{"SIM", K::Sim, ""},
                      SpecCase{"tcp:127.0.0.1:4001", K::Tcp, "127.0.0.1:4001"},
                      SpecCase{"tcp:bridge.local:23", K::Tcp, "bridge.local:23"},
                      SpecCase{"tcp:[::1]:4001", K::Tcp, "::1:4001"},
                      SpecCase{"tcp:127.0.0.1", K::Invalid, ""}, SpecCase{"tcp:127.0.0.1:0", K::Invalid, ""},
                      SpecCase{"tcp:127.0.0.1:70000", K::Invalid, ""}, SpecCase{"tcp::4001", K::Invalid, ""},
                      SpecCase{"serial:/dev/ttyUSB0", K::Serial, "/dev/ttyUSB0:9600"},
                      SpecCase{"serial:/dev/ttyS1:115200", K::Serial, "/dev/ttyS1:115200"},
                      SpecCase{"serial:", K::Invalid, ""}, SpecCase{"modem:1", K::Invalid, ""},
                      SpecCase{"sim:x", K::Invalid, ""}));

}  // namespace
