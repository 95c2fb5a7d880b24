// The sender against a scripted archive: what each answer does to the
// object in the spool, the bound on tries, a sender killed while the archive
// holds its answer, the one-sender lock, a spool the sender cannot change,
// and the files in the spool that are no objects to send.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "dicom/store_send.h"
#include "dicom/store_spool.h"
#include "tests/store/store_helpers.h"
#include "tests/support/orthanc_peer.h"

using namespace storetest;
using zyrtest::exists;
using zyrtest::readBytes;

namespace {

std::string sStore(const ScriptedArchive& a) { return a.sAE() + "@127.0.0.1:" + std::to_string(a.iPort()); }

}  // namespace

TEST(StoreVerdict, AnswerStatusesAtTheirEdges) {
    using store::eVerdict;
    const std::vector<std::pair<unsigned, eVerdict>> cases{
        {0x0000, eVerdict::Stored},  {0xB000, eVerdict::Stored},  {0xB006, eVerdict::Stored},
        {0xB007, eVerdict::Stored},  {0xA6FF, eVerdict::Refused}, {0xA700, eVerdict::Retry},
        {0xA7FF, eVerdict::Retry},   {0xA800, eVerdict::Refused}, {0xA900, eVerdict::Refused},
        {0xC000, eVerdict::Refused}, {0xCFFF, eVerdict::Refused}, {0x0122, eVerdict::Refused},
        {0x0213, eVerdict::Retry},   {0xB001, eVerdict::Refused}, {0x0001, eVerdict::Refused}};
    for (const auto& [u, e] : cases) EXPECT_EQ(store::tStatusVerdict(u).e, e) << std::hex << u;
}

// One object, the archive's answers in turn: where the object ends up, what
// --once says, and how often the archive saw it; the bound on tries on both
// sides of its edge.
TEST(SenderOnce, EachAnswerLeavesTheObjectWhereItBelongs) {
    struct tCase {
        std::vector<unsigned short> statuses;
        int iTries;
        const char* sWhere;  // "gone", "failed", "queued"
        int iExit;
        size_t iReceived;
    };
    for (const tCase& c : {tCase{{0x0000}, 3, "gone", 0, 1}, tCase{{0xB000}, 3, "gone", 0, 1},
                           tCase{{0xB007}, 3, "gone", 0, 1}, tCase{{0xA900}, 3, "failed", 3, 1},
                           tCase{{0xC123}, 3, "failed", 3, 1}, tCase{{0xA700}, 3, "queued", 1, 3},
                           tCase{{0xA700, 0xA700, 0x0000}, 3, "gone", 0, 3},
                           tCase{{0xA700, 0xA700, 0x0000}, 2, "queued", 1, 2}}) {
        SCOPED_TRACE(std::to_string(c.statuses.front()) + " tries " + std::to_string(c.iTries));
        ScriptedArchive a(c.statuses);
        SenderFolder f;
        f.vSettings({{"Store", sStore(a)}, {"Tries", std::to_string(c.iTries)}});
        const std::string sUid = "2.25.77", sName = sUid + ".dcm";
        sWriteObject(f.sSpool(), sUid);
        const auto r = f.tRunToEnd({"--once"});
        EXPECT_EQ(r.iExit, c.iExit) << r.sErr;
        EXPECT_EQ(a.received(), std::vector<std::string>(c.iReceived, sUid));
        EXPECT_EQ(exists(f.sSpool() + "/" + sName), std::string(c.sWhere) == "queued");
        EXPECT_EQ(exists(f.sSpool() + "/failed/" + sName), std::string(c.sWhere) == "failed");
        if (std::string(c.sWhere) == "failed") {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%04X", c.statuses.front());
            EXPECT_NE(readBytes(f.sSpool() + "/failed/" + sName + ".reason").find(hex), std::string::npos);
        }
    }
}

