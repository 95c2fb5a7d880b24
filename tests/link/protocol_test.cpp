// The link protocol at the console's end. The frame rules both ends of the
// line share run from one table against the console's codec and scanner and
// against the unit's, so that what one end sends or accepts the other does
// too. Then the command transactions: send, wait for the ACK, resend, give
// up, and what the window does meanwhile; opening and closing the link.
#include <gtest/gtest.h>

#include "link/frames.h"
#include "link/scanner.h"
#include "link/transaction.h"
#include "sim/frame_codec.h"
#include "tests/support/link_fixture.h"

namespace {
using scripted::sFrame;
using scripted::sHex;
using scripted::unit;
const std::string kAck = "\006", kNak = "\025";

// Stretches and their checksums: two lower-case digits, a leading zero below
// sixteen, the carry beyond one byte dropped, bytes above 0x7f unsigned.
const std::vector<std::pair<std::string, std::string>> kSums = {
    {"c1 ", "b4"}, {"T1 ", "a5"}, {"s1 ", "c4"}, {"", "00"}, {"\x0a", "0a"}, {"\x80\x8a", "0a"}, {"\xff\xff", "fe"}};
// Texts and their frames as they go on the wire.
const std::vector<std::pair<std::string, std::string>> kFrames = {
    {"c1", "02 63 31 20 62 34 03"},     {"T1", "02 54 31 20 61 35 03"},
    {"r0", "02 72 30 20 63 32 03"},     {"", "02 20 32 30 03"},
    {"ap1", "02 61 70 31 20 32 32 03"}, {"NP_P1_C 60 2", "02 4e 50 5f 50 31 5f 43 20 36 30 20 32 20 31 38 03"}};

TEST(FrameCodec, ChecksumsAndFramesAreByteForByteTheSameAtBothEnds) {
    for (const auto& [stretch, sum] : kSums) {
        EXPECT_EQ(sGetCheckSum(stretch, 1, static_cast<int32_t>(stretch.size())), sum) << sHex(stretch);
        EXPECT_EQ(sim::sCheckSum(stretch), sum) << sHex(stretch);
    }
    for (const auto& [text, wire] : kFrames) {
        EXPECT_EQ(sHex(sBuildFrame(text)), wire) << text;
        EXPECT_EQ(sHex(sim::sBuildFrame(text)), wire) << text;
    }
}

// Events as both ends name them: "ACK", "NAK", "<text>" for a frame taken
// (the console answers it with ACK), "bad" for one refused (with NAK).
struct ScanCase {
    const char* name;
    std::vector<std::string> reads;
    std::vector<std::string> events;
};
const std::string kA1019(1019, 'a');
const std::string kLong1025 = sFrame(std::string(1020, 'a'));
const std::vector<ScanCase> kScans = {
    {"Report", {"\002s1 c4\003"}, {"<s1>"}},
    {"UpperCaseChecksum", {"\002c1 B4\003"}, {"<c1>"}},
    {"WrongChecksum", {"\002s1 c5\003"}, {"bad"}},
    {"SplitOverReads", {"\002s", "1 c", "4\003"}, {"<s1>"}},
    {"AckInsideAFrameAbandonsIt", {"\002s1\006 c4\003"}, {"ACK"}},
    {"Nak", {kNak}, {"NAK"}},
    {"SecondStxRestarts", {"\002xx\002d1 b5\003"}, {"<d1>"}},
    {"NoiseAndAStrayEtxIgnored", {"zz\003 \002d1 b5\003"}, {"<d1>"}},
    {"AckThenFrameInOneRead", {kAck + sFrame("s2")}, {"ACK", "<s2>"}},
    {"TwoFramesInOneRead", {sFrame("r1") + sFrame("T0")}, {"<r1>", "<T0>"}},
    {"FiveBytesIsTheShortest", {"\002 20\003"}, {"<>"}},
    {"ShorterThanFive", {"\002\003", "\002 \003", "\00220\003"}, {"bad", "bad", "bad"}},
    {"BlanksAroundTheTextTrimmed", {sFrame("  E1 ")}, {"<E1>"}},
    {"LongestIs1024", {sFrame(kA1019)}, {"<" + kA1019 + ">"}},
    {"TooLongAt1025", {kLong1025.substr(0, 1000), kLong1025.substr(1000)}, {"bad"}},
    {"EndlessFrameThenAGoodOne",
     {"\002" + std::string(1023, 'a'), std::string(1024, 'b'), std::string(1024, 'c'), " 00\003", sFrame("z1")},
     {"bad", "<z1>"}},
};

class Scan : public LinkTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(Scan, Console) {
    const auto& reads = GetParam().reads;
    unit().reads = {reads.begin(), reads.end()};
    std::vector<std::string> got;
    // One event per call: a read only when nothing is left of the last one.
    for (int i = 0; i < 50 && (!unit().reads.empty() || App.g_tLink.booRecvPending); ++i) {
        const size_t nSent = unit().sends.size();
        vRecvProc();
        EXPECT_LE(App.g_tLink.sFrame.size(), 1026u);  // an endless frame stays bounded
        const std::string sLast = App.g_sLinkAnswer, sText = sGetAnswer();
        std::string sReply;  // what the console answered
        for (size_t k = nSent; k < unit().sends.size(); ++k) sReply += sHex(unit().sends[k].bytes);
        if (sReply == "06") got.push_back("<" + sText + ">");  // taken and delivered
        if (sReply == "15") got.push_back(sLast.empty() ? "bad" : "refused but delivered");
        if (sReply.empty() && !sLast.empty()) got.push_back(sLast == kAck ? "ACK" : sLast == kNak ? "NAK" : sLast);
    }
    EXPECT_EQ(got, GetParam().events);
    EXPECT_EQ(unit().inRecvDuringRead, std::vector<bool>(reads.size(), true));  // read once each, marked
    EXPECT_FALSE(App.g_booInRecv);
}

TEST_P(Scan, Unit) {
    using Kind = sim::FrameScanner::Kind;
    sim::FrameScanner scanner;
    std::vector<std::string> got;
    for (const auto& r : GetParam().reads) {
        scanner.feed(r);
        for (auto e = scanner.next(); e.kind != Kind::None; e = scanner.next()) {
            if (e.kind == Kind::Frame) got.push_back(e.valid ? "<" + sim::sFrameText(e.frame) + ">" : "bad");
            if (e.kind != Kind::Frame) got.push_back(e.kind == Kind::Ack ? "ACK" : "NAK");
        }
    }
    EXPECT_EQ(got, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Scan, ::testing::ValuesIn(kScans),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkTest, ALostLinkStaysMarkedUntilTheReconnection) {
    vRecvProc();  // nothing arrived: no event, the link is fine
    EXPECT_FALSE(App.g_booLinkErr);
    unit().recvFail = -2;
    vRecvProc();
    unit().recvFail.reset();
    vRecvProc();
    EXPECT_TRUE(App.g_booLinkErr);
}

// ---- Transactions ----------------------------------------------------------

struct Outcome {
    const char* name;
    std::vector<std::string> replies;  // the unit's answer to each command frame; silence after
    std::deque<int32_t> results;       // the library's result of each send, ACKs included
    int32_t lResult;
    std::vector<uint32_t> ticks;  // ms after the start of each command frame
    std::string wire;
    std::string sLeft = "";   // the report the polling timer finds afterwards
    uint32_t ulStart = 1000;  // the clock at the first send
};

class Transaction : public LinkTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(Transaction, GivesItsResultAfterTheSendsOnTheWire) {
    const Outcome& o = GetParam();
    unit().reply = scripted::Reply::Silent;
    unit().frameReplies = {o.replies.begin(), o.replies.end()};
    unit().queued["Ether232Send"] = o.results;
    clock_.set(o.ulStart);
    int32_t lResult = -12345;
    lSendCommand(frm, "c1", lResult, true);
    EXPECT_EQ(lResult, o.lResult);
    // The polling timer stops and the window locks; the pointer and the timer
    // come back unless the first send was refused (the caller then closes).
    // The controls return with the next state.
    const bool booRefused = !o.results.empty() && o.results.front() != 0;
    EXPECT_EQ(scripted::sTraceOf({"timer", "disabled", "enabled", "busy", "pointer", ">"}),
              "timer off; disabled; " + o.wire + (booRefused ? "" : "; pointer; timer on"));
    std::vector<uint32_t> ticks;
    for (const auto& s : unit().sends)
        if (s.bytes.size() > 1) ticks.push_back(s.tick - o.ulStart);
    EXPECT_EQ(ticks, o.ticks);
    vRecvProc();
    EXPECT_EQ(sGetAnswer(), o.sLeft);
}

// Silence is resent once more than 3000 ms have passed, the wait running in
// 10 ms passes; a NAK is answered at once, at the next pass after the pause.
INSTANTIATE_TEST_SUITE_P(
    Outcomes, Transaction,
    ::testing::Values(
        Outcome{"AckAtOnce", {kAck}, {}, 0, {0}, "> c1"},
        Outcome{"AckThenReportLeftForThePollingTimer", {kAck + sFrame("s2")}, {}, 0, {0}, "> c1", "s2"},
        Outcome{"AckAtThirdSendAfterSilence", {"", "", kAck}, {}, 0, {0, 3010, 6020}, "> c1; > c1; > c1"},
        Outcome{"AckAtThirdSendAfterNaks", {kNak, kNak, kAck}, {}, 0, {0, 0, 10}, "> c1; > c1; > c1"},
        Outcome{"FourNaks", {kNak, kNak, kNak, kNak}, {}, 10003, {0, 0, 10, 20}, "> c1; > c1; > c1; > c1"},
        Outcome{"SilenceEachTime", {}, {}, 10003, {0, 3010, 6020, 9030}, "> c1; > c1; > c1; > c1"},
        Outcome{"FailedFirstSend", {}, {-7}, -7, {0}, "> c1"},
        Outcome{"FailedResend", {kNak}, {0, 9}, 10004, {0, 0}, "> c1; > c1"},
        // A report before the ACK is taken, counts as a missing ACK and is lost.
        Outcome{"ReportBeforeTheAck", {sFrame("s1"), kAck}, {}, 0, {0, 0}, "> c1; > ACK; > c1"},
        // 1000 ms before the tick counter wraps: at 0 the wait starts again.
        Outcome{"CounterWrapRestartsTheWait", {"", kAck}, {}, 0, {0, 4010}, "> c1; > c1", "", 0xFFFFFC18u}),
    [](const auto& info) { return std::string(info.param.name); });

// The settings file's path, and 1 as the library's contract asks.
TEST_F(LinkTest, OpeningHandsTheSettingsFileToTheLibrary) {
    unit().status["SetCommInit"] = 5;
    EXPECT_EQ(lLinkOpen(), 5);
    EXPECT_EQ(std::pair(scripted::lastCall("Init").text, scripted::lastCall("Init").a), std::pair(sIniPath(), 1));
}
}  // namespace
