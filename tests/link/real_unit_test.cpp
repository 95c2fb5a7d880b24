// The console side of the link against our real library and a virtual unit
// in another process, over loopback TCP, as in an installation with an
// Ethernet-to-serial bridge.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "link/frames.h"
#include "link/scanner.h"
#include "link/transaction.h"
#include "tests/support/link_fixture.h"

namespace {
TEST_F(LinkTest, OverTcpTheConsoleSendsC1AndAcknowledgesThePositionReport) {
    // Set by the test run; run by hand from build*/tests, the stage folder is its sibling.
    const char* sEnv = std::getenv("ZYR_STAGE_DIR");
    const std::string sStage = sEnv ? sEnv : QCoreApplication::applicationDirPath().toStdString() + "/../stage";
    QProcess unitProcess;  // killed when it goes out of scope
    unitProcess.start(QString::fromStdString(sStage + "/zyrpan-unit"), {"--port", "0"});
    ASSERT_TRUE(unitProcess.waitForStarted(5000)) << sStage << "/zyrpan-unit";
    QElapsedTimer t;
    for (t.start(); !unitProcess.canReadLine() && t.elapsed() < 10000;) unitProcess.waitForReadyRead(200);
    const std::string sPrefix = "listening on 127.0.0.1:", sFirst = unitProcess.readLine().trimmed().toStdString();
    ASSERT_EQ(sFirst.rfind(sPrefix, 0), 0u) << sFirst;

    // The library takes its transport from its own section of the settings file.
    vSetKey("Link", "tcp:127.0.0.1:" + sFirst.substr(sPrefix.size()), "ZyrPan2");
    vWriteSettings();
    ZyrLib lib;
    std::string sError;
    ASSERT_TRUE(booLoadZyrLib(sStage + "/libZyrPan2.so", lib, sError)) << sError;
    vSetZyrLib(lib);
    platform::vSetClock(nullptr);  // a real unit answers in real time
    ASSERT_EQ(lLinkOpen(), 0);
    int32_t lResult = -1;
    lSendCommand(frm, "c1", lResult, true);
    ASSERT_EQ(lResult, 0);
    std::string sAnswer;  // the polling timer's part: one event per pass
    for (t.restart(); sAnswer.empty() && t.elapsed() < 10000 && !App.g_booLinkErr; platform::Sleep(10)) {
        vRecvProc();
        sAnswer = sGetAnswer();
    }
    ASSERT_TRUE(sAnswer == "s1" || sAnswer == "s2" || sAnswer == "s3") << sAnswer;
    // The unit's trace: a line per read ("<-") and per write ("->"), in hex.
    // Until it shows the console's ACK of the report:
    std::string sTrace;
    for (t.restart(); t.elapsed() < 5000 && sTrace.find("<- 06") == std::string::npos;) {
        unitProcess.waitForReadyRead(100);
        sTrace += unitProcess.readAllStandardOutput().toStdString();
    }
    vLinkClose();
    // The console's c1 exactly, then its ACK of the report; the unit's ACK of
    // c1, then the report framed as the console read it.
    const auto posC1 = sTrace.find("<- 02 63 31 20 62 34 03  "), posAck = sTrace.find("<- 06  ");
    EXPECT_LT(posC1, posAck) << sTrace;
    EXPECT_NE(posAck, std::string::npos) << sTrace;
    const auto posUnitAck = sTrace.find("-> 06"), posReport = sTrace.find(scripted::sHex(sBuildFrame(sAnswer)) + "  ");
    EXPECT_LT(posUnitAck, posReport) << sTrace;
    EXPECT_NE(posReport, std::string::npos) << sTrace;
}
}  // namespace