// An archive that takes longer than TimeoutSeconds to answer counts as a
// failed try: the object stays, and the next run sends the very same object
// again (as after a sender killed before the answer); one that answers within
// the time-out has the object. Meanwhile the console starts a second sender,
// which finds the first at work and ends at once: the first takes the new
// object too.
TEST(SenderOnce, AnAnswerLaterThanTheTimeoutIsAFailedTryASecondSenderLeavesItsObjectToTheFirst) {
    for (const int iTimeout : {1, 6}) {
        ScriptedArchive a({0x0000});
        SenderFolder f;
        f.vSettings({{"Store", sStore(a)}, {"Tries", "1"}, {"TimeoutSeconds", std::to_string(iTimeout)}});
        sWriteObject(f.sSpool(), "2.25.81");
        a.vHold(true);
        auto p = f.pStart({"--once"});
        ASSERT_TRUE(booWaitFor([&] { return a.received().size() == 1; }, 30000));
        if (iTimeout == 6) {
            sWriteObject(f.sSpool(), "2.25.82");
            const auto r2 = f.tRunToEnd({"--once"}, 10000);
            EXPECT_EQ(r2.iExit, 0);
            EXPECT_NE(r2.sErr.find("another sender"), std::string::npos) << r2.sErr;
            EXPECT_EQ(a.received().size(), 1u);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        a.vHold(false);
        ASSERT_TRUE(p->waitForFinished(30000));
        EXPECT_EQ(p->exitCode(), iTimeout == 1 ? 1 : 0) << p->readAllStandardError().toStdString();
        EXPECT_EQ(exists(f.sSpool() + "/2.25.81.dcm"), iTimeout == 1);
        if (iTimeout == 1) {
            EXPECT_EQ(f.tRunToEnd({"--once"}).iExit, 0);
        }
        EXPECT_EQ(a.received(), (std::vector<std::string>{"2.25.81", iTimeout == 1 ? "2.25.81" : "2.25.82"}));
        EXPECT_TRUE(store::queuedNames(f.sSpool()).empty());
    }
}

TEST(SenderOnce, ASpoolTheSenderCannotChangeSendsNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: the spool belongs to another user";
    ScriptedArchive a({0x0000});
    SenderFolder f;
    f.vSettings({{"Store", sStore(a)}});
    sWriteObject(f.sSpool(), "2.25.31");
    chmod(f.dir().path().c_str(), 0755);
    chmod(f.sSpool().c_str(), 0755);
    chmod((f.sSpool() + "/2.25.31.dcm").c_str(), 0644);
    const auto r = f.tRunToEnd({"--once"}, 30000, 65534);
    EXPECT_EQ(r.iExit, 4) << r.sErr;
    EXPECT_NE(r.sErr.find(f.sSpool()), std::string::npos) << r.sErr;
    EXPECT_TRUE(a.received().empty());
    EXPECT_TRUE(exists(f.sSpool() + "/2.25.31.dcm"));
}

// Only complete objects wait: the console's temporary names are left alone,
// a file that is no DICOM object is set aside with its reason. What the
// sender makes in the spool stays open to the group (the service and the
// operators' senders) even under a closed umask.
TEST(SenderOnce, OnlyCompleteObjectsAreSent) {
    ScriptedArchive a({0x0000});
    SenderFolder f;
    f.vSettings({{"Store", sStore(a)}});
    sWriteObject(f.sSpool(), "2.25.41");
    std::filesystem::rename(f.sSpool() + "/2.25.41.dcm", f.sSpool() + "/.2.25.41.dcm");
    zyrtest::writeBytes(f.sSpool() + "/broken.dcm", "not an object");
    zyrtest::writeBytes(f.sSpool() + "/note.txt", "x");
    const mode_t old = umask(077);
    const auto r = f.tRunToEnd({"--once"});
    umask(old);
    EXPECT_EQ(r.iExit, 3) << r.sErr;
    EXPECT_TRUE(a.received().empty());
    EXPECT_TRUE(exists(f.sSpool() + "/.2.25.41.dcm"));
    EXPECT_TRUE(exists(f.sSpool() + "/note.txt"));
    EXPECT_TRUE(exists(f.sSpool() + "/failed/broken.dcm"));
    EXPECT_NE(readBytes(f.sSpool() + "/failed/broken.dcm.reason").find("not a readable DICOM"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(stat((f.sSpool() + "/failed").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 02770u);
    ASSERT_EQ(stat((f.sSpool() + "/.lock").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0660u);
}

TEST(SenderSettings, BadSenderKeysStopBeforeAnything) {
    ScriptedArchive a({0x0000});
    const std::vector<std::pair<std::map<std::string, std::string>, int>> cases{
        {{{"Tries", "0"}}, 2},          {{{"Tries", "1"}}, 0},
        {{{"Tries", "1.5"}}, 2},        {{{"RetrySeconds", "0.001"}}, 2},
        {{{"RetrySeconds", "x"}}, 2},   {{{"TimeoutSeconds", "601"}}, 2},
        {{{"TimeoutSeconds", "600"}}, 0}, {{{"RetrySeconds", "2"}, {"RetryMaxSeconds", "1"}}, 2},
        {{{"Store", ""}}, 2}};
    for (const auto& [keys, iExit] : cases) {
        SenderFolder f;
        auto k = keys;
        if (!k.count("Store")) k["Store"] = sStore(a);
        f.vSettings(k);
        sWriteObject(f.sSpool(), "2.25.51");
        const auto r = f.tRunToEnd({"--once"});
        EXPECT_EQ(r.iExit, iExit) << keys.begin()->first << "=" << keys.begin()->second << ": " << r.sErr;
        if (iExit == 2) {
            EXPECT_NE(r.sErr.find(keys.rbegin()->first), std::string::npos) << r.sErr;
        }
    }
    EXPECT_EQ(a.received().size(), 2u);
}
