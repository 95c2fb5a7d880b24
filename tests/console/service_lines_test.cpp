// What the console tells the people around it: the service log a service
// engineer switches on, the one line on stderr when a run gives no image or
// does not start, --version, and the toolkit's buttons in the operator's
// language.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "app/messages.h"
#include "app/qt_translations.h"
#include "app/run_end.h"
#include "app/settings.h"
#include "link/transaction.h"
#include "resources/string_table.h"
#include "sensor/zyr_lib.h"
#include "tests/support/console_fixture.h"

namespace {

std::vector<std::string> g_lines;

// Every kind of line once: a command the unit never answers, one it NAKs, a
// state change (and the same state again), library calls on both sides of
// failing, a settings write that fails (and one that does not).
const std::vector<std::string> kAllLines = {
    "zyr.link: resend 2 of \"c1\" after 3010 ms", "zyr.link: resend 3 of \"c1\" after 3010 ms",
    "zyr.link: resend 4 of \"c1\" after 3010 ms", "zyr.link: gave up \"c1\" after 4 sends: 10003",
    "zyr.link: NAK for \"NP_P1_A 70 4\"", "zyr.link: resend 2 of \"NP_P1_A 70 4\" after 0 ms", "zyr.state: 0 -> 7",
    "zyr.lib: ZyrWeq_GetImageDataEx failed: -95", "zyr.lib: ZyrWeq_Ether232Recv failed: -1", "zyr.settings: write of M0_Volt=72 failed"};

// The rules, and whether they switch the lines on.
class ServiceLog : public ConsoleTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(ServiceLog, WritesTheLinesItsRulesSwitchOn) {
    frmMain& frm = load();
    g_lines.clear();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext& ctx, const QString& msg) {
        if (QByteArray(ctx.category).startsWith("zyr.")) g_lines.push_back(std::string(ctx.category) + ": " + msg.toStdString());
    });
    QLoggingCategory::setFilterRules(GetParam().first);
    scripted::unit().replies = {{"c1", scripted::Reply::Silent}};
    int32_t r = 0;
    lSendCommand(frm, "c1", r, true);
    scripted::unit().frameReplies = {"\x15", "\x06"};  // NAK, then ACK
    lSendCommand(frm, "NP_P1_A 70 4", r, true);
    frm.vSetStat(7);
    frm.vSetStat(7);
    // The transactions above made calls that succeeded and reads that
    // returned counts: none of them is a failure.
    scripted::unit().status = {{"GetImageDataEx", -95}};
    (void)zyr().GetImageDataEx(1);
    char buf[1024];
    scripted::unit().recvFail = -1;
    (void)zyr().Ether232Recv(buf);
    EXPECT_FALSE(booWriteSetting("M0_Volt", "70"));
    EXPECT_TRUE(QFile::setPermissions(QString::fromStdString(sIniPath()), QFile::ReadOwner));
    EXPECT_TRUE(booWriteSetting("M0_Volt", "72"));
    qInstallMessageHandler(nullptr);
    QLoggingCategory::setFilterRules("");
    EXPECT_EQ(g_lines, GetParam().second ? kAllLines : std::vector<std::string>{});
}

// Switched on; and the default, no rules: nothing is written.
INSTANTIATE_TEST_SUITE_P(Rules, ServiceLog, ::testing::Values(std::pair{"zyr.*.debug=true", true}, std::pair{"", false}));

