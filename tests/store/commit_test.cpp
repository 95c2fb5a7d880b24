// Storage commitment against Orthanc: an object leaves the spool only when
// the archive's report says it committed to it; a report that does not come
// leaves it in committing/ for a later run to ask again; an object the
// archive no longer has is sent again; the service asks and takes the
// report too.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "dicom/store_spool.h"
#include "tests/store/store_helpers.h"
#include "tests/support/orthanc_peer.h"

using namespace storetest;
using zyrtest::exists;

namespace {

struct CommitRig {
    int iReportPort = zyrtest::iFreePort();
    zyrtest::OrthancPeer o{zyrtest::tOrthancOptions{"ARCHIVE", {{"station", "ZYRPANWEQ", "127.0.0.1", iReportPort}}, {}, {}}};
    SenderFolder f;

    void vSettings(int iCommitPort, const std::string& sWait) {
        f.vSettings({{"Store", o.sAE() + "@127.0.0.1:" + std::to_string(o.iDicomPort())},
                     {"Commit", "1"},
                     {"CommitPort", std::to_string(iCommitPort)},
                     {"CommitWaitSeconds", sWait}});
    }
    std::string sCommitting(const std::string& sName) const {
        return f.sSpool() + "/" + store::kCommitting + "/" + sName;
    }
};

}  // namespace

TEST(Commitment, UnansweredThenAskedAgainLostObjectsSentAgainThenTheServiceCommits) {
    CommitRig r;
    std::string sWhy;
    ASSERT_TRUE(r.o.booStart(sWhy)) << sWhy;
    // The archive reports to a port nobody listens on: the object is stored
    // but stays in committing/.
    r.vSettings(zyrtest::iFreePort(), "1");
    sWriteObject(r.f.sSpool(), "2.25.701");
    sWriteObject(r.f.sSpool(), "2.25.702");
    auto run = r.f.tRunToEnd({"--once"});
    EXPECT_EQ(run.iExit, 1) << run.sErr;
    EXPECT_TRUE(exists(r.sCommitting("2.25.701.dcm")) && exists(r.sCommitting("2.25.702.dcm")));
    const auto st = r.f.tRunToEnd({"--status"});
    EXPECT_NE(st.sOut.find("waiting for the archive's commitment: 2"), std::string::npos) << st.sOut;

    // The archive loses one of them; the next run asks again, takes the
    // failure for that one, sends it again, and both end committed.
    const auto ids = r.o.instanceIds();
    ASSERT_EQ(ids.size(), 2u);
    const std::string sLost = r.o.sTag(ids[0], "SOPInstanceUID");
    std::string sBody;
    ASSERT_EQ(r.o.iRequest("DELETE", "/instances/" + ids[0], "", sBody), 200);
    r.vSettings(r.iReportPort, "30");
    run = r.f.tRunToEnd({"--once"});
    EXPECT_EQ(run.iExit, 0) << run.sErr;
    EXPECT_NE(run.sErr.find(sLost + ".dcm: the archive did not commit"), std::string::npos) << run.sErr;
    EXPECT_NE(run.sErr.find("committed " + sLost + ".dcm"), std::string::npos) << run.sErr;
    EXPECT_TRUE(store::queuedNames(r.f.sSpool()).empty());
    EXPECT_TRUE(store::committingNames(r.f.sSpool()).empty());
    auto got = r.o.storedSopInstanceUids();
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"2.25.701", "2.25.702"}));

    // The service asks as well, and takes the report.
    auto p = r.f.pStart({});
    sWriteObject(r.f.sSpool(), "2.25.801");
    EXPECT_TRUE(booWaitFor([&] { return r.o.instanceIds().size() == 3; }, 60000));
    EXPECT_TRUE(booWaitFor([&] { return store::committingNames(r.f.sSpool()).empty() &&
                                        store::queuedNames(r.f.sSpool()).empty(); }, 60000));
    ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
    ASSERT_TRUE(p->waitForFinished(15000));
    EXPECT_NE(p->readAllStandardError().toStdString().find("committed 2.25.801.dcm"), std::string::npos);
}
