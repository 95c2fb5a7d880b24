// The worklist query against DCMTK's own worklist server on loopback: what
// is matched, what comes back and in which order, the character sets, and
// each way of failing with the time it takes.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "dicom/worklist_query.h"
#include "tests/support/worklist_peer.h"

namespace {

using zyrtest::tWlEntry;
using zyrtest::WorklistPeer;

tWorklistQuery query(const WorklistPeer& peer, int iTimeout = 3) {
    tWorklistQuery q;
    q.tPeer.sAE = peer.sAE();
    q.tPeer.sHost = "127.0.0.1";
    q.tPeer.iPort = peer.iPort();
    q.sCallingAE = "ZYRPANWEQ";
    q.sDate = sTodayDicomDate();
    q.iTimeoutSeconds = iTimeout;
    return q;
}

tWlEntry entry(const std::string& sId, const std::string& sTime) {
    tWlEntry e;
    e.sPatientId = sId;
    e.sPatientName = "Name^" + sId;
    e.sTime = sTime;
    e.sStudyUid = "1.2.826.0.1.3680043.2.1143." + sId;
    e.sAccession = "ACC" + sId;
    return e;
}

std::string sIds(const tWorklistResult& r) {
    std::string s;
    for (const auto& e : r.entries) s += e.tKeys.sPatientId + " ";
    return s;
}

// Faults: the station, date or modality not matched (other stations', other
// days' or other modalities' steps listed); answers not sorted by time; a
// return key not asked for or read from the wrong attribute or item.
TEST(WorklistQuery, TodaysStepsOfThisStationSortedByTimeWithTheirOrderKeys) {
    WorklistPeer peer;
    tWlEntry second = entry("P2", "103000");
    second.sBirthDate = "19800102";
    second.sSex = "F";
    second.sReferring = "Sato^Ken";
    second.sRequestedId = "RP2";
    second.sRequestedDescription = "Panoramic survey";
    second.sStepId = "SPS2";
    second.sStepDescription = "Pano adult";
    tWlEntry otherStation = entry("X1", "080000");
    otherStation.sStationAE = "OTHERSTATION";
    tWlEntry otherDay = entry("X2", "080000");
    otherDay.sDate = "20000101";
    tWlEntry otherModality = entry("X3", "080000");
    otherModality.sModality = "CT";
    ASSERT_TRUE(peer.booAdd("a", entry("P3", "140000")) && peer.booAdd("b", second) &&
                peer.booAdd("c", entry("P1", "090000")) && peer.booAdd("x1", otherStation) &&
                peer.booAdd("x2", otherDay) && peer.booAdd("x3", otherModality));
    ASSERT_TRUE(peer.booStart());

    const tWorklistResult r = tQueryWorklist(query(peer));
    ASSERT_EQ(r.eFailure, eWorklistFailure::None) << r.sDetail;
    EXPECT_EQ(sIds(r), "P1 P2 P3 ");
    const tWorklistEntry& e = r.entries.at(1);
    const tPatientKeys& k = e.tKeys;
    EXPECT_EQ(k.sPatientName + "|" + k.sBirthDate + "|" + k.sSex + "|" + k.sStudyUid + "|" + k.sAccession + "|" +
                  k.sReferringPhysician,
              "Name^P2|19800102|F|1.2.826.0.1.3680043.2.1143.P2|ACCP2|Sato^Ken");
    EXPECT_EQ(k.sRequestedProcedureId + "|" + k.sRequestedProcedureDescription + "|" + k.sScheduledStepId + "|" +
                  k.sScheduledStepDescription + "|" + e.sStartTime + "|" + e.sStationAE + "|" + e.sModality,
              "RP2|Panoramic survey|SPS2|Pano adult|103000|ZYRPANWEQ|PX");
}

// Faults: a character set ignored (a name shown as its raw bytes or
// dropped); the escape sequences of the Japanese sets not followed; an
// entry lacking optional keys dropped or filled with another entry's values.
TEST(WorklistQuery, NamesInEachCharacterSetAndAnEntryWithoutItsOptionalKeys) {
    WorklistPeer peer;
    tWlEntry utf8 = entry("J1", "090000");
    utf8.sPatientName = "Yamada^Tarou=山田^太郎=やまだ^たろう";
    utf8.sRequestedDescription = "パノラマ";
    tWlEntry jis = entry("J2", "091000");
    jis.sCharset = "\\ISO 2022 IR 87";
    jis.sPatientName = "Yamada^Tarou=\x1B$B;3ED\x1B(B^\x1B$BB@O:\x1B(B";
    tWlEntry kana = entry("J3", "092000");
    kana.sCharset = "ISO 2022 IR 13\\ISO 2022 IR 87";
    kana.sPatientName = "\xD4\xCF\xC0\xDE^\xC0\xDB\xB3=\x1B$B;3ED\x1B(J^\x1B$BB@O:\x1B(J";
    tWlEntry latin = entry("L1", "093000");
    latin.sCharset = "ISO_IR 100";
    latin.sPatientName = "M\xFCller^J\xF6rg";
    tWlEntry bare;
    bare.sPatientId = "B1";
    bare.sPatientName = "Bare^Entry";
    bare.sAccession = "";
    bare.sRequestedId = "";
    bare.sStepId = "";
    bare.sTime = "";
    for (auto [n, e] : {std::pair{"u", &utf8}, {"j", &jis}, {"k", &kana}, {"l", &latin}, {"b", &bare}})
        ASSERT_TRUE(peer.booAdd(n, *e)) << n;
    ASSERT_TRUE(peer.booStart());

    const tWorklistResult r = tQueryWorklist(query(peer));
    ASSERT_EQ(r.eFailure, eWorklistFailure::None) << r.sDetail;
    ASSERT_EQ(sIds(r), "J1 J2 J3 L1 B1 ");  // no time: last
    EXPECT_EQ(r.entries[0].tKeys.sPatientName, "Yamada^Tarou=山田^太郎=やまだ^たろう");
    EXPECT_EQ(r.entries[0].tKeys.sRequestedProcedureDescription, "パノラマ");
    EXPECT_EQ(r.entries[1].tKeys.sPatientName, "Yamada^Tarou=山田^太郎");
    EXPECT_EQ(r.entries[2].tKeys.sPatientName, "ﾔﾏﾀﾞ^ﾀﾛｳ=山田^太郎");
    EXPECT_EQ(r.entries[3].tKeys.sPatientName, "Müller^Jörg");
    const tPatientKeys& b = r.entries[4].tKeys;
    EXPECT_EQ(b.sPatientName + "|" + b.sAccession + "|" + b.sBirthDate + "|" + b.sRequestedProcedureId + "|" +
                  b.sScheduledStepId + "|" + r.entries[4].sStartTime,
              "Bare^Entry|||||");
}

// Faults: the answer wait not bounded, or bounded at less than the time-out
// (an answer in time taken for a failure).
TEST(WorklistQuery, AnAnswerWithinTheTimeOutIsTakenOneBeyondItIsATimeOut) {
    WorklistPeer slow;
    ASSERT_TRUE(slow.booAdd("a", entry("P1", "090000")));
    ASSERT_TRUE(slow.booStart(0, {"--sleep-before", "1"}));
    EXPECT_EQ(sIds(tQueryWorklist(query(slow, 3))), "P1 ");

    WorklistPeer slower;
    ASSERT_TRUE(slower.booAdd("a", entry("P1", "090000")));
    ASSERT_TRUE(slower.booStart(0, {"--sleep-before", "4"}));
    const auto t0 = std::chrono::steady_clock::now();
    const tWorklistResult r = tQueryWorklist(query(slower, 2));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(r.eFailure, eWorklistFailure::TimedOut) << r.sDetail;
    EXPECT_GE(ms, 1900);
    EXPECT_LT(ms, 3500);
}

// Faults: the failures not told apart (the operator cannot tell a stopped
// server from a wrong AE title), a failure status taken for an empty list, or
// a silent peer waited for without end.
TEST(WorklistQuery, RefusedRejectedAndSilentPeersAreToldApart) {
    WorklistPeer peer;
    ASSERT_TRUE(peer.booAdd("a", entry("P1", "090000")));
    ASSERT_TRUE(peer.booStart());
    tWorklistQuery q = query(peer);
    q.tPeer.sAE = "NOTTHEPEER";
    EXPECT_EQ(tQueryWorklist(q).eFailure, eWorklistFailure::Rejected);
    peer.vRemoveLockFile();
    const tWorklistResult refused = tQueryWorklist(query(peer));
    EXPECT_EQ(refused.eFailure, eWorklistFailure::FindFailed);
    EXPECT_EQ(refused.sDetail, "status A700");
    EXPECT_TRUE(refused.entries.empty());
    peer.vStop();
    EXPECT_EQ(tQueryWorklist(query(peer)).eFailure, eWorklistFailure::Refused);

    // A peer that takes the connection and never says a word.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(fd, 4), 0);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    q = query(peer, 1);
    q.tPeer.iPort = ntohs(a.sin_port);
    const auto t0 = std::chrono::steady_clock::now();
    const tWorklistResult r = tQueryWorklist(q);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    close(fd);
    EXPECT_EQ(r.eFailure, eWorklistFailure::TimedOut) << r.sDetail;
    EXPECT_LT(ms, 2500);
}

}  // namespace