// The staged program alone in a folder: --version answers before the
// toolkit starts (no display platform here) and before the settings are
// read; any other argument is ignored and the start ends on the missing
// settings file; a bad patient key with the archive on ends it before the toolkit.
TEST(StagedProgram, VersionBeforeAnythingElseAndWhyItDidNotStart) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QString(std::getenv("ZYR_STAGE_DIR")) + "/ZYR_PAN_WEQ", dir.filePath("ZYR_PAN_WEQ"))) << "run through ctest";
    for (const auto& [arg, platform, status, out, err] : std::vector<std::tuple<QString, QString, int, QString, QString>>{
             {"--version", "none", 0, "^ZYR_PAN_WEQ \\d+\\.\\d+\\.\\d+\\n$", ""},
             {"--versio", "offscreen", 2, "^$", "ZYR_PAN_WEQ: not started: settings file: required key Volt missing"},
             // With the archive on, a malformed patient key ends the start
             // before the toolkit (which finds no display platform here).
             {"--birth-date=20230229", "none", 2, "^$", "ZYR_PAN_WEQ: not started: --birth-date: no such date"}}) {
        if (arg.startsWith("--birth-date")) {
            QFile ini(dir.filePath("ZYR_PAN_WEQ.ini"));
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly) && ini.write("[DICOM]\r\nEnabled=1\r\n") > 0);
        }
        QProcess p;
        p.setEnvironment({"QT_QPA_PLATFORM=" + platform});
        p.start(dir.filePath("ZYR_PAN_WEQ"), {arg});
        ASSERT_TRUE(p.waitForFinished(30000)) << "the program did not end";
        EXPECT_EQ(p.exitCode(), status);
        EXPECT_TRUE(QRegularExpression(out).match(p.readAllStandardOutput()).hasMatch());
        // Only the program's own lines: the toolkit may warn about the session.
        EXPECT_EQ(QString(p.readAllStandardError()).split('\n').filter(QRegularExpression("^ZYR_PAN_WEQ")).join('\n'), err);
    }
}

// Runs that end without an image or do not start: the line says why.
enum class Ending { Close, NoToQuestion, ReadFailsAfterYes, ReadFailsAtTheEnd };
class EndLine : public ConsoleTest, public ::testing::WithParamInterface<std::pair<Ending, const char*>> {};

TEST_P(EndLine, SaysWhereTheRunEnded) {
    const Ending how = GetParam().first;
    if (how == Ending::Close) {
        connectIdle().cmdClose_Click();
    } else {
        // One image of one, or the first of the four TMJ images.
        vSetKey("DefMode", how == Ending::ReadFailsAtTheEnd ? "0" : "2");
        lBoxAnswer_ = how == Ending::NoToQuestion ? platform::IDNO : platform::IDYES;
        readyStanding();
        scripted::unit().pictBytes = {1, 0};
        scripted::unit().status["GetImageDataEx"] = -95;
        vTicks(120);  // the sensor is asked every 500 ms
        if (how != Ending::ReadFailsAtTheEnd) frm_->cmdClose_Click();
    }
    EXPECT_EQ(sExitLine(1), GetParam().second);  // status 1: no image
}

INSTANTIATE_TEST_SUITE_P(Runs, EndLine, ::testing::Values(std::pair{Ending::Close, "ZYR_PAN_WEQ: no image: closed by the operator"},
                      std::pair{Ending::NoToQuestion, "ZYR_PAN_WEQ: no image: No to the interrupted exposure"},
                      std::pair{Ending::ReadFailsAfterYes, "ZYR_PAN_WEQ: no image: Image Data Reading Error occurred."},
                      std::pair{Ending::ReadFailsAtTheEnd, "ZYR_PAN_WEQ: no image: Image Data Reading Error occurred."}));

TEST(QtTranslations, YesNoButtonsFollowTheStringTable) {
    for (const auto& [lang, buttons] : std::vector<std::pair<int, QStringList>>{{2, {"はい(Y)", "いいえ(N)"}}, {1, {"Yes", "No"}}}) {
        vSetResLanguage(lang);
        ASSERT_TRUE(booInstallQtTranslations()) << "the toolkit's translations are missing: install qt6-translations-l10n";
        QStringList shown;
        QTimer::singleShot(0, [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons()) shown << b->text().remove('&');
            box->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(lMsgYesNo(nullptr, sGetResText(10417)), platform::IDNO);
        EXPECT_EQ(shown, buttons);
    }
}

}  // namespace
