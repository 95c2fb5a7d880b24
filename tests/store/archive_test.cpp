// The sender against a real archive on loopback (Orthanc), run as the
// service: down, up, killed in the middle of a batch, and named wrongly.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <set>
#include <thread>

#include "dicom/store_spool.h"
#include "tests/store/store_helpers.h"
#include "tests/support/orthanc_peer.h"

using namespace storetest;
using zyrtest::exists;

namespace {

std::string sStore(const zyrtest::OrthancPeer& o, const std::string& sAE = "") {
    return (sAE.empty() ? o.sAE() : sAE) + "@127.0.0.1:" + std::to_string(o.iDicomPort());
}

std::multiset<std::string> stored(const zyrtest::OrthancPeer& o) {
    const auto v = o.storedSopInstanceUids();
    return {v.begin(), v.end()};
}

std::multiset<std::string> uids(const std::string& sPrefix, int n) {
    std::multiset<std::string> s;
    for (int i = 1; i <= n; ++i) s.insert(sPrefix + std::to_string(i));
    return s;
}

void vStopService(QProcess& p) {
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(15000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
}

}  // namespace

// The archive down for several objects, then up; killed in the middle of a
// batch the service found in the spool, then up again; all arrive once.
// Then named with a wrong AE title.
TEST(ArchiveDelivery, DownThenUpThenKilledInABatchAllArriveOnceThenAWrongAETitleRefuses) {
    zyrtest::OrthancPeer o;
    SenderFolder f;
    f.vSettings({{"Store", sStore(o)}, {"RetryMaxSeconds", "0.5"}});
    auto p = f.pStart({});
    for (int i = 1; i <= 3; ++i) sWriteObject(f.sSpool(), "2.25.300" + std::to_string(i));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const std::string sStatus = f.tRunToEnd({"--status"}).sOut;
    EXPECT_NE(sStatus.find("Waiting: 3"), std::string::npos) << sStatus;
    EXPECT_NE(sStatus.find("cannot reach the archive"), std::string::npos) << sStatus;

    std::string sWhy;
    ASSERT_TRUE(o.booStart(sWhy)) << sWhy;
    EXPECT_TRUE(booWaitFor([&] { return stored(o).size() >= 3; }, 60000));
    const int n = 40;
    for (int i = 1; i <= n; ++i) sWriteObject(f.sSpool(), "2.25.400" + std::to_string(i), 512);
    ASSERT_TRUE(booWaitFor([&] { return o.instanceIds().size() > 3; }, 60000));
    o.vKill();
    const size_t iLeft = store::queuedNames(f.sSpool()).size();
    ASSERT_TRUE(o.booStart(sWhy)) << sWhy;
    EXPECT_TRUE(booWaitFor([&] { return store::queuedNames(f.sSpool()).empty(); }, 90000));
    vStopService(*p);
    std::multiset<std::string> all = uids("2.25.400", n);
    all.merge(uids("2.25.300", 3));
    EXPECT_EQ(stored(o), all);
    EXPECT_GT(iLeft, 0u) << "the archive took the whole batch before it was killed";
    const auto ids = o.instanceIds();
    ASSERT_FALSE(ids.empty()) << "nothing reached the archive";
    EXPECT_EQ(o.sTag(ids.front(), "PatientID"), "P-1");
    EXPECT_NE(p->readAllStandardError().toStdString().find("wait"), std::string::npos);

    // A wrong called AE title: refused for good, the object in failed/ and
    // the reason in --status.
    f.vSettings({{"Store", sStore(o, "NOTTHEARCHIVE")}});
    sWriteObject(f.sSpool(), "2.25.501");
    const auto r = f.tRunToEnd({"--once"});
    EXPECT_EQ(r.iExit, 3) << r.sErr;
    EXPECT_TRUE(exists(f.sSpool() + "/failed/2.25.501.dcm"));
    EXPECT_EQ(stored(o).size(), 43u);
    const std::string sFailed = f.tRunToEnd({"--status"}).sOut;
    for (const char* s : {"Failed: 1", "2.25.501.dcm", "AE title"}) EXPECT_NE(sFailed.find(s), std::string::npos) << sFailed;
}
