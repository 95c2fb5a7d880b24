// The console side of the link against our real library and a virtual unit
// in another process, over loopback TCP, as in an installation with an
// Ethernet-to-serial bridge.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "link/frames.h"
#include "link/scanner.h"
#include "link/transaction.h"
#include "platform/program_folder.h"
#include "sensor/zyr_lib.h"
#include "tests/link/link_fixture.h"

namespace {

std::string sStageDir() {
    if (const char* env = std::getenv("ZYR_STAGE_DIR"); env != nullptr && *env != '\0') return env;
    // Run by hand from build*/tests: the stage folder is its sibling.
    return QDir(QCoreApplication::applicationDirPath() + "/../stage").absolutePath().toStdString();
}

// The hex bytes of every trace line of one direction ("<-" received by the
// unit, "->" sent by it), joined: "02 63 31 20 62 34 03 06 ...".
std::string sTraceBytes(const std::string& sTrace, const std::string& sDirection) {
    std::istringstream in(sTrace);
    std::string line, joined;
    while (std::getline(in, line)) {
        if (line.rfind(sDirection + " ", 0) != 0) continue;
        std::string hex = line.substr(sDirection.size() + 1);
        const auto end = hex.find("  ");
        if (end != std::string::npos) hex.resize(end);
        while (!hex.empty() && hex.back() == ' ') hex.pop_back();
        if (hex.empty()) continue;
        joined += (joined.empty() ? "" : " ") + hex;
    }
    return joined;
}

class RealUnit : public LinkTest {
protected:
    QProcess unitProcess;
    QTemporaryDir dir;
    std::string sTrace;

    void TearDown() override {
        if (unitProcess.state() != QProcess::NotRunning) {
            unitProcess.kill();
            unitProcess.waitForFinished(5000);
        }
        platform::vSetProgramFolder("");
        LinkTest::TearDown();
    }

    void vReadTrace() { sTrace += unitProcess.readAllStandardOutput().toStdString(); }

    // Starts zyrpan-unit on a free port; returns the port, or 0.
    int iStartUnit(const std::string& sUnitPath) {
        unitProcess.setProgram(QString::fromStdString(sUnitPath));
        unitProcess.setArguments({"--port", "0"});
        unitProcess.setProcessChannelMode(QProcess::SeparateChannels);
        unitProcess.start();
        if (!unitProcess.waitForStarted(5000)) return 0;
        QElapsedTimer t;
        t.start();
        while (!unitProcess.canReadLine() && t.elapsed() < 10000) unitProcess.waitForReadyRead(200);
        const std::string first = unitProcess.readLine().trimmed().toStdString();
        const std::string prefix = "listening on 127.0.0.1:";
        EXPECT_EQ(first.rfind(prefix, 0), 0u) << first;
        if (first.rfind(prefix, 0) != 0) return 0;
        return std::atoi(first.c_str() + prefix.size());
    }
};

}  // namespace

TEST_F(RealUnit, TheConsoleSendsC1AndReceivesThePositionReportOverTcp) {
    const std::string sStage = sStageDir();
    const std::string sLib = sStage + "/libZyrPan2.so";
    const std::string sUnit = sStage + "/zyrpan-unit";
    ASSERT_TRUE(QFile::exists(QString::fromStdString(sLib))) << sLib;
    ASSERT_TRUE(QFile::exists(QString::fromStdString(sUnit))) << sUnit;
    ASSERT_TRUE(dir.isValid());

    const int iPort = iStartUnit(sUnit);
    ASSERT_GT(iPort, 0);

    // The library takes its transport from its own section of the settings
    // file the console hands it.
    const std::string sFolder = dir.path().toStdString();
    std::ofstream(sFolder + "/ZYR_PAN_WEQ.ini")
        << "[ZYR_PAN_WEQ]\r\n[ZyrPan2]\r\nLink=tcp:127.0.0.1:" << iPort << "\r\n";
    platform::vSetProgramFolder(sFolder);

    ZyrLib lib;
    std::string sError;
    ASSERT_TRUE(booLoadZyrLib(sLib, lib, sError)) << sError;
    vSetZyrLib(lib);
    // A real unit answers in real time.
    platform::vSetClock(nullptr);

    ASSERT_EQ(lLinkOpen(), 0);
    ASSERT_EQ(zyr().ResetAll(), 0);
    int32_t lResult = -1;
    lSendCommand(frm, "c1", lResult, true);
    ASSERT_EQ(lResult, 0);
    EXPECT_EQ(App.g_tLink.lSendCnt, 1);

    // The polling timer's part: one event per pass until the report is in.
    std::string sAnswer;
    QElapsedTimer t;
    t.start();
    while (sAnswer.empty() && t.elapsed() < 10000 && !App.g_booLinkErr) {
        vRecvProc();
        sAnswer = sGetAnswer();
        if (sAnswer.empty()) platform::Sleep(10);
    }
    EXPECT_FALSE(App.g_booLinkErr);
    ASSERT_TRUE(sAnswer == "s1" || sAnswer == "s2" || sAnswer == "s3") << sAnswer;

    // Give the unit a moment to trace the console's ACK of the report.
    t.restart();
    const std::string sReport = fakeunit::sHex(sBuildFrame(sAnswer));
    while (t.elapsed() < 5000) {
        unitProcess.waitForReadyRead(100);
        vReadTrace();
        const std::string sIn = sTraceBytes(sTrace, "<-");
        if (sIn.find("02 63 31 20 62 34 03") != std::string::npos && sIn.size() > 20 &&
            sIn.substr(sIn.size() - 2) == "06")
            break;
    }
    vLinkClose();

    const std::string sIn = sTraceBytes(sTrace, "<-");
    const std::string sOut = sTraceBytes(sTrace, "->");
    // The console's c1, exactly, then its ACK of the report.
    EXPECT_EQ(sIn.rfind("02 63 31 20 62 34 03", 0), 0u) << sTrace;
    EXPECT_NE(sIn.find("02 63 31 20 62 34 03 06"), std::string::npos) << sTrace;
    // The unit's ACK of c1, then its report framed as the console read it.
    EXPECT_EQ(sOut.rfind("06", 0), 0u) << sTrace;
    EXPECT_NE(sOut.find(sReport), std::string::npos) << sTrace;
    if (sAnswer == "s1") {
        EXPECT_NE(sOut.find("02 73 31 20 63 34 03"), std::string::npos);
    }
}
