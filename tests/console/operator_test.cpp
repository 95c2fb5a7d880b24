// The operator's actions on the running console: what each press sends to
// the unit and whether it clicks, READY's two runs, Close and the end of
// the window, one polling tick at a time, and a program that does not start.
#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include "app/app_state.h"
#include "console/startup.h"
#include "tests/support/console_fixture.h"

using ::testing::HasSubstr;

namespace {
// What the operator (or the unit) does, one step at a time.
enum tStep { READY, RESET, ARROW, MODE1, CEPH, SIZE1, CLOSE, DEBUG, KEY_J, TICK,
             RECEIVING, NO_MODE, BUSY, TEST_MODE, NO_FILE, SILENT, M1_REPORT };

struct tPressRow {
    const char* sName;
    std::vector<tStep> steps;
    size_t nClicks;                 // click sounds played
    std::vector<std::string> cmds;  // commands sent to the unit
};
void PrintTo(const tPressRow& r, std::ostream* os) { *os << r.sName; }

class PressTest : public ConsoleTest, public ::testing::WithParamInterface<tPressRow> {
protected:
    void vDo(frmMain& f, tStep s) {
        switch (s) {
        case READY: f.cmdStart->click(); break;
        case RESET: f.cmdReset->click(); break;
        case ARROW: f.cmdVoltUpDown[0]->click(); break;
        case MODE1: f.imgMode[1]->click(); break;
        case CEPH: f.imgMode_Click(5); break;
        case SIZE1: f.cmdDefVolt[1]->click(); break;
        case CLOSE: f.cmdClose->click(); break;
        case DEBUG: f.cmdDebug->click(); break;
        case KEY_J:  // Ctrl or Alt alone, then both
            f.keyDown('J', ui::vbCtrlMask);
            f.keyDown('J', ui::vbAltMask);
            f.keyDown('J', ui::vbCtrlMask | ui::vbAltMask);
            break;
        case TICK: f.tmStart_Timer(); break;
        // What the following steps find:
        case RECEIVING: App.g_booInRecv = true; break;
        case NO_MODE: App.g_lDefMode = -1; break;
        case BUSY: f.vSetStat(1); break;  // only Close is in reach
        case TEST_MODE: f.vSetDebugVisible(true); break;
        case NO_FILE: App.g_sClickSound = sFolder() + "/missing.wav"; break;
        case SILENT: scripted::unit().reply = scripted::Reply::Silent; break;
        case M1_REPORT: scripted::vQueueReport("m1"); break;
        }
    }
};

TEST_P(PressTest, SendsAndClicksAsThePressSays) {
    vSetKey("ClickSound", sIniPath());  // any existing file: the player only records it
    frmMain& frm = connectIdle();
    scripted::unit().sends.clear();
    scripted::unit().reports["T1"] = {};
    sounds_.clear();
    for (tStep s : GetParam().steps) vDo(frm, s);
    EXPECT_EQ(sounds_, std::vector<std::string>(GetParam().nClicks, sIniPath()));
    EXPECT_EQ(scripted::commands(), GetParam().cmds);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, PressTest,
    ::testing::Values(tPressRow{"READY's first run only asks where the unit stands", {READY}, 0, {"c1"}},
                      tPressRow{"READY's second run starts the exposure", {READY, TICK}, 1, {"c1", "T1", "NP_P1_C 70 4"}},
                      tPressRow{"READY and RESET while receiving", {RECEIVING, READY, RESET}, 0, {}},
                      tPressRow{"READY with no mode chosen", {NO_MODE, READY}, 0, {}},
                      tPressRow{"RESET", {RESET}, 1, {"r1"}},
                      tPressRow{"controls out of reach", {BUSY, RESET, READY, ARROW, MODE1, SIZE1}, 0, {}},
                      tPressRow{"click sound that is no file", {NO_FILE, RESET}, 0, {"r1"}},
                      tPressRow{"mode picture", {MODE1}, 1, {}},
                      tPressRow{"cephalometric mode not acknowledged", {SILENT, CEPH}, 0, {"m1", "m1", "m1", "m1"}},
                      tPressRow{"cephalometric mode, then the unit's m1 selects mode 0", {CEPH, M1_REPORT, TICK}, 2, {"m1", "T1"}},
                      tPressRow{"size button, then the same again", {SIZE1, SIZE1}, 1, {}},
                      tPressRow{"Close", {CLOSE}, 0, {}},
                      tPressRow{"Test Mode", {TEST_MODE, DEBUG}, 1, {}},
                      tPressRow{"J with Ctrl, Alt, Ctrl+Alt", {KEY_J}, 0, {"t1"}}));

TEST_F(ConsoleTest, ReadyTheUnitDoesNotAcknowledgeClosesTheConsole) {
    frmMain& frm = connectIdle();
    scripted::unit().reply = scripted::Reply::Silent;
    frm.cmdStart->click();
    EXPECT_THAT(boxes_.back().text, HasSubstr("Communication with equipment is unavailable."));
    EXPECT_THAT(boxes_.back().text, HasSubstr("10003"));
    EXPECT_FALSE(frm.isLoaded());
}

// --- Close and the end of the window ---
struct tCloseRow {
    int32_t lPictNo;
    int32_t lAnswer;
    std::vector<std::string> calls;  // library calls from the press on
};

class CloseTest : public ConsoleTest, public ::testing::WithParamInterface<tCloseRow> {};

TEST_P(CloseTest, ClosesReleasingTheUnitAndLeavingOnlyTheImage) {
    const tCloseRow& r = GetParam();
    frmMain& frm = connectIdle();
    const QString sWork = QString::fromStdString(frm.f.m_sWorkPath);
    ASSERT_TRUE(sWork.startsWith(QString::fromStdString(sTempFolder() + "/$")) && QDir(sWork).exists());
    App.g_lPictNo = r.lPictNo;
    lBoxAnswer_ = r.lAnswer;
    scripted::unit().calls.clear();
    frm.cmdClose->click();
    EXPECT_EQ(boxes_.size(), r.lPictNo > 0 ? 2u : 1u);
    EXPECT_EQ(boxes_.back().text, r.lPictNo > 0 ? "Exposure was interrupted.\nDo you generate image?"
                                                : "Confirm power on of the equipment.");
    EXPECT_EQ(scripted::callNames(), r.calls);
    // The image data in the working folder, the bitmap under SaveFileName.
    EXPECT_EQ(scripted::lastCall("SaveBitmap").text,
              r.calls.size() > 2 ? sWork.toStdString() + "/ZYR_PAN_WEQ.DAT|" + sTempFolder() + "/image.bmp" : "");
    EXPECT_FALSE(frm.isLoaded());
    EXPECT_FALSE(frm.tmStart->enabled());
    EXPECT_FALSE(QDir(sWork).exists());
}

INSTANTIATE_TEST_SUITE_P(
    Images, CloseTest,
    ::testing::Values(tCloseRow{0, platform::IDYES, {"ResetAll", "SetDeviceFree"}},
                      tCloseRow{2, platform::IDNO, {"ResetAll", "SetDeviceFree"}},
                      // The image is processed: the library is left alone then.
                      tCloseRow{2, platform::IDYES, {"ResetAll", "GetImageDataEx", "SetDeviceFree", "ImageProcessingEx", "SaveBitmap"}}));

TEST_F(ConsoleTest, WindowThatFailedToLoadLeavesTheLibraryAlone) {
    frmMain& frm = load();
    frm.f.m_BooLoad = 0;
    frm.vUnload();
    EXPECT_TRUE(scripted::unit().calls.empty());
}

// --- one polling tick at a time, on the real timer ---
TEST_F(ConsoleTest, TickThatLetsWindowEventsRunStartsNoSecondTick) {
    frmMain& frm = readyStanding();
    App.g_lPictNo = 1;  // an image was taken when the unit ends the exposure
    scripted::vQueueReport("d0");
    lBoxAnswer_ = platform::IDNO;
    bool booTimerRunning = false;
    size_t nReadsDuringBox = 99;
    onBox = [&] {  // the operator takes a while: the window goes on answering
        booTimerRunning = frm.tmStart->isRunning();
        const size_t n = scripted::unit().inRecvDuringRead.size();
        int iWitnessed = 0;  // a timer of the same pace: timer events did arrive
        QTimer witness;
        QObject::connect(&witness, &QTimer::timeout, [&] { ++iWitnessed; });
        witness.start(1);
        QElapsedTimer t;
        t.start();
        while (iWitnessed < 5 && t.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        nReadsDuringBox = scripted::unit().inRecvDuringRead.size() - n;
        EXPECT_GE(iWitnessed, 5);
    };
    frm.tmStart->setInterval(1);
    QElapsedTimer t;
    t.start();
    while (frm.isLoaded() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(boxes_.back().text, "Exposure was interrupted.\nDo you generate image?");
    EXPECT_TRUE(booTimerRunning);  // the "d0" sent back restarted it
    EXPECT_EQ(nReadsDuringBox, 0u);
    EXPECT_FALSE(frm.isLoaded());
}

// --- a program that does not start ---
TEST_F(ConsoleTest, ProgramThatCannotStartEndsWithItsStatusAndNoWindow) {
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);  // no settings file: silently
    EXPECT_TRUE(boxes_.empty());
    vWriteSettings();
    EXPECT_EQ(iMain(), EXIT_NOT_STARTED);  // no library beside the program
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_THAT(boxes_[0].text, HasSubstr(sFolder() + "/libZyrPan2.so"));
}

}  // namespace
